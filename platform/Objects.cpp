#include "platform/Objects.h"

namespace vk {

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError(Format("Cannot assign a %s to a %s", ClassName().c_str(), dest.ClassName().c_str()));
}

}  // namespace vk

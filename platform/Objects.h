#pragma once
// The object root of the class library: every class has a name, persistent
// objects copy themselves with Assign.

#include <string>

#include "platform/SysUtils.h"

namespace vk {

class TObject {
public:
  virtual ~TObject() = default;
  // The class's name as the system spells it ("TSrcEditStringList").
  virtual std::string ClassName() const { return "TObject"; }
};


class TPersistent : public TObject {
public:
  std::string ClassName() const override { return "TPersistent"; }
  // Copies the source's state; a class that does not know the source raises
  // EConvertError "Cannot assign a %s to a %s".
  virtual void Assign(const TPersistent& source);

protected:
  // Lets the source copy itself into this object when this one does not know it.
  virtual void AssignTo(TPersistent& dest) const;
};

}  // namespace vk

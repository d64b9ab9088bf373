#pragma once
// What ran, in order: a logger's event writes the logger's name into GRan
// whatever runs it. Each case clears GRan first.

#include <string>
#include <vector>

#include "platform/Events.h"

namespace vk::test {

inline std::vector<std::string> GRan;

struct TLogger {
  std::string Name;
  void Run(TObject*) { GRan.push_back(Name); }
  TNotifyEvent Event() { return TNotifyEvent(this, &TLogger::Run); }
};

}  // namespace vk::test

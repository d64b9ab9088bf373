#pragma once
// Points the registry at an empty temporary folder for the scope.

#include <stdlib.h>

#include "tests/platform/TempFolder.h"

namespace vk::test {

class TRegistryScope {
public:
  TRegistryScope() { setenv("VORNKIT_REGISTRY_DIR", FFolder.Path().c_str(), 1); }
  ~TRegistryScope() { unsetenv("VORNKIT_REGISTRY_DIR"); }
  TRegistryScope(const TRegistryScope&) = delete;
  TRegistryScope& operator=(const TRegistryScope&) = delete;
  const TTempFolder& Folder() const { return FFolder; }

private:
  TTempFolder FFolder;
};

}  // namespace vk::test

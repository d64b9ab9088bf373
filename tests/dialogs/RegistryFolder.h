#pragma once
// Points the registry at an empty temporary folder for one test.

#include <stdlib.h>

#include "tests/platform/TempFolder.h"

namespace vk::test {

class TRegistryFolder {
public:
  TRegistryFolder() { setenv("VORNKIT_REGISTRY_DIR", FFolder.Path().c_str(), 1); }
  ~TRegistryFolder() { unsetenv("VORNKIT_REGISTRY_DIR"); }
  TRegistryFolder(const TRegistryFolder&) = delete;
  TRegistryFolder& operator=(const TRegistryFolder&) = delete;

private:
  TTempFolder FFolder;
};

}  // namespace vk::test

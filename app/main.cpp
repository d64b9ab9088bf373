// Vornkit's program entry.
#include <cstdio>

int main() {
  std::puts("Vornkit: the editor control and its Qt window are built and tested (./x test); the IDE's main "
            "window that opens files in it is not built yet, so there is nothing to show. See README.md.");
  return 0;
}

// Vornkit's program entry.
#include <cstdio>

int main() {
  std::puts("Vornkit: the editor and its main window are not built yet; see README.md.");
  return 0;
}

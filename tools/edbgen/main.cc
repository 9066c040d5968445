// edbgen: writes test stores (placeholder until the store builder lands).
#include <cstdio>

int main() {
  std::fprintf(stderr, "edbgen: not built yet\n");
  return 0;
}

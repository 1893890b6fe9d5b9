#include <cstdio>

int main() {
  std::puts("tabulon");
  return 0;
}

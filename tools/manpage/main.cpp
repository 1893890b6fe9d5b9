// Writes the manual page tabulon(1) from the program's usage table, so
// that the page and --help say the same.
#include <cstdio>

#include "app/usage.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: tabulon_manual_page <output file>\n", stderr);
    return 2;
  }
  FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const std::string page = tabulon::app::ManualPage(TABULON_VERSION);
  const bool written = std::fwrite(page.data(), 1, page.size(), out) == page.size();
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}

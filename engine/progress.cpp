#include "engine/progress.h"

#include <utility>

namespace tabulon {
namespace {

// clang-format off
constexpr std::pair<std::uint32_t, std::uint32_t> kKindImages[] = {
    {1, 53}, {2, 52}, {4, 43}, {9, 9}, {129, 9}, {15, 3}, {16, 4}, {69, 4},
    {24, 7}, {111, 7}, {112, 7}, {26, 22}, {28, 79}, {75, 79}, {108, 79},
    {31, 73}, {113, 73}, {32, 2}, {33, 68}, {40, 30}, {51, 71}, {52, 60},
    {54, 80}, {104, 80}, {107, 80}, {61, 49}, {94, 49}, {65, 14}, {85, 14},
    {128, 14}, {68, 75}, {100, 75}, {102, 75}, {71, 26}, {79, 65}, {84, 89},
    {99, 1}, {101, 67}, {106, 76}, {109, 76}, {110, 76}, {114, 74}, {115, 74},
    {123, 84}, {132, 92}, {133, 70}, {134, 94}, {135, 95},
};
// clang-format on

}  // namespace

std::uint32_t ImageForObjectKind(std::uint32_t kind) {
  for (const auto& [k, image] : kKindImages) {
    if (k == kind) return image;
  }
  return 0;
}

int StreamProgress::AddRow(const ProgressRow& row) {
  std::fprintf(out_, "%*s%s\t%s\n", static_cast<int>(row.indent * 2), "", row.name.c_str(),
               row.status.c_str());
  return rows_++;
}

void StreamProgress::AppendToRow(int row, std::string_view text, std::uint32_t /*image*/) {
  std::fprintf(out_, "  [row %d] %.*s\n", row, static_cast<int>(text.size()), text.data());
}

}  // namespace tabulon

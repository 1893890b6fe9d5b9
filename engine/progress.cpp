#include "engine/progress.h"

#include <utility>

namespace tabulon {
namespace {

// Kind codes to images, the window's image list; codes of object types the
// window's tree shows (28, 84, ...) have images of their own.
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

std::uint32_t ImageForProgressKind(ProgressKind kind) {
  const auto code = static_cast<std::uint32_t>(kind);
  for (const auto& [k, image] : kKindImages) {
    if (k == code) return image;
  }
  return 0;
}

}  // namespace tabulon

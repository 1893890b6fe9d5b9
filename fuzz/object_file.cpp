// The object file and include file reader: lines in either encoding, split
// into the nine fields, and the object list tree built from them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/object_file.h"
#include "fuzz/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tabulon::fuzz::MemoryFile file;
  const std::string path = file.Hold(data, size);
  (void)tabulon::ForEachTextLine(
      path, [](std::string_view line) { (void)tabulon::ParseObjectLine(line); });
  std::vector<tabulon::ObjectListItem> items;
  (void)tabulon::ReadObjectList(path, items);
  return 0;
}

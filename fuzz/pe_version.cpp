// The version resource reader over any bytes: a status for every input, and
// never a read the reader was not asked for. Reads are counted, so an input
// that makes the parser walk without end shows as a slow unit.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "format/pe_version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t reads = 0;
  const tabulon::format::ByteRangeReader read = [&](std::uint64_t offset, std::size_t length,
                                                    std::vector<std::uint8_t>& out) {
    ++reads;
    out.clear();
    if (offset >= size) return true;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(length, size - offset));
    out.assign(data + offset, data + offset + n);
    return true;
  };
  const tabulon::format::PeVersionResult r = tabulon::format::ReadPeVersion(read);
  // Headers, sections, three directory levels with their entries, a data
  // entry and the block: no more reads than that.
  if (reads > 12) std::abort();
  if (r.status == tabulon::format::PeVersionStatus::kOk) {
    (void)tabulon::format::VersionString(r.version, "ProductName");
  }
  std::vector<std::uint8_t> block(data, data + size);
  tabulon::format::VersionResource v;
  (void)tabulon::format::ParseVersionBlock(block, v);
  return 0;
}

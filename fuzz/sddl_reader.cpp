// The security descriptor text reader: any text reads or fails with a status
// inside the text, and what reads lays out as bytes that parse back to text
// that reads to the same descriptor.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "format/sddl.h"
#include "format/sddl_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tabulon;  // NOLINT(google-build-using-namespace)
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static const std::optional<platform::Sid> domain = platform::Sid::Parse("S-1-5-21-1-2-3");
  const format::SddlBytes read = format::SddlToBytes(text, domain);
  if (!read.ok()) {
    if (read.position > size) std::abort();
    return 0;
  }
  const format::DescriptorParse parse = format::ParseSecurityDescriptor(read.bytes);
  if (!parse.ok()) std::abort();
  const std::string written = format::SddlText(parse.value);
  const format::SddlBytes again = format::SddlToBytes(written, domain);
  if (!again.ok()) std::abort();
  return 0;
}

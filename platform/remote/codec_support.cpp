#include "platform/remote/codec_support.h"

namespace tabulon::platform::remote {

void WriteEmptyEnumStruct(ndr::NdrWriter& writer, std::uint32_t level) {
  writer.Construct([&writer, level] {
    writer.U32(level);
    writer.U32(level);
    writer.Pointer(true, [&writer] {
      writer.U32(0);  // entries read
      writer.U32(0);  // null buffer
    });
  });
}

}  // namespace tabulon::platform::remote

#include "platform/remote/spoolss_stubs.h"

#include "platform/remote/sample_stubs.h"

namespace tabulon::platform::remote::testing {

// clang-format off
std::vector<std::uint8_t> PrinterEnum2Buffer() {
  return Stub()
      // record at 0: server, printer, share, port, driver, comment, location,
      // device mode, separator, processor, data type, parameters, descriptor
      .U32(168).U32(176).U32(190).U32(0).U32(0).U32(196).U32(0)
      .U32(0).U32(0).U32(0).U32(0).U32(0).U32(0)
      .U32(0x4C).U32(1).U32(0).U32(60).U32(120)    // attributes, priorities, start, until
      .U32(0x81).U32(2).U32(7)                     // status, jobs, pages per minute
      // record at 84: only a printer name and a security descriptor
      .U32(0).U32(122).U32(0).U32(0).U32(0).U32(0).U32(0)
      .U32(0).U32(0).U32(0).U32(0).U32(0).U32(132)
      .U32(0x1048).U32(99).U32(1).U32(0).U32(0)
      .U32(0).U32(0).U32(0)
      // variable data from 168
      .Units(u"\\\\S").Units(u"\\\\S\\lp").Units(u"lp").Units(u"Caf\u00e9")  // 168 176 190 196
      .Units(u"ink").U16(0)                                                 // 206, padding
      // 216: revision 1, control self-relative with a DACL (none given),
      // owner at 20, no group, SACL or DACL; owner S-1-5-32-544
      .Raw({1, 0}).U16(0x8004).U32(20).U32(0).U32(0).U32(0)
      .Raw({1, 2, 0, 0, 0, 0, 0, 5}).U32(32).U32(544)
      .U16(u'A').U16(u'B')                                                  // 252: no NUL
      .bytes();
}

std::vector<std::uint8_t> EnumPrinters2Reply(const std::vector<std::uint8_t>& buffer) {
  return Stub()
      .U32(0x20000).U32(static_cast<std::uint32_t>(buffer.size())).Raw(buffer)
      .U32(256).U32(2)  // bytes needed, records returned
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> EnumPrintersTooSmallReply() {
  return Stub().U32(0).U32(1234).U32(0).U32(122).bytes();
}

std::vector<std::uint8_t> GetPrinter2Reply() {
  const std::vector<std::uint8_t> buffer = Stub()
      .U32(0).U32(84).U32(0).U32(92).U32(0).U32(0).U32(0)  // printer, port
      .U32(0).U32(0).U32(0).U32(104).U32(0).U32(0)         // data type
      .U32(0x48).U32(1).U32(1).U32(0).U32(0).U32(0x400).U32(1).U32(0)
      .Units(u"ink").Units(u"lpt1:").Units(u"RAW")         // 84 92 104
      .bytes();
  return Stub()
      .U32(0x20000).U32(static_cast<std::uint32_t>(buffer.size())).Raw(buffer)
      .U32(static_cast<std::uint32_t>(buffer.size()))
      .U32(0)
      .bytes();
}
// clang-format on

}  // namespace tabulon::platform::remote::testing

#include "platform/remote/sample_stubs.h"

namespace tabulon::platform::remote::testing {

// Hand layout: one line per group of fields.
// clang-format off
std::vector<std::uint8_t> ServerInfo101Reply() {
  return Stub()
      .U32(101).U32(0x20000)                     // level, SERVER_INFO_101 pointer
      .U32(500).U32(0x20004).U32(10).U32(0)      // platform, name, version 10.0
      .U32(0x9003).U32(0x20008)                  // type, comment
      .WString(u"SRV").WString(u"Caf\u00e9")     // deferred name and comment
      .U32(0)                                    // NERR_Success
      .bytes();
}

std::vector<std::uint8_t> ShareEnum502Reply() {
  return Stub()
      .U32(502).U32(502).U32(0x20000)            // level, discriminant, container
      .U32(2).U32(0x20004)                       // EntriesRead, Buffer
      .U32(2)                                    // array conformance
      // data: netname, type, remark, permissions, max uses, current uses,
      // path, password (null), descriptor size, descriptor
      .U32(0x20008).U32(0).U32(0x2000c).U32(0).U32(0xFFFFFFFF).U32(1)
      .U32(0x20010).U32(0).U32(4).U32(0x20014)
      // IPC$: no remark, path or descriptor
      .U32(0x20018).U32(0x80000003).U32(0).U32(0).U32(0xFFFFFFFF).U32(0)
      .U32(0).U32(0).U32(0).U32(0)
      // deferred: data's netname, remark, path, descriptor, then IPC$'s name
      .WString(u"data").WString(u"Data files").WString(u"C:\\data")
      .U32(4).Raw({1, 2, 3, 4})
      .WString(u"IPC$")
      .U32(5).U32(0x2001c).U32(2)                // total entries, resume handle 2
      .U32(234)                                  // ERROR_MORE_DATA
      .bytes();
}

std::vector<std::uint8_t> ShareEnum1EmptyReply() {
  return Stub()
      .U32(1).U32(1).U32(0x20000)  // level, discriminant, container
      .U32(0).U32(0)               // no entries, null buffer
      .U32(0).U32(0)               // total entries, null resume handle
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> ShareGetInfo0Reply() {
  return Stub().U32(0).U32(0x20000).U32(0x20004).WString(u"data").U32(0).bytes();
}

std::vector<std::uint8_t> ConnectionEnum1Reply() {
  return Stub()
      .U32(1).U32(1).U32(0x20000).U32(1).U32(0x20004).U32(1)
      .U32(7).U32(0).U32(2).U32(1).U32(60).U32(0x20008).U32(0x2000c)  // id .. time, user, net
      .WString(u"alice").WString(u"PC1")
      .U32(1).U32(0x20010).U32(0).U32(0)
      .bytes();
}

std::vector<std::uint8_t> SessionEnum502Reply() {
  return Stub()
      .U32(502).U32(502).U32(0x20000).U32(1).U32(0x20004).U32(1)
      .U32(0x20008).U32(0x2000c).U32(3).U32(100).U32(5).U32(1)  // client, user, counts, flags
      .U32(0x20010).U32(0)                                      // client type, no transport
      .WString(u"\\\\PC1").WString(u"bob").WString(u"Samba")
      .U32(1).U32(0x20014).U32(0).U32(0)
      .bytes();
}

std::vector<std::uint8_t> FileEnum3Reply() {
  return Stub()
      .U32(3).U32(3).U32(0x20000).U32(1).U32(0x20004).U32(1)
      .U32(42).U32(3).U32(0).U32(0x20008).U32(0x2000c)  // id, permissions, locks, path, user
      .WString(u"C:\\data\\a.txt").WString(u"bob")
      .U32(1).U32(0x20010).U32(0).U32(0)
      .bytes();
}

std::vector<std::uint8_t> DiskEnum0Reply() {
  return Stub()
      .U32(3).U32(0x20000)                // EntriesRead (with the empty last), Buffer
      .U32(3).U32(0).U32(3)               // maximum, offset, actual count
      .U32(0).U32(3).Units(u"C:")         // each DISK_INFO: offset, count, "X:\0"
      .U32(0).U32(3).Units(u"D:")
      .U32(0).U32(1).Units(u"")
      .U32(3).U32(0x20004).U32(0).U32(0)  // total, resume, status
      .bytes();
}

std::vector<std::uint8_t> TransportEnum0Reply() {
  return Stub()
      .U32(0).U32(0).U32(0x20000).U32(1).U32(0x20004).U32(1)
      .U32(0).U32(1).U32(0x20008).U32(0x2000c).U32(0)  // QoS, VCs, name, address, WAN
      .WString(u"\\Device\\NetbiosSmb").WString(u"000000000000")
      .U32(1).U32(0x20010).U32(0).U32(0)
      .bytes();
}

std::vector<std::uint8_t> OpenReply() {
  return Stub()
      .Raw({0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16})
      .U32(0)
      .bytes();
}

std::vector<std::uint8_t> EnumServicesMoreDataReply() {
  // Two ENUM_SERVICE_STATUSW (36 bytes each) with their strings after them,
  // offsets from the start of the buffer; 4 bytes to spare at the end.
  const std::vector<std::uint8_t> buffer = Stub()
      .U32(72).U32(76).U32(0x10).U32(4).U32(1).U32(0).U32(0).U32(0).U32(0)
      .U32(88).U32(92).U32(0x20).U32(1).U32(0).U32(1077).U32(0).U32(0).U32(0)
      .Units(u"a").Units(u"Alpha").Units(u"b").Units(u"B")
      .U32(0)
      .bytes();
  return Stub()
      .U32(static_cast<std::uint32_t>(buffer.size())).Raw(buffer)
      .U32(500).U32(2)       // bytes needed, services returned
      .U32(0x20000).U32(2)   // resume index
      .U32(234)
      .bytes();
}

std::vector<std::uint8_t> ServiceConfigReply() {
  return Stub()
      .U32(0x10).U32(2).U32(1)                 // type, start, error control
      .U32(0x20000).U32(0x20004).U32(0)        // binary, group, tag
      .U32(0x20008).U32(0x2000c).U32(0x20010)  // dependencies, account, display
      .WString(u"C:\\svc.exe").WString(u"").WString(std::u16string(u"Tcpip/+Group\0Afd", 16))
      .WString(u"LocalSystem").WString(u"Service")
      .U32(0).U32(0)                           // bytes needed, status
      .bytes();
}

std::vector<std::uint8_t> ServiceConfigTooSmallReply() {
  return Stub()
      .U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0)  // null strings
      .U32(366).U32(122)  // bytes needed, ERROR_INSUFFICIENT_BUFFER
      .bytes();
}

std::vector<std::uint8_t> CloseReply() {
  return Stub().Raw(std::vector<std::uint8_t>(20, 0)).U32(0).bytes();
}
// clang-format on

}  // namespace tabulon::platform::remote::testing

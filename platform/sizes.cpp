#include "platform/sizes.h"

#include "platform/text.h"

namespace tabulon::platform {

std::uint32_t Utf16Units(std::string_view utf8) {
  // Plain ASCII, by far the usual case, is one unit a byte.
  bool ascii = true;
  for (char c : utf8) ascii &= static_cast<unsigned char>(c) < 0x80;
  if (ascii) return static_cast<std::uint32_t>(utf8.size());
  std::uint32_t units = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    units += text::NextCodePoint(utf8, pos) >= 0x10000 ? 2 : 1;
  }
  return units;
}

std::uint32_t WideStringBytes(std::string_view utf8) {
  return 2 * (Utf16Units(utf8) + 1);
}

std::uint32_t EnumServiceStatusBytes(const EnumServiceStatus& status) {
  return 36 + WideStringBytes(status.service_name) + WideStringBytes(status.display_name);
}

std::uint32_t ServiceConfigBytes(const ServiceConfig& config) {
  std::uint32_t dependencies = 2;  // the closing NUL of the list
  for (const auto& name : config.dependencies) dependencies += WideStringBytes(name);
  return 36 + WideStringBytes(config.binary_path_name) + WideStringBytes(config.load_order_group) +
         dependencies + WideStringBytes(config.service_start_name) +
         WideStringBytes(config.display_name);
}

std::uint32_t ServerInfo101Bytes(const ServerInfo101& info) {
  return 24 + WideStringBytes(info.name) + WideStringBytes(info.comment);
}

std::uint32_t DisplayMachineBytes(const DisplayMachine& machine) {
  return 20 + WideStringBytes(machine.name) + WideStringBytes(machine.comment);
}

std::uint32_t ShareInfoBytes(const ShareInfo& share, std::uint32_t level) {
  const std::uint32_t common = WideStringBytes(share.netname) + WideStringBytes(share.remark);
  if (level == 1) return 12 + common;
  return 40 + common + WideStringBytes(share.path) +
         static_cast<std::uint32_t>(share.security_descriptor.size());
}

std::uint32_t ConnectionInfo1Bytes(const ConnectionInfo1& connection) {
  return 28 + WideStringBytes(connection.username) + WideStringBytes(connection.netname);
}

std::uint32_t SessionInfoBytes(const SessionInfo& session, std::uint32_t level) {
  const std::uint32_t common = WideStringBytes(session.cname) + WideStringBytes(session.username);
  if (level == 1) return 24 + common;
  return 32 + common + WideStringBytes(session.cltype_name) + WideStringBytes(session.transport);
}

std::uint32_t FileInfo3Bytes(const FileInfo3& file) {
  return 20 + WideStringBytes(file.pathname) + WideStringBytes(file.username);
}

std::uint32_t WkstaTransportInfo0Bytes(const WkstaTransportInfo0& transport) {
  return 20 + WideStringBytes(transport.transport_name) +
         WideStringBytes(transport.transport_address);
}

std::uint32_t PrinterInfo2Bytes(const PrinterInfo2& info) {
  constexpr std::uint32_t kFixedBytes = 84;
  std::uint32_t bytes = kFixedBytes;
  for (const std::string* s :
       {&info.server_name, &info.printer_name, &info.share_name, &info.port_name, &info.driver_name,
        &info.comment, &info.location, &info.sep_file, &info.print_processor, &info.datatype,
        &info.parameters}) {
    bytes += WideStringBytes(*s);
  }
  return bytes;
}

}  // namespace tabulon::platform

#pragma once
// Buffer sizes as a 32-bit Windows process counts them: the fixed structure
// plus each string in UTF-16 with its terminator. Calls that answer
// ERROR_MORE_DATA or ERROR_INSUFFICIENT_BUFFER report these, whichever
// backend answers them.
#include <cstdint>
#include <string_view>

#include "platform/netapi.h"
#include "platform/printing.h"
#include "platform/service_control.h"

namespace tabulon::platform {

std::uint32_t Utf16Units(std::string_view utf8);
// Bytes of a UTF-16 string with its terminator.
std::uint32_t WideStringBytes(std::string_view utf8);

// ENUM_SERVICE_STATUSW: 36 bytes, service name, display name.
std::uint32_t EnumServiceStatusBytes(const EnumServiceStatus& status);
// QUERY_SERVICE_CONFIGW: 36 bytes, binary path, load order group, the
// double-NUL dependency list, start name, display name.
std::uint32_t ServiceConfigBytes(const ServiceConfig& config);
// SERVER_INFO_101: 24 bytes, name, comment.
std::uint32_t ServerInfo101Bytes(const ServerInfo101& info);
// NET_DISPLAY_MACHINE: 20 bytes, name, comment.
std::uint32_t DisplayMachineBytes(const DisplayMachine& machine);
// SHARE_INFO_1 (12 bytes, name, remark) or SHARE_INFO_502 (40 bytes, name,
// remark, path, security descriptor).
std::uint32_t ShareInfoBytes(const ShareInfo& share, std::uint32_t level);
// CONNECTION_INFO_1: 28 bytes, user name, net name.
std::uint32_t ConnectionInfo1Bytes(const ConnectionInfo1& connection);
// SESSION_INFO_1 (24 bytes, client, user) or SESSION_INFO_502 (32 bytes,
// client, user, client type, transport).
std::uint32_t SessionInfoBytes(const SessionInfo& session, std::uint32_t level);
// FILE_INFO_3: 20 bytes, path, user name.
std::uint32_t FileInfo3Bytes(const FileInfo3& file);
// WKSTA_TRANSPORT_INFO_0: 20 bytes, transport name, address.
std::uint32_t WkstaTransportInfo0Bytes(const WkstaTransportInfo0& transport);
// PRINTER_INFO_2W: 84 bytes and the eleven strings; the device mode and the
// security descriptor are not counted.
std::uint32_t PrinterInfo2Bytes(const PrinterInfo2& info);

}  // namespace tabulon::platform

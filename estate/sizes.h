#pragma once
// Buffer sizes as a 32-bit Windows process counts them: the fixed structure
// plus each string in UTF-16 with its terminator. Sizing calls report these.
#include <cstdint>
#include <string_view>

#include "estate/estate.h"
#include "platform/netapi.h"

namespace tabulon::estate {

std::uint32_t Utf16Units(std::string_view utf8);
// Bytes of a UTF-16 string with its terminator.
std::uint32_t WideStringBytes(std::string_view utf8);

// ENUM_SERVICE_STATUSW: 36 bytes, service name, display name.
std::uint32_t EnumServiceStatusBytes(const Service& service);
// QUERY_SERVICE_CONFIGW: 36 bytes, binary path, load order group, the
// double-NUL dependency list, start name, display name.
std::uint32_t ServiceConfigBytes(const Service& service);
// SERVER_INFO_101: 24 bytes, name, comment.
std::uint32_t ServerInfo101Bytes(const platform::ServerInfo101& info);
// NET_DISPLAY_MACHINE: 20 bytes, name, comment.
std::uint32_t DisplayMachineBytes(const ComputerAccount& account);

}  // namespace tabulon::estate

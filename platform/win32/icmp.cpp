#include "platform/win32/icmp.h"

// Winsock 2 before <windows.h>, which may bring the older <winsock.h>.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

// The echo functions use the IP types that <iphlpapi.h> brings.
#include <iphlpapi.h>

#include <icmpapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/wide.h"

// <windows.h> defines the ERROR_* and WSA* names as macros with the numbers
// that platform/status.h gives them, so the statuses below are written bare.
namespace tabulon::platform {
namespace {

constexpr char kDataByte = 'E';
constexpr std::size_t kMaxDataSize = 1024;

EchoResult Fail(win::Status status) {
  return {false, status};
}

// Owns an echo handle, which has a close function of its own.
class EchoHandle {
 public:
  EchoHandle() : handle_(::IcmpCreateFile()) {}
  EchoHandle(const EchoHandle&) = delete;
  EchoHandle& operator=(const EchoHandle&) = delete;
  ~EchoHandle() {
    if (valid()) ::IcmpCloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// Name lookups need the sockets started; the count is per process and kept
// by Winsock, so each lookup starts and ends its own use.
class Winsock {
 public:
  Winsock() {
    WSADATA data{};
    started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  Winsock(const Winsock&) = delete;
  Winsock& operator=(const Winsock&) = delete;
  ~Winsock() {
    if (started_) ::WSACleanup();
  }
  bool started() const { return started_; }

 private:
  bool started_ = false;
};

// The IPv4 address of a host in network byte order. GetAddrInfoW reads a
// dotted address itself, short forms ("127.1") included, as inet_addr does.
std::optional<ULONG> ResolveIpv4(std::string_view host) {
  if (host.empty() || host.find('\0') != std::string_view::npos) return std::nullopt;
  const Winsock sockets;
  if (!sockets.started()) return std::nullopt;
  ADDRINFOW hints{};
  hints.ai_family = AF_INET;
  ADDRINFOW* found = nullptr;
  if (::GetAddrInfoW(win32::ToWide(host).c_str(), nullptr, &hints, &found) != 0 ||
      found == nullptr) {
    return std::nullopt;
  }
  std::optional<ULONG> address;
  if (found->ai_addrlen >= sizeof(sockaddr_in)) {
    sockaddr_in first{};
    std::memcpy(&first, found->ai_addr, sizeof first);
    address = first.sin_addr.s_addr;
  }
  ::FreeAddrInfoW(found);
  return address;
}

// Why the call returned no reply, in the statuses the socket backend gives.
win::Status NoReplyStatus(DWORD error) {
  switch (error) {
    case IP_REQ_TIMED_OUT:
      return WSAETIMEDOUT;
    // No route from here: the send itself failed.
    case IP_DEST_NET_UNREACHABLE:
    case IP_DEST_HOST_UNREACHABLE:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_HOST_UNREACHABLE:
      return WSAEHOSTUNREACH;
    case IP_NO_RESOURCES:
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_NO_SYSTEM_RESOURCES:
      return ERROR_NOT_ENOUGH_MEMORY;
    case ERROR_ACCESS_DENIED:
      return ERROR_ACCESS_DENIED;
    case IP_BAD_OPTION:
    case ERROR_INVALID_PARAMETER:
      return ERROR_INVALID_PARAMETER;
    default:
      return ERROR_UNEXP_NET_ERR;
  }
}

// One echo of `data`. `check_data`: the reply must carry only 'E' bytes.
EchoResult Echo(const EchoRequest& request, const std::vector<char>& data, bool check_data) {
  const auto address = ResolveIpv4(request.host);
  if (!address) return Fail(WSAHOST_NOT_FOUND);
  const EchoHandle echo;
  if (!echo.valid()) {
    const DWORD error = ::GetLastError();
    return Fail(error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_NO_SYSTEM_RESOURCES
                    ? ERROR_NOT_ENOUGH_MEMORY
                    : ERROR_ACCESS_DENIED);
  }
  // Checked where the socket backend checks it, after the lookup and the
  // handle: time-to-live values 1 to 255 only.
  if (request.ttl == 0 || request.ttl > 255) return Fail(ERROR_INVALID_PARAMETER);
  IP_OPTION_INFORMATION options{};
  options.Ttl = static_cast<UCHAR>(request.ttl);
  options.Tos = 0;
  // Room for one reply, the echoed data, an ICMP error's 8 bytes and the
  // IO_STATUS_BLOCK the call keeps at the end; whole replies keep it aligned.
  const std::size_t bytes = sizeof(ICMP_ECHO_REPLY) + data.size() + 8 + 16;
  std::vector<ICMP_ECHO_REPLY> replies((bytes + sizeof(ICMP_ECHO_REPLY) - 1) /
                                       sizeof(ICMP_ECHO_REPLY));
  const DWORD count = ::IcmpSendEcho2(
      echo.get(), nullptr, nullptr, nullptr, *address, const_cast<char*>(data.data()),
      static_cast<WORD>(data.size()), &options, replies.data(),
      static_cast<DWORD>(replies.size() * sizeof(ICMP_ECHO_REPLY)), request.timeout_ms);
  if (count == 0) return Fail(NoReplyStatus(::GetLastError()));
  const ICMP_ECHO_REPLY& reply = replies[0];
  if (reply.Status == IP_REQ_TIMED_OUT) return Fail(WSAETIMEDOUT);
  // An answer that is not our echo reply: unreachable, time exceeded ...
  if (reply.Status != IP_SUCCESS) return Fail(ERROR_UNEXP_NET_ERR);
  if (check_data) {
    const auto* begin = static_cast<const char*>(reply.Data);
    if (reply.DataSize != 0 && begin == nullptr) return Fail(ERROR_UNEXP_NET_ERR);
    const bool all_e =
        std::all_of(begin, begin + reply.DataSize, [](char b) { return b == kDataByte; });
    if (!all_e) return Fail(ERROR_UNEXP_NET_ERR);
  }
  return {true, ERROR_SUCCESS};
}

std::size_t DataSize(const EchoRequest& request) {
  return std::min<std::size_t>(request.data_size, kMaxDataSize);
}

}  // namespace

EchoResult Win32Icmp::SystemEcho(const EchoRequest& request) {
  return Echo(request, std::vector<char>(DataSize(request), kDataByte), true);
}

EchoResult Win32Icmp::RawEcho(const EchoRequest& request) {
  const std::uint32_t tick = clock_.TickCount();
  std::vector<char> data(4 + DataSize(request), kDataByte);
  for (int i = 0; i < 4; ++i) {
    data[static_cast<std::size_t>(i)] = static_cast<char>((tick >> (24 - 8 * i)) & 0xFF);
  }
  return Echo(request, data, false);
}

}  // namespace tabulon::platform

#include "platform/posix/icmp_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace tabulon::platform {
namespace {

constexpr std::uint16_t kSequence = 0;

// Owns one descriptor so that every return path closes it.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    // Linux releases the descriptor even when close reports EINTR.
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

EchoResult Fail(win::Status status) {
  return {false, status};
}

win::Status OpenFailureStatus(int error) {
  switch (error) {
    case EMFILE:
    case ENFILE:
    case ENOBUFS:
    case ENOMEM:
      return win::ERROR_NOT_ENOUGH_MEMORY;
    default:
      return win::ERROR_ACCESS_DENIED;
  }
}

win::Status SendFailureStatus(int error) {
  switch (error) {
    case ENETUNREACH:
    case EHOSTUNREACH:
      return win::WSAEHOSTUNREACH;
    case EACCES:
    case EPERM:
      return win::ERROR_ACCESS_DENIED;
    case ENOBUFS:
    case ENOMEM:
      return win::ERROR_NOT_ENOUGH_MEMORY;
    default:
      return win::ERROR_UNEXP_NET_ERR;
  }
}

// Errors of socket() that mean datagram ICMP sockets are not available to
// this process, as opposed to a lack of resources.
bool DatagramSocketRefused(int error) {
  return error == EACCES || error == EPERM || error == EPROTONOSUPPORT ||
         error == ESOCKTNOSUPPORT || error == EAFNOSUPPORT;
}

bool IsReservedInvalidName(std::string_view host) {
  if (!host.empty() && host.back() == '.') host.remove_suffix(1);
  constexpr std::string_view kTld = "invalid";
  if (host.size() < kTld.size()) return false;
  const auto tail = host.substr(host.size() - kTld.size());
  const bool match = std::equal(tail.begin(), tail.end(), kTld.begin(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
  });
  return match && (host.size() == kTld.size() || host[host.size() - kTld.size() - 1] == '.');
}

std::uint16_t ProcessId16() {
  return static_cast<std::uint16_t>(::getpid() & 0xFFFF);
}

std::size_t DataSize(const EchoRequest& request) {
  return std::min<std::size_t>(request.data_size, icmp::kMaxDataSize);
}

enum class WaitResult { kReady, kTimedOut, kError };

WaitResult WaitReadable(int fd, std::uint32_t timeout_ms) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  pollfd entry{fd, POLLIN, 0};
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    const int wait_ms = static_cast<int>(std::clamp<long long>(left.count(), 0, INT_MAX));
    const int ready = ::poll(&entry, 1, wait_ms);
    if (ready > 0) return WaitResult::kReady;
    if (ready < 0 && errno != EINTR) return WaitResult::kError;
    // A signal, or a timeout longer than poll can take, leaves time to wait.
    if (ready == 0 && Clock::now() >= deadline) return WaitResult::kTimedOut;
  }
}

std::optional<win::Status> Configure(int fd, std::uint32_t ttl) {
  // Linux takes time-to-live values 1 to 255 only.
  if (ttl == 0 || ttl > 255) return win::ERROR_INVALID_PARAMETER;
  const int ttl_value = static_cast<int>(ttl);
  const int tos_value = 0;
  if (::setsockopt(fd, IPPROTO_IP, IP_TTL, &ttl_value, sizeof ttl_value) != 0 ||
      ::setsockopt(fd, IPPROTO_IP, IP_TOS, &tos_value, sizeof tos_value) != 0) {
    return win::ERROR_INVALID_PARAMETER;
  }
  return std::nullopt;
}

std::optional<win::Status> Send(int fd, std::uint32_t address,
                                const std::vector<std::uint8_t>& packet) {
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_addr.s_addr = address;
  ssize_t sent = 0;
  do {
    sent = ::sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&target),
                    sizeof target);
  } while (sent < 0 && errno == EINTR);
  if (sent < 0) return SendFailureStatus(errno);
  if (static_cast<std::size_t>(sent) != packet.size()) return win::ERROR_UNEXP_NET_ERR;
  return std::nullopt;
}

EchoResult Exchange(int fd, std::uint32_t address, const EchoRequest& request,
                    const std::vector<std::uint8_t>& packet, const icmp::Classifier& classify) {
  if (auto failure = Configure(fd, request.ttl)) return Fail(*failure);
  if (auto failure = Send(fd, address, packet)) return Fail(*failure);
  return icmp::AwaitReply(fd, request.timeout_ms, classify);
}

}  // namespace

namespace icmp {

std::optional<std::uint32_t> ResolveIpv4(std::string_view host) {
  const std::string name(host);
  if (name.empty() || name.find('\0') != std::string::npos) return std::nullopt;
  in_addr dotted{};
  // inet_aton takes the same short forms ("127.1") as inet_addr.
  if (::inet_aton(name.c_str(), &dotted) != 0) return dotted.s_addr;
  // Such names never exist (RFC 6761); answering here spares a DNS query.
  if (IsReservedInvalidName(host)) return std::nullopt;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* found = nullptr;
  if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
    return std::nullopt;
  }
  sockaddr_in first{};
  const bool usable = found->ai_addrlen >= sizeof first;
  if (usable) std::memcpy(&first, found->ai_addr, sizeof first);
  ::freeaddrinfo(found);
  if (!usable) return std::nullopt;
  return first.sin_addr.s_addr;
}

EchoResult AwaitReply(int fd, std::uint32_t timeout_ms, const Classifier& classify) {
  std::array<std::uint8_t, kReceiveBufferSize> buffer{};
  for (;;) {
    switch (WaitReadable(fd, timeout_ms)) {
      case WaitResult::kTimedOut:
        return Fail(win::WSAETIMEDOUT);
      case WaitResult::kError:
        return Fail(win::ERROR_UNEXP_NET_ERR);
      case WaitResult::kReady:
        break;
    }
    ssize_t received = 0;
    do {
      received = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
    } while (received < 0 && errno == EINTR);
    if (received < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return Fail(win::ERROR_UNEXP_NET_ERR);
    }
    const std::span<const std::uint8_t> packet(buffer.data(), static_cast<std::size_t>(received));
    switch (classify(packet)) {
      case ReplyVerdict::kIgnore:
        continue;
      case ReplyVerdict::kSuccess:
        return {true, win::ERROR_SUCCESS};
      case ReplyVerdict::kFailure:
        return Fail(win::ERROR_UNEXP_NET_ERR);
    }
  }
}

}  // namespace icmp

EchoResult SocketIcmp::RawEcho(const EchoRequest& request) {
  const auto address = icmp::ResolveIpv4(request.host);
  if (!address) return Fail(win::WSAHOST_NOT_FOUND);
  const Fd fd(::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP));
  if (!fd.valid()) return Fail(OpenFailureStatus(errno));
  const std::uint16_t id = ProcessId16();
  const auto packet =
      icmp::BuildRawEchoRequest(id, kSequence, clock_.TickCount(), DataSize(request));
  return Exchange(fd.get(), *address, request, packet,
                  [id](auto received) { return icmp::ClassifyRawReply(received, id, kSequence); });
}

EchoResult SocketIcmp::SystemEcho(const EchoRequest& request) {
  const auto address = icmp::ResolveIpv4(request.host);
  if (!address) return Fail(win::WSAHOST_NOT_FOUND);
  const Fd datagram(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP));
  if (datagram.valid()) {
    // The kernel sets the identifier and hands back only replies that carry
    // it, without their IPv4 header.
    const auto packet = icmp::BuildSystemEchoRequest(0, kSequence, DataSize(request));
    return Exchange(datagram.get(), *address, request, packet, [](auto received) {
      return icmp::ClassifySystemReply(received, std::nullopt, kSequence);
    });
  }
  if (!DatagramSocketRefused(errno)) return Fail(OpenFailureStatus(errno));
  // The group is outside net.ipv4.ping_group_range, or the kernel has no
  // datagram ICMP sockets: make the same exchange over a raw socket, which
  // needs CAP_NET_RAW instead.
  const Fd raw(::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP));
  if (!raw.valid()) return Fail(OpenFailureStatus(errno));
  const std::uint16_t id = ProcessId16();
  const auto packet = icmp::BuildSystemEchoRequest(id, kSequence, DataSize(request));
  return Exchange(raw.get(), *address, request, packet, [id](auto received) {
    return icmp::ClassifySystemReply(icmp::StripIpv4Header(received), id, kSequence);
  });
}

}  // namespace tabulon::platform

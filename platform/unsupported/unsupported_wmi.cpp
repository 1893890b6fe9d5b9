#include "platform/unsupported/unsupported_wmi.h"

#include "platform/unsupported/refused.h"

namespace tabulon::unsupported {
namespace {

// The one object this family hands out.
constexpr platform::WmiObject kLocator = 1;

}  // namespace

platform::WmiObjectResult UnsupportedWmi::CreateLocator() {
  return {win::ERROR_SUCCESS, kLocator};
}

platform::WmiObjectResult UnsupportedWmi::ConnectServer(platform::WmiObject locator,
                                                        std::string_view) {
  return Refused<platform::WmiObjectResult>(locator == kLocator ? win::E_RPC_SERVER_UNAVAILABLE
                                                                : win::E_INVALIDARG);
}

// Nothing below can be reached without a connection.
win::Status UnsupportedWmi::SetProxyBlanket(platform::WmiObject) {
  return win::E_INVALIDARG;
}

platform::WmiObjectResult UnsupportedWmi::ExecQuery(platform::WmiObject, std::string_view,
                                                    std::string_view, std::uint32_t) {
  return Refused<platform::WmiObjectResult>(win::E_INVALIDARG);
}

platform::WmiNextResult UnsupportedWmi::Next(platform::WmiObject, std::uint32_t) {
  return Refused<platform::WmiNextResult>(win::E_INVALIDARG);
}

}  // namespace tabulon::unsupported

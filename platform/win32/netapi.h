#pragma once
// Network management (platform/netapi.h) on NetAPI32 itself: each call one
// page, the caller's level, preferred length and resume handle passed
// straight to the API, which pages itself.
#include "platform/bounded_calls.h"
#include "platform/netapi.h"

namespace tabulon::platform::win32 {

class Win32NetworkManagement final : public NetworkManagement {
 public:
  // `calls` runs every call; it must outlive this object.
  explicit Win32NetworkManagement(BoundedCalls& calls) : calls_(calls) {}

  ServerInfoResult NetServerGetInfo101(std::string_view server) override;
  ShareEnumResult NetShareEnum(std::string_view server, std::uint32_t level,
                               std::uint32_t preferred_max_length,
                               std::uint32_t resume_handle) override;
  ShareGetInfoResult NetShareGetInfo0(std::string_view server, std::string_view netname) override;
  ConnectionEnumResult NetConnectionEnum1(std::string_view server, std::string_view qualifier,
                                          std::uint32_t preferred_max_length,
                                          std::uint32_t resume_handle) override;
  SessionEnumResult NetSessionEnum(std::string_view server, std::string_view client_name,
                                   std::string_view user_name, std::uint32_t level,
                                   std::uint32_t preferred_max_length,
                                   std::uint32_t resume_handle) override;
  FileEnumResult NetFileEnum3(std::string_view server, std::string_view base_path,
                              std::string_view user_name, std::uint32_t preferred_max_length,
                              std::uint32_t resume_handle) override;
  ServerDiskEnumResult NetServerDiskEnum0(std::string_view server,
                                          std::uint32_t preferred_max_length) override;
  WkstaTransportEnumResult NetWkstaTransportEnum0(std::string_view server,
                                                  std::uint32_t preferred_max_length,
                                                  std::uint32_t resume_handle) override;
  ServerEnumResult NetServerEnum101(std::string_view domain, std::uint32_t server_type,
                                    std::uint32_t preferred_max_length,
                                    std::uint32_t resume_handle) override;
  DisplayMachinesResult NetQueryDisplayMachines(std::string_view server, std::uint32_t index,
                                                std::uint32_t entries_requested,
                                                std::uint32_t preferred_max_length) override;
  DcNameResult NetGetDCName(std::string_view server, std::string_view domain) override;

 private:
  BoundedCalls& calls_;
};

}  // namespace tabulon::platform::win32

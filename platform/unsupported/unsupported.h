#pragma once
// The families this system cannot serve on the computer it runs on yet.
// Every call fails with ERROR_NOT_SUPPORTED, so exporters report a failure
// instead of exporting nothing as if it had worked.
#include "platform/directory.h"
#include "platform/file_system.h"
#include "platform/netapi.h"
#include "platform/printing.h"
#include "platform/registry.h"
#include "platform/security.h"
#include "platform/service_control.h"
#include "platform/terminal_services.h"

namespace tabulon::unsupported {

class UnsupportedNetworkManagement final : public platform::NetworkManagement {
 public:
  platform::ServerInfoResult NetServerGetInfo101(std::string_view server) override;
  platform::ServerEnumResult NetServerEnum101(std::string_view domain, std::uint32_t server_type,
                                              std::uint32_t preferred_max_length,
                                              std::uint32_t resume_handle) override;
  platform::DisplayMachinesResult NetQueryDisplayMachines(
      std::string_view server, std::uint32_t index, std::uint32_t entries_requested,
      std::uint32_t preferred_max_length) override;
  platform::DcNameResult NetGetDCName(std::string_view server, std::string_view domain) override;
  platform::ShareEnumResult NetShareEnum(std::string_view server, std::uint32_t level,
                                         std::uint32_t preferred_max_length,
                                         std::uint32_t resume_handle) override;
  platform::ShareGetInfoResult NetShareGetInfo0(std::string_view server,
                                                std::string_view netname) override;
  platform::ConnectionEnumResult NetConnectionEnum1(std::string_view server,
                                                    std::string_view qualifier,
                                                    std::uint32_t preferred_max_length,
                                                    std::uint32_t resume_handle) override;
  platform::SessionEnumResult NetSessionEnum(std::string_view server, std::string_view client_name,
                                             std::string_view user_name, std::uint32_t level,
                                             std::uint32_t preferred_max_length,
                                             std::uint32_t resume_handle) override;
  platform::FileEnumResult NetFileEnum3(std::string_view server, std::string_view base_path,
                                        std::string_view user_name,
                                        std::uint32_t preferred_max_length,
                                        std::uint32_t resume_handle) override;
  platform::ServerDiskEnumResult NetServerDiskEnum0(std::string_view server,
                                                    std::uint32_t preferred_max_length) override;
  platform::WkstaTransportEnumResult NetWkstaTransportEnum0(std::string_view server,
                                                            std::uint32_t preferred_max_length,
                                                            std::uint32_t resume_handle) override;
};

// For a build whose local paths no real backend serves.
class UnsupportedFileSystem final : public platform::FileSystem {
 public:
  platform::DiskFreeSpaceResult GetDiskFreeSpaceEx(std::string_view directory) override;
  platform::VolumeInformationResult GetVolumeInformation(
      std::string_view root_path, std::uint32_t volume_name_size,
      std::uint32_t file_system_name_size) override;
};

class UnsupportedServiceControl final : public platform::ServiceControl {
 public:
  platform::ServiceHandleResult OpenSCManager(std::string_view machine,
                                              std::uint32_t access) override;
  platform::EnumServicesResult EnumServicesStatus(platform::ServiceHandle manager,
                                                  std::uint32_t service_type,
                                                  std::uint32_t service_state,
                                                  std::uint32_t buffer_size,
                                                  std::uint32_t resume_handle) override;
  platform::ServiceHandleResult OpenService(platform::ServiceHandle manager,
                                            std::string_view service_name,
                                            std::uint32_t access) override;
  platform::ServiceConfigResult QueryServiceConfig(platform::ServiceHandle service,
                                                   std::uint32_t buffer_size) override;
  // No handle is ever handed out, so there is none to close.
  bool CloseServiceHandle(platform::ServiceHandle handle) override;
};

class UnsupportedDirectoryService final : public platform::DirectoryService {
 public:
  platform::DcInfoResult DsGetDcName(std::string_view domain, std::uint32_t flags) override;
};

class UnsupportedAccountLookup final : public platform::AccountLookup {
 public:
  platform::AccountOfSid LookupAccountSid(std::string_view system,
                                          const platform::Sid& sid) override;
  platform::SidOfAccount LookupAccountName(std::string_view system, std::string_view account,
                                           std::uint32_t sid_buffer_size) override;
};

// Neither optional library exists here: the exports take their path for
// missing libraries, and a call made anyway fails instead of answering.
class UnsupportedTerminalServices final : public platform::TerminalServices {
 public:
  platform::TerminalServicesLibraries Libraries() override;
  platform::TerminalServerResult OpenServer(std::string_view server_name) override;
  void CloseServer(platform::TerminalServerHandle server) override;
  platform::SessionListResult EnumerateSessions(platform::TerminalServerHandle server,
                                                std::uint32_t reserved,
                                                std::uint32_t version) override;
  platform::ProcessListResult EnumerateProcesses(platform::TerminalServerHandle server,
                                                 std::uint32_t reserved,
                                                 std::uint32_t version) override;
  platform::SessionInformation QuerySessionInformation(platform::TerminalServerHandle server,
                                                       std::uint32_t session_id,
                                                       std::uint32_t info_class) override;
  platform::UserConfigResult QueryUserConfig(std::string_view server_name,
                                             std::string_view user_name,
                                             std::uint32_t config_class) override;
  platform::WinStationInformationResult WinStationQueryInformation(
      platform::TerminalServerHandle server, std::uint32_t session_id, std::uint32_t info_class,
      std::uint32_t buffer_length) override;
};

// No key is ever handed out; closing a predefined key still succeeds.
class UnsupportedRegistry final : public platform::Registry {
 public:
  platform::RegistryKeyResult ConnectRegistry(std::string_view machine,
                                              platform::RegistryKey hive) override;
  platform::RegistryKeyResult OpenKey(platform::RegistryKey parent, std::string_view subkey,
                                      std::uint32_t access) override;
  platform::RegistryValueResult QueryValue(platform::RegistryKey key, std::string_view name,
                                           std::uint32_t buffer_size) override;
  platform::RegistryEnumKeyResult EnumKey(platform::RegistryKey key, std::uint32_t index,
                                          std::uint32_t name_buffer_chars) override;
  platform::RegistryEnumValueResult EnumValue(platform::RegistryKey key, std::uint32_t index,
                                              std::uint32_t name_buffer_chars,
                                              std::uint32_t data_buffer_size) override;
  platform::RegistryKeyInfo QueryInfoKey(platform::RegistryKey key) override;
  win::Status CloseKey(platform::RegistryKey key) override;
};

class UnsupportedPrinting final : public platform::Printing {
 public:
  platform::EnumPrintersResult EnumPrinters(std::uint32_t flags, std::string_view name,
                                            std::uint32_t level,
                                            std::uint32_t buffer_size) override;
  platform::PrinterHandleResult OpenPrinter(std::string_view name) override;
  platform::GetPrinterResult GetPrinter(platform::PrinterHandle printer, std::uint32_t level,
                                        std::uint32_t buffer_size) override;
  // No handle is ever handed out, so there is none to close.
  bool ClosePrinter(platform::PrinterHandle printer) override;
};

}  // namespace tabulon::unsupported

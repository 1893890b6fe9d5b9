#include "platform/unsupported/unsupported.h"

#include "platform/unsupported/refused.h"

namespace tabulon::unsupported {

platform::ServerInfoResult UnsupportedNetworkManagement::NetServerGetInfo101(std::string_view) {
  return NotSupported<platform::ServerInfoResult>();
}

platform::ServerEnumResult UnsupportedNetworkManagement::NetServerEnum101(std::string_view,
                                                                          std::uint32_t,
                                                                          std::uint32_t,
                                                                          std::uint32_t) {
  return NotSupported<platform::ServerEnumResult>();
}

platform::DisplayMachinesResult UnsupportedNetworkManagement::NetQueryDisplayMachines(
    std::string_view, std::uint32_t, std::uint32_t, std::uint32_t) {
  return NotSupported<platform::DisplayMachinesResult>();
}

platform::DcNameResult UnsupportedNetworkManagement::NetGetDCName(std::string_view,
                                                                  std::string_view) {
  return NotSupported<platform::DcNameResult>();
}

platform::ShareEnumResult UnsupportedNetworkManagement::NetShareEnum(std::string_view,
                                                                     std::uint32_t, std::uint32_t,
                                                                     std::uint32_t) {
  return NotSupported<platform::ShareEnumResult>();
}

platform::ShareGetInfoResult UnsupportedNetworkManagement::NetShareGetInfo0(std::string_view,
                                                                            std::string_view) {
  return NotSupported<platform::ShareGetInfoResult>();
}

platform::ConnectionEnumResult UnsupportedNetworkManagement::NetConnectionEnum1(std::string_view,
                                                                                std::string_view,
                                                                                std::uint32_t,
                                                                                std::uint32_t) {
  return NotSupported<platform::ConnectionEnumResult>();
}

platform::SessionEnumResult UnsupportedNetworkManagement::NetSessionEnum(
    std::string_view, std::string_view, std::string_view, std::uint32_t, std::uint32_t,
    std::uint32_t) {
  return NotSupported<platform::SessionEnumResult>();
}

platform::FileEnumResult UnsupportedNetworkManagement::NetFileEnum3(std::string_view,
                                                                    std::string_view,
                                                                    std::string_view, std::uint32_t,
                                                                    std::uint32_t) {
  return NotSupported<platform::FileEnumResult>();
}

platform::ServerDiskEnumResult UnsupportedNetworkManagement::NetServerDiskEnum0(std::string_view,
                                                                                std::uint32_t) {
  return NotSupported<platform::ServerDiskEnumResult>();
}

platform::WkstaTransportEnumResult UnsupportedNetworkManagement::NetWkstaTransportEnum0(
    std::string_view, std::uint32_t, std::uint32_t) {
  return NotSupported<platform::WkstaTransportEnumResult>();
}

platform::ServiceHandleResult UnsupportedServiceControl::OpenSCManager(std::string_view,
                                                                       std::uint32_t) {
  return NotSupported<platform::ServiceHandleResult>();
}

platform::EnumServicesResult UnsupportedServiceControl::EnumServicesStatus(
    platform::ServiceHandle, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {
  return NotSupported<platform::EnumServicesResult>();
}

platform::ServiceHandleResult UnsupportedServiceControl::OpenService(platform::ServiceHandle,
                                                                     std::string_view,
                                                                     std::uint32_t) {
  return NotSupported<platform::ServiceHandleResult>();
}

platform::ServiceConfigResult UnsupportedServiceControl::QueryServiceConfig(platform::ServiceHandle,
                                                                            std::uint32_t) {
  return NotSupported<platform::ServiceConfigResult>();
}

bool UnsupportedServiceControl::CloseServiceHandle(platform::ServiceHandle) {
  return false;
}

platform::DcInfoResult UnsupportedDirectoryService::DsGetDcName(std::string_view, std::uint32_t) {
  return NotSupported<platform::DcInfoResult>();
}

platform::AccountOfSid UnsupportedAccountLookup::LookupAccountSid(std::string_view,
                                                                  const platform::Sid&) {
  return NotSupported<platform::AccountOfSid>();
}

platform::SidOfAccount UnsupportedAccountLookup::LookupAccountName(std::string_view,
                                                                   std::string_view,
                                                                   std::uint32_t) {
  return NotSupported<platform::SidOfAccount>();
}

platform::DiskFreeSpaceResult UnsupportedFileSystem::GetDiskFreeSpaceEx(std::string_view) {
  return NotSupported<platform::DiskFreeSpaceResult>();
}

platform::VolumeInformationResult UnsupportedFileSystem::GetVolumeInformation(std::string_view,
                                                                              std::uint32_t,
                                                                              std::uint32_t) {
  return NotSupported<platform::VolumeInformationResult>();
}

platform::TerminalServicesLibraries UnsupportedTerminalServices::Libraries() {
  return {false, false};
}

platform::TerminalServerResult UnsupportedTerminalServices::OpenServer(std::string_view) {
  return NotSupported<platform::TerminalServerResult>();
}

void UnsupportedTerminalServices::CloseServer(platform::TerminalServerHandle) {}

platform::SessionListResult UnsupportedTerminalServices::EnumerateSessions(
    platform::TerminalServerHandle, std::uint32_t, std::uint32_t) {
  return NotSupported<platform::SessionListResult>();
}

platform::ProcessListResult UnsupportedTerminalServices::EnumerateProcesses(
    platform::TerminalServerHandle, std::uint32_t, std::uint32_t) {
  return NotSupported<platform::ProcessListResult>();
}

platform::SessionInformation UnsupportedTerminalServices::QuerySessionInformation(
    platform::TerminalServerHandle, std::uint32_t, std::uint32_t) {
  return NotSupported<platform::SessionInformation>();
}

platform::UserConfigResult UnsupportedTerminalServices::QueryUserConfig(std::string_view,
                                                                        std::string_view,
                                                                        std::uint32_t) {
  return NotSupported<platform::UserConfigResult>();
}

platform::WinStationInformationResult UnsupportedTerminalServices::WinStationQueryInformation(
    platform::TerminalServerHandle, std::uint32_t, std::uint32_t, std::uint32_t) {
  return NotSupported<platform::WinStationInformationResult>();
}

platform::RegistryKeyResult UnsupportedRegistry::ConnectRegistry(std::string_view,
                                                                 platform::RegistryKey) {
  return NotSupported<platform::RegistryKeyResult>();
}

platform::RegistryKeyResult UnsupportedRegistry::OpenKey(platform::RegistryKey, std::string_view,
                                                         std::uint32_t) {
  return NotSupported<platform::RegistryKeyResult>();
}

platform::RegistryValueResult UnsupportedRegistry::QueryValue(platform::RegistryKey,
                                                              std::string_view, std::uint32_t) {
  return NotSupported<platform::RegistryValueResult>();
}

platform::RegistryEnumKeyResult UnsupportedRegistry::EnumKey(platform::RegistryKey, std::uint32_t,
                                                             std::uint32_t) {
  return NotSupported<platform::RegistryEnumKeyResult>();
}

platform::RegistryEnumValueResult UnsupportedRegistry::EnumValue(platform::RegistryKey,
                                                                 std::uint32_t, std::uint32_t,
                                                                 std::uint32_t) {
  return NotSupported<platform::RegistryEnumValueResult>();
}

platform::RegistryKeyInfo UnsupportedRegistry::QueryInfoKey(platform::RegistryKey) {
  return NotSupported<platform::RegistryKeyInfo>();
}

win::Status UnsupportedRegistry::CloseKey(platform::RegistryKey key) {
  const bool predefined = key >= platform::kHkeyClassesRoot && key <= platform::kHkeyCurrentConfig;
  return predefined ? win::ERROR_SUCCESS : win::ERROR_INVALID_HANDLE;
}

platform::EnumPrintersResult UnsupportedPrinting::EnumPrinters(std::uint32_t, std::string_view,
                                                               std::uint32_t, std::uint32_t) {
  return NotSupported<platform::EnumPrintersResult>();
}

platform::PrinterHandleResult UnsupportedPrinting::OpenPrinter(std::string_view) {
  return NotSupported<platform::PrinterHandleResult>();
}

platform::GetPrinterResult UnsupportedPrinting::GetPrinter(platform::PrinterHandle, std::uint32_t,
                                                           std::uint32_t) {
  return NotSupported<platform::GetPrinterResult>();
}

bool UnsupportedPrinting::ClosePrinter(platform::PrinterHandle) {
  return false;
}

}  // namespace tabulon::unsupported

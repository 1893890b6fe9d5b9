#include "platform/win32/netapi.h"

#include <algorithm>
#include <string>

#include "platform/win32/net_buffer.h"
#include "platform/win32/netapi_records.h"

namespace tabulon::platform::win32 {
namespace {

// NetQueryDisplayInformation returns at most this many entries a call.
constexpr std::uint32_t kMaxDisplayEntries = 100;

}  // namespace

ServerInfoResult Win32NetworkManagement::NetServerGetInfo101(std::string_view server) {
  return calls_.Run<ServerInfoResult>([server = std::string(server)] {
    NetName name(server);
    NetBuffer buffer;
    ServerInfoResult result;
    result.status = ::NetServerGetInfo(name.get(), 101, buffer.bytes_out());
    if (result.status != NERR_Success) return result;
    const auto records = RecordsIn<SERVER_INFO_101>(buffer, 1);
    if (records.empty()) {
      result.status = ERROR_INVALID_DATA;
    } else {
      result.info = ServerInfoOf(records[0]);
    }
    return result;
  });
}

ShareEnumResult Win32NetworkManagement::NetShareEnum(std::string_view server, std::uint32_t level,
                                                     std::uint32_t preferred_max_length,
                                                     std::uint32_t resume_handle) {
  if (level != 1 && level != 502) return {ERROR_INVALID_LEVEL, {}, 0, 0};
  return calls_.Run<ShareEnumResult>(
      [server = std::string(server), level, preferred_max_length, resume_handle] {
        NetName name(server);
        NetBuffer buffer;
        DWORD read = 0, total = 0, resume = resume_handle;
        const NET_API_STATUS status = ::NetShareEnum(name.get(), level, buffer.bytes_out(),
                                                     preferred_max_length, &read, &total, &resume);
        ShareEnumResult result;
        if (level == 1) {
          TakePage<SHARE_INFO_1>(result, status, buffer, read, total, resume,
                                 [](const SHARE_INFO_1& r) { return ShareInfoOf(r); });
        } else {
          TakePage<SHARE_INFO_502>(result, status, buffer, read, total, resume,
                                   [](const SHARE_INFO_502& r) { return ShareInfoOf(r); });
        }
        return result;
      });
}

ShareGetInfoResult Win32NetworkManagement::NetShareGetInfo0(std::string_view server,
                                                            std::string_view netname) {
  return calls_.Run<ShareGetInfoResult>(
      [server = std::string(server), netname = std::string(netname)] {
        NetName name(server);
        NetName share(netname);
        NetBuffer buffer;
        ShareGetInfoResult result;
        result.status = ::NetShareGetInfo(name.get(), share.get(), 0, buffer.bytes_out());
        if (result.status != NERR_Success) return result;
        const auto records = RecordsIn<SHARE_INFO_0>(buffer, 1);
        if (records.empty()) {
          result.status = ERROR_INVALID_DATA;
        } else {
          result.netname = NetText(records[0].shi0_netname);
        }
        return result;
      });
}

ConnectionEnumResult Win32NetworkManagement::NetConnectionEnum1(std::string_view server,
                                                                std::string_view qualifier,
                                                                std::uint32_t preferred_max_length,
                                                                std::uint32_t resume_handle) {
  return calls_.Run<ConnectionEnumResult>([server = std::string(server),
                                           qualifier = std::string(qualifier), preferred_max_length,
                                           resume_handle] {
    NetName name(server);
    NetName by(qualifier);
    NetBuffer buffer;
    DWORD read = 0, total = 0, resume = resume_handle;
    const NET_API_STATUS status = ::NetConnectionEnum(name.get(), by.get(), 1, buffer.bytes_out(),
                                                      preferred_max_length, &read, &total, &resume);
    ConnectionEnumResult result;
    TakePage<CONNECTION_INFO_1>(result, status, buffer, read, total, resume,
                                [](const CONNECTION_INFO_1& r) { return ConnectionInfoOf(r); });
    return result;
  });
}

SessionEnumResult Win32NetworkManagement::NetSessionEnum(
    std::string_view server, std::string_view client_name, std::string_view user_name,
    std::uint32_t level, std::uint32_t preferred_max_length, std::uint32_t resume_handle) {
  if (level != 1 && level != 502) return {ERROR_INVALID_LEVEL, {}, 0, 0};
  return calls_.Run<SessionEnumResult>(
      [server = std::string(server), client_name = std::string(client_name),
       user_name = std::string(user_name), level, preferred_max_length, resume_handle] {
        NetName name(server);
        NetName client(client_name);
        NetName user(user_name);
        NetBuffer buffer;
        DWORD read = 0, total = 0, resume = resume_handle;
        const NET_API_STATUS status =
            ::NetSessionEnum(name.get(), client.get(), user.get(), level, buffer.bytes_out(),
                             preferred_max_length, &read, &total, &resume);
        SessionEnumResult result;
        if (level == 1) {
          TakePage<SESSION_INFO_1>(result, status, buffer, read, total, resume,
                                   [](const SESSION_INFO_1& r) { return SessionInfoOf(r); });
        } else {
          TakePage<SESSION_INFO_502>(result, status, buffer, read, total, resume,
                                     [](const SESSION_INFO_502& r) { return SessionInfoOf(r); });
        }
        return result;
      });
}

FileEnumResult Win32NetworkManagement::NetFileEnum3(std::string_view server,
                                                    std::string_view base_path,
                                                    std::string_view user_name,
                                                    std::uint32_t preferred_max_length,
                                                    std::uint32_t resume_handle) {
  return calls_.Run<FileEnumResult>(
      [server = std::string(server), base_path = std::string(base_path),
       user_name = std::string(user_name), preferred_max_length, resume_handle] {
        NetName name(server);
        NetName base(base_path);
        NetName user(user_name);
        NetBuffer buffer;
        DWORD read = 0, total = 0;
        DWORD_PTR resume = resume_handle;
        const NET_API_STATUS status =
            ::NetFileEnum(name.get(), base.get(), user.get(), 3, buffer.bytes_out(),
                          preferred_max_length, &read, &total, &resume);
        FileEnumResult result;
        // The handle is pointer-wide only in the prototype: the server's is 32 bits.
        TakePage<FILE_INFO_3>(result, status, buffer, read, total,
                              static_cast<std::uint32_t>(resume),
                              [](const FILE_INFO_3& r) { return FileInfoOf(r); });
        return result;
      });
}

ServerDiskEnumResult Win32NetworkManagement::NetServerDiskEnum0(
    std::string_view server, std::uint32_t preferred_max_length) {
  return calls_.Run<ServerDiskEnumResult>([server = std::string(server), preferred_max_length] {
    NetName name(server);
    NetBuffer buffer;
    DWORD read = 0, total = 0, resume = 0;
    ServerDiskEnumResult result;
    result.status = ::NetServerDiskEnum(name.get(), 0, buffer.bytes_out(), preferred_max_length,
                                        &read, &total, &resume);
    if (result.status != NERR_Success && result.status != ERROR_MORE_DATA) return result;
    result.disks = ServerDisksOf(buffer.get(), buffer.bytes(), read);
    result.total_entries = total;
    return result;
  });
}

WkstaTransportEnumResult Win32NetworkManagement::NetWkstaTransportEnum0(
    std::string_view server, std::uint32_t preferred_max_length, std::uint32_t resume_handle) {
  return calls_.Run<WkstaTransportEnumResult>(
      [server = std::string(server), preferred_max_length, resume_handle] {
        NetName name(server);
        NetBuffer buffer;
        DWORD read = 0, total = 0, resume = resume_handle;
        const NET_API_STATUS status = ::NetWkstaTransportEnum(
            name.get(), 0, buffer.bytes_out(), preferred_max_length, &read, &total, &resume);
        WkstaTransportEnumResult result;
        TakePage<WKSTA_TRANSPORT_INFO_0>(
            result, status, buffer, read, total, resume,
            [](const WKSTA_TRANSPORT_INFO_0& r) { return TransportInfoOf(r); });
        return result;
      });
}

ServerEnumResult Win32NetworkManagement::NetServerEnum101(std::string_view domain,
                                                          std::uint32_t server_type,
                                                          std::uint32_t preferred_max_length,
                                                          std::uint32_t resume_handle) {
  return calls_.Run<ServerEnumResult>(
      [domain = std::string(domain), server_type, preferred_max_length, resume_handle] {
        NetName of(domain);
        NetBuffer buffer;
        DWORD read = 0, total = 0, resume = resume_handle;
        // The browse list is asked of this computer's browser service.
        const NET_API_STATUS status =
            ::NetServerEnum(nullptr, 101, buffer.bytes_out(), preferred_max_length, &read, &total,
                            server_type, of.get(), &resume);
        ServerEnumResult result;
        TakePage<SERVER_INFO_101>(result, status, buffer, read, total, resume,
                                  [](const SERVER_INFO_101& r) { return ServerInfoOf(r); });
        return result;
      });
}

DisplayMachinesResult Win32NetworkManagement::NetQueryDisplayMachines(
    std::string_view server, std::uint32_t index, std::uint32_t entries_requested,
    std::uint32_t preferred_max_length) {
  return calls_.Run<DisplayMachinesResult>(
      [server = std::string(server), index, entries_requested, preferred_max_length] {
        NetName name(server);
        NetBuffer buffer;
        DWORD read = 0;
        const NET_API_STATUS status = ::NetQueryDisplayInformation(
            name.get(), 2, index, std::min(entries_requested, kMaxDisplayEntries),
            preferred_max_length, &read, buffer.out());
        DisplayMachinesResult result;
        result.status = status;
        if (status != NERR_Success && status != ERROR_MORE_DATA) return result;
        if (!TakeRecords<NET_DISPLAY_MACHINE>(
                result.entries, buffer, read,
                [](const NET_DISPLAY_MACHINE& r) { return DisplayMachineOf(r); })) {
          result.status = ERROR_INVALID_DATA;
        }
        return result;
      });
}

DcNameResult Win32NetworkManagement::NetGetDCName(std::string_view server,
                                                  std::string_view domain) {
  return calls_.Run<DcNameResult>([server = std::string(server), domain = std::string(domain)] {
    NetName name(server);
    NetName of(domain);
    NetBuffer buffer;
    DcNameResult result;
    result.status = ::NetGetDCName(name.get(), of.get(), buffer.bytes_out());
    if (result.status != NERR_Success) return result;
    // A NUL-terminated name in a buffer of known size: read no further.
    result.dc_name = NetText(static_cast<const wchar_t*>(buffer.get()),
                             std::min(kMaxNetTextUnits, buffer.bytes() / sizeof(wchar_t)));
    // Success names a controller: no name is a reply we cannot use.
    if (result.dc_name.empty()) result.status = ERROR_INVALID_DATA;
    return result;
  });
}

}  // namespace tabulon::platform::win32

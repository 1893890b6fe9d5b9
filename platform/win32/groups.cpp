#include "platform/win32/groups.h"

#include <string>

#include "platform/win32/account_records.h"
#include "platform/win32/net_buffer.h"

namespace tabulon::platform::win32 {
namespace {

// The handle is pointer-wide only in the prototypes: the server's is 32
// bits.
std::uint32_t Resume(DWORD_PTR resume) {
  return static_cast<std::uint32_t>(resume);
}

}  // namespace

LocalGroupEnumResult Win32GroupService::NetLocalGroupEnum1(std::string_view server,
                                                           std::uint32_t preferred_max_length,
                                                           std::uint32_t resume_handle) {
  return calls_.Run<LocalGroupEnumResult>(
      [server = std::string(server), preferred_max_length, resume_handle] {
        NetName name(server);
        NetBuffer buffer;
        DWORD read = 0, total = 0;
        DWORD_PTR resume = resume_handle;
        const NET_API_STATUS status = ::NetLocalGroupEnum(
            name.get(), 1, buffer.bytes_out(), preferred_max_length, &read, &total, &resume);
        LocalGroupEnumResult result;
        TakePage<LOCALGROUP_INFO_1>(result, status, buffer, read, total, Resume(resume),
                                    [](const LOCALGROUP_INFO_1& r) { return LocalGroupInfoOf(r); });
        return result;
      });
}

LocalGroupMembersResult Win32GroupService::NetLocalGroupGetMembers2(
    std::string_view server, std::string_view group, std::uint32_t preferred_max_length,
    std::uint32_t resume_handle) {
  return calls_.Run<LocalGroupMembersResult>([server = std::string(server),
                                              group = std::string(group), preferred_max_length,
                                              resume_handle] {
    NetName name(server);
    NetName of(group);
    NetBuffer buffer;
    DWORD read = 0, total = 0;
    DWORD_PTR resume = resume_handle;
    const NET_API_STATUS status = ::NetLocalGroupGetMembers(
        name.get(), of.get(), 2, buffer.bytes_out(), preferred_max_length, &read, &total, &resume);
    LocalGroupMembersResult result;
    TakePage<LOCALGROUP_MEMBERS_INFO_2>(
        result, status, buffer, read, total, Resume(resume),
        [](const LOCALGROUP_MEMBERS_INFO_2& r) { return MemberOf(r); });
    return result;
  });
}

LocalGroupInfoResult Win32GroupService::NetLocalGroupGetInfo1(std::string_view server,
                                                              std::string_view group) {
  return calls_.Run<LocalGroupInfoResult>(
      [server = std::string(server), group = std::string(group)] {
        NetName name(server);
        NetName of(group);
        NetBuffer buffer;
        LocalGroupInfoResult result;
        result.status = ::NetLocalGroupGetInfo(name.get(), of.get(), 1, buffer.bytes_out());
        if (result.status != NERR_Success) return result;
        const auto records = RecordsIn<LOCALGROUP_INFO_1>(buffer, 1);
        if (records.empty()) {
          result.status = ERROR_INVALID_DATA;
        } else {
          result.info = LocalGroupInfoOf(records[0]);
        }
        return result;
      });
}

GroupInfoResult Win32GroupService::NetGroupGetInfo1(std::string_view server,
                                                    std::string_view group) {
  return calls_.Run<GroupInfoResult>([server = std::string(server), group = std::string(group)] {
    NetName name(server);
    NetName of(group);
    NetBuffer buffer;
    GroupInfoResult result;
    result.status = ::NetGroupGetInfo(name.get(), of.get(), 1, buffer.bytes_out());
    if (result.status != NERR_Success) return result;
    const auto records = RecordsIn<GROUP_INFO_1>(buffer, 1);
    if (records.empty()) {
      result.status = ERROR_INVALID_DATA;
    } else {
      result.info = GroupInfoOf(records[0]);
    }
    return result;
  });
}

GroupUsersResult Win32GroupService::NetGroupGetUsers0(std::string_view server,
                                                      std::string_view group,
                                                      std::uint32_t preferred_max_length,
                                                      std::uint32_t resume_handle) {
  return calls_.Run<GroupUsersResult>([server = std::string(server), group = std::string(group),
                                       preferred_max_length, resume_handle] {
    NetName name(server);
    NetName of(group);
    NetBuffer buffer;
    DWORD read = 0, total = 0;
    DWORD_PTR resume = resume_handle;
    const NET_API_STATUS status = ::NetGroupGetUsers(name.get(), of.get(), 0, buffer.bytes_out(),
                                                     preferred_max_length, &read, &total, &resume);
    GroupUsersResult result;
    TakePage<GROUP_USERS_INFO_0>(
        result, status, buffer, read, total, Resume(resume),
        [](const GROUP_USERS_INFO_0& r) { return GroupUsersInfo0{NetText(r.grui0_name)}; });
    return result;
  });
}

}  // namespace tabulon::platform::win32

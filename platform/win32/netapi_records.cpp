#include "platform/win32/netapi_records.h"

#include "platform/win32/net_buffer.h"

namespace tabulon::platform::win32 {

ServerInfo101 ServerInfoOf(const SERVER_INFO_101& info) {
  return {info.sv101_platform_id,   NetText(info.sv101_name), info.sv101_version_major,
          info.sv101_version_minor, info.sv101_type,          NetText(info.sv101_comment)};
}

ShareInfo ShareInfoOf(const SHARE_INFO_1& info) {
  ShareInfo share;
  share.netname = NetText(info.shi1_netname);
  share.type = info.shi1_type;
  share.remark = NetText(info.shi1_remark);
  return share;
}

ShareInfo ShareInfoOf(const SHARE_INFO_502& info) {
  ShareInfo share;
  share.netname = NetText(info.shi502_netname);
  share.type = info.shi502_type;
  share.remark = NetText(info.shi502_remark);
  share.permissions = info.shi502_permissions;
  share.max_uses = info.shi502_max_uses;
  share.current_uses = info.shi502_current_uses;
  share.path = NetText(info.shi502_path);
  // Only a valid self-relative descriptor is one block of bytes to copy.
  const PSECURITY_DESCRIPTOR sd = info.shi502_security_descriptor;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (sd != nullptr && ::IsValidSecurityDescriptor(sd) &&
      ::GetSecurityDescriptorControl(sd, &control, &revision) && (control & SE_SELF_RELATIVE)) {
    const DWORD length = ::GetSecurityDescriptorLength(sd);
    if (length <= kMaxShareDescriptorBytes) {
      const auto* bytes = static_cast<const std::uint8_t*>(sd);
      share.security_descriptor.assign(bytes, bytes + length);
    }
  }
  return share;
}

ConnectionInfo1 ConnectionInfoOf(const CONNECTION_INFO_1& info) {
  return {info.coni1_id,
          info.coni1_type,
          info.coni1_num_opens,
          info.coni1_num_users,
          info.coni1_time,
          NetText(info.coni1_username),
          NetText(info.coni1_netname)};
}

SessionInfo SessionInfoOf(const SESSION_INFO_1& info) {
  SessionInfo session;
  session.cname = NetText(info.sesi1_cname);
  session.username = NetText(info.sesi1_username);
  session.num_opens = info.sesi1_num_opens;
  session.time = info.sesi1_time;
  session.idle_time = info.sesi1_idle_time;
  session.user_flags = info.sesi1_user_flags;
  return session;
}

SessionInfo SessionInfoOf(const SESSION_INFO_502& info) {
  SessionInfo session;
  session.cname = NetText(info.sesi502_cname);
  session.username = NetText(info.sesi502_username);
  session.num_opens = info.sesi502_num_opens;
  session.time = info.sesi502_time;
  session.idle_time = info.sesi502_idle_time;
  session.user_flags = info.sesi502_user_flags;
  session.cltype_name = NetText(info.sesi502_cltype_name);
  session.transport = NetText(info.sesi502_transport);
  return session;
}

FileInfo3 FileInfoOf(const FILE_INFO_3& info) {
  return {info.fi3_id, info.fi3_permissions, info.fi3_num_locks, NetText(info.fi3_pathname),
          NetText(info.fi3_username)};
}

WkstaTransportInfo0 TransportInfoOf(const WKSTA_TRANSPORT_INFO_0& info) {
  return {info.wkti0_quality_of_service, info.wkti0_number_of_vcs,
          NetText(info.wkti0_transport_name), NetText(info.wkti0_transport_address),
          static_cast<std::uint32_t>(info.wkti0_wan_ish)};
}

DisplayMachine DisplayMachineOf(const NET_DISPLAY_MACHINE& info) {
  return {NetText(info.usri2_name), NetText(info.usri2_comment), info.usri2_flags,
          info.usri2_user_id, info.usri2_next_index};
}

AtEnum AtEnumOf(const AT_ENUM& job) {
  // JobTime is milliseconds after midnight, under a day whatever its width.
  return {job.JobId,       static_cast<std::uint32_t>(job.JobTime),
          job.DaysOfMonth, job.DaysOfWeek,
          job.Flags,       NetText(job.Command)};
}

std::vector<std::string> ServerDisksOf(const void* buffer, std::size_t bytes, std::uint32_t count) {
  constexpr std::size_t kEntryUnits = 3;
  std::vector<std::string> disks;
  if (buffer == nullptr) return disks;
  const std::size_t held = bytes / (kEntryUnits * sizeof(wchar_t));
  const auto* entry = static_cast<const wchar_t*>(buffer);
  for (std::size_t i = 0; i < count && i < held; ++i, entry += kEntryUnits) {
    disks.push_back(NetText(entry, kEntryUnits));
  }
  return disks;
}

}  // namespace tabulon::platform::win32

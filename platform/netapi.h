#pragma once
// Network management of a Windows computer or domain, after the NetAPI32
// functions: the same levels, resume handles and ERROR_MORE_DATA paging, with
// records returned as values instead of raw buffers.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tabulon::platform {

inline constexpr std::uint32_t kMaxPreferredLength = 0xFFFFFFFF;
inline constexpr std::uint32_t kSvTypeAll = 0xFFFFFFFF;

// SERVER_INFO_101.
struct ServerInfo101 {
  std::uint32_t platform_id = 500;
  std::string name;
  std::uint32_t version_major = 0;
  std::uint32_t version_minor = 0;
  std::uint32_t type = 0;
  std::string comment;
};

struct ServerInfoResult {
  win::Status status = win::ERROR_SUCCESS;
  ServerInfo101 info;
};

// One page of NetServerEnum: status ERROR_SUCCESS or ERROR_MORE_DATA with the
// entries of this page.
struct ServerEnumResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<ServerInfo101> entries;
  std::uint32_t total_entries = 0;
  std::uint32_t resume_handle = 0;
};

// NET_DISPLAY_MACHINE (level 2 of NetQueryDisplayInformation).
struct DisplayMachine {
  std::string name;  // with the trailing "$" of a machine account
  std::string comment;
  std::uint32_t flags = 0;  // UF_* account flags
  std::uint32_t user_id = 0;
  std::uint32_t next_index = 0;
};

inline constexpr std::uint32_t kUfWorkstationTrustAccount = 0x1000;
inline constexpr std::uint32_t kUfServerTrustAccount = 0x2000;
inline constexpr std::uint32_t kUfAccountDisable = 0x0002;

struct DisplayMachinesResult {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<DisplayMachine> entries;
};

struct DcNameResult {
  win::Status status = win::ERROR_SUCCESS;
  std::string dc_name;  // "\\NAME" as returned
};

// Share types (shi*_type). Callers compare whole values: the special flag
// can be combined with another type, as for IPC$ (0x80000003).
inline constexpr std::uint32_t kStypeDisktree = 0;
inline constexpr std::uint32_t kStypePrintq = 1;
inline constexpr std::uint32_t kStypeDevice = 2;
inline constexpr std::uint32_t kStypeIpc = 3;
inline constexpr std::uint32_t kStypeTemporary = 0x40000000;
inline constexpr std::uint32_t kStypeSpecial = 0x80000000;
inline constexpr std::uint32_t kShiUsesUnlimited = 0xFFFFFFFF;

// SHARE_INFO_502. Level 1 (SHARE_INFO_1) fills only netname, type and
// remark.
struct ShareInfo {
  std::string netname;
  std::uint32_t type = kStypeDisktree;
  std::string remark;
  std::uint32_t permissions = 0;  // ACCESS_* bits of share-level security
  std::uint32_t max_uses = kShiUsesUnlimited;
  std::uint32_t current_uses = 0;
  std::string path;
  // The share's self-relative security descriptor, opaque at this level;
  // empty when the share has none.
  std::vector<std::uint8_t> security_descriptor;
};

// One page of NetShareEnum.
struct ShareEnumResult {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<ShareInfo> entries;
  std::uint32_t total_entries = 0;
  std::uint32_t resume_handle = 0;  // 0 once the listing is complete
};

// NetShareGetInfo level 0 (SHARE_INFO_0): only the name.
struct ShareGetInfoResult {
  win::Status status = win::ERROR_SUCCESS;
  std::string netname;
};

// CONNECTION_INFO_1.
struct ConnectionInfo1 {
  std::uint32_t id = 0;
  std::uint32_t type = kStypeDisktree;
  std::uint32_t num_opens = 0;
  std::uint32_t num_users = 0;
  std::uint32_t time = 0;  // seconds connected
  std::string username;
  // The client computer when listed by share, the share when listed by
  // client computer.
  std::string netname;
};

struct ConnectionEnumResult {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<ConnectionInfo1> entries;
  std::uint32_t total_entries = 0;
  std::uint32_t resume_handle = 0;
};

// SESSION_INFO_502. Level 1 (SESSION_INFO_1) leaves cltype_name and
// transport empty.
struct SessionInfo {
  std::string cname;  // the client computer
  std::string username;
  std::uint32_t num_opens = 0;
  std::uint32_t time = 0;        // seconds active
  std::uint32_t idle_time = 0;   // seconds idle
  std::uint32_t user_flags = 0;  // SESS_GUEST, SESS_NOENCRYPTION
  std::string cltype_name;
  std::string transport;
};

struct SessionEnumResult {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<SessionInfo> entries;
  std::uint32_t total_entries = 0;
  std::uint32_t resume_handle = 0;
};

// FILE_INFO_3.
struct FileInfo3 {
  std::uint32_t id = 0;
  std::uint32_t permissions = 0;  // PERM_FILE_* / ACCESS_* bits
  std::uint32_t num_locks = 0;
  std::string pathname;
  std::string username;
};

struct FileEnumResult {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<FileInfo3> entries;
  std::uint32_t total_entries = 0;
  std::uint32_t resume_handle = 0;
};

// NetServerDiskEnum level 0: drive names such as "C:".
struct ServerDiskEnumResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<std::string> disks;
  std::uint32_t total_entries = 0;
};

// WKSTA_TRANSPORT_INFO_0.
struct WkstaTransportInfo0 {
  std::uint32_t quality_of_service = 0;
  std::uint32_t number_of_vcs = 0;
  std::string transport_name;     // the device name, "\\Device\\NetBT_Tcpip_{...}"
  std::string transport_address;  // the adapter address as hexadecimal digits
  std::uint32_t wan_ish = 0;      // a Windows BOOL: any non-zero value is true
};

struct WkstaTransportEnumResult {
  win::Status status = win::ERROR_SUCCESS;  // or ERROR_MORE_DATA
  std::vector<WkstaTransportInfo0> entries;
  std::uint32_t total_entries = 0;
  std::uint32_t resume_handle = 0;
};

// The network management calls split by the RPC service that answers them on
// a real server, so that a backend opens only the pipes an export needs.
//
// The enumerations page like Windows: with a preferred length other than
// kMaxPreferredLength a page holds what fits (at least one entry), the status
// is ERROR_MORE_DATA and resume_handle says where the next call starts.
// Levels other than the ones named give ERROR_INVALID_LEVEL.

// The server service: server information, shares, connections, sessions,
// open files and disks.
class ServerService {
 public:
  virtual ~ServerService() = default;

  // NetServerGetInfo level 101 on `server` ("\\NAME" or a DNS name).
  virtual ServerInfoResult NetServerGetInfo101(std::string_view server) = 0;
  // NetShareEnum level 1 or 502.
  virtual ShareEnumResult NetShareEnum(std::string_view server, std::uint32_t level,
                                       std::uint32_t preferred_max_length,
                                       std::uint32_t resume_handle) = 0;
  // NetShareGetInfo level 0; NERR_NetNameNotFound for a share that does not
  // exist.
  virtual ShareGetInfoResult NetShareGetInfo0(std::string_view server,
                                              std::string_view netname) = 0;
  // NetConnectionEnum level 1. `qualifier` is a share name (connections to
  // it) or "\\COMPUTER" (connections from that client).
  virtual ConnectionEnumResult NetConnectionEnum1(std::string_view server,
                                                  std::string_view qualifier,
                                                  std::uint32_t preferred_max_length,
                                                  std::uint32_t resume_handle) = 0;
  // NetSessionEnum level 1 or 502; empty client and user names list every
  // session.
  virtual SessionEnumResult NetSessionEnum(std::string_view server, std::string_view client_name,
                                           std::string_view user_name, std::uint32_t level,
                                           std::uint32_t preferred_max_length,
                                           std::uint32_t resume_handle) = 0;
  // NetFileEnum level 3; an empty base path or user name does not filter.
  virtual FileEnumResult NetFileEnum3(std::string_view server, std::string_view base_path,
                                      std::string_view user_name,
                                      std::uint32_t preferred_max_length,
                                      std::uint32_t resume_handle) = 0;
  // NetServerDiskEnum level 0. Windows ignores the preferred length here.
  virtual ServerDiskEnumResult NetServerDiskEnum0(std::string_view server,
                                                  std::uint32_t preferred_max_length) = 0;
};

// The workstation service.
class WorkstationService {
 public:
  virtual ~WorkstationService() = default;
  // NetWkstaTransportEnum level 0: the transports the workstation service
  // is bound to.
  virtual WkstaTransportEnumResult NetWkstaTransportEnum0(std::string_view server,
                                                          std::uint32_t preferred_max_length,
                                                          std::uint32_t resume_handle) = 0;
};

// The computer browser: a domain's browse list.
class BrowserService {
 public:
  virtual ~BrowserService() = default;
  // NetServerEnum level 101 of a domain's browse list.
  virtual ServerEnumResult NetServerEnum101(std::string_view domain, std::uint32_t server_type,
                                            std::uint32_t preferred_max_length,
                                            std::uint32_t resume_handle) = 0;
};

// The account database (SAM) and the domain's controllers.
class AccountService {
 public:
  virtual ~AccountService() = default;
  // NetQueryDisplayInformation level 2 (machine accounts) from `index`.
  virtual DisplayMachinesResult NetQueryDisplayMachines(std::string_view server,
                                                        std::uint32_t index,
                                                        std::uint32_t entries_requested,
                                                        std::uint32_t preferred_max_length) = 0;
  // NetGetDCName: the primary domain controller of `domain`.
  virtual DcNameResult NetGetDCName(std::string_view server, std::string_view domain) = 0;
};

// Every network management family at once, for backends that serve them
// from one object.
class NetworkManagement : public ServerService,
                          public WorkstationService,
                          public BrowserService,
                          public AccountService {};

}  // namespace tabulon::platform

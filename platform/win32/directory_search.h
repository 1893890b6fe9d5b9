#pragma once
// Directory searches over wldap32, the same contract as the OpenLDAP client
// of platform/ldap/: 250 entries a page with the paged-results control,
// ranged retrieval completed, values tagged with their kinds, every failure
// a directory status. The bind is Negotiate (Kerberos or NTLM) as the
// session's identity, which its worker thread carries: no password is ever
// handed to the library, and none crosses the wire.
//
// Each page is one call on the session's worker thread, within the
// session's time-out and stop; the sink runs on the caller's thread between
// pages, so it may search the same directory meanwhile. A search in
// progress keeps its connection to itself (a server keeps only a few paged
// searches per connection): what is asked meanwhile goes over another.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bounded_calls.h"
#include "platform/directory_search.h"
#include "platform/win32/ldap_records.h"

namespace tabulon::platform::win32 {

// How a connection binds: a session binds Negotiate; an anonymous bind
// (no name, no password) is for tests against a server without Negotiate.
enum class LdapBind : std::uint8_t { kNegotiate, kAnonymous };

class Win32DirectorySearch final : public DirectorySearch {
 public:
  Win32DirectorySearch(BoundedCalls& calls, std::uint32_t session_timeout_ms,
                       LdapBind bind = LdapBind::kNegotiate)
      : calls_(calls), session_timeout_ms_(session_timeout_ms), bind_(bind) {}
  ~Win32DirectorySearch() override { Close(); }
  Win32DirectorySearch(const Win32DirectorySearch&) = delete;
  Win32DirectorySearch& operator=(const Win32DirectorySearch&) = delete;

  DirectoryStatus Open(const DirectoryOpenOptions& options) override;
  DirectoryStatus Search(const SearchRequest& request, const EntrySink& sink) override;
  void Close() override;
  DcInfoResult LocateController(std::string_view dns_domain, std::uint32_t flags) override;

  struct Connection;  // one wldap32 handle

 private:
  DirectoryStatus Connect(std::shared_ptr<Connection>& out);
  // The connection for an operation started while `searches_in_progress_`
  // searches are; null with `failure` set when it cannot be had.
  std::shared_ptr<Connection> ConnectionFor(DirectoryStatus& failure);
  DirectoryStatus ReadSlice(const std::shared_ptr<Connection>& connection, std::string_view dn,
                            std::string_view name, DirectoryAttribute& out);
  // A call the session gave up on still holds its connection: none of ours
  // is used again.
  DirectoryStatus Abandoned(win::Status status);
  void Release(std::shared_ptr<Connection> connection);

  BoundedCalls& calls_;
  const std::uint32_t session_timeout_ms_;
  const LdapBind bind_;
  LdapTarget target_;
  bool start_tls_ = false;
  std::string base_;
  std::uint32_t timeout_ms_ = 0;
  // The first connection, then one for each search in progress.
  std::vector<std::shared_ptr<Connection>> connections_;
  std::size_t searches_in_progress_ = 0;
};

}  // namespace tabulon::platform::win32

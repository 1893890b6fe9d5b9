#pragma once
// One connection to a directory server on OpenLDAP's client library: connect
// (StartTLS when asked), bind, paged searches and base reads. Every wait is
// bounded by the timeout (the longest silence of the server) and gives up as
// soon as the cancel token is set.
//
// A password never leaves on a connection TLS does not protect: a simple
// bind with one over plain ldap:// is refused before anything is sent.
#include <ldap.h>

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "platform/cancel.h"
#include "platform/directory_search.h"

namespace tabulon::platform::ldap {

class LdapConnection {
 public:
  LdapConnection(const CancelToken& cancel, std::chrono::milliseconds timeout);
  ~LdapConnection() { Close(); }
  LdapConnection(const LdapConnection&) = delete;
  LdapConnection& operator=(const LdapConnection&) = delete;

  // Connects to `url` ("ldap://host:port" or "ldaps://host:port") and binds:
  // SASL GSSAPI with the caller's tickets, a simple bind with a password
  // (only over TLS), or anonymously.
  DirectoryStatus Open(const std::string& url, const DirectoryOpenOptions& options,
                       const Credentials& credentials);
  void Close();
  bool is_open() const { return ld_ != nullptr; }

  // A search below `base`, paged when the request asks for pages; the page
  // after the one being handed out is already on its way.
  DirectoryStatus Search(const std::string& base, const SearchRequest& request,
                         const EntrySink& sink);
  // Base reads, up to kReadsInFlight on the wire, answered in the order asked.
  void ReadObjects(std::span<const std::string> dns, std::span<const std::string> names,
                   const AttributeKinds* kinds, const ObjectSink& sink);

 private:
  static constexpr std::size_t kReadsInFlight = 16;
  struct PageQuery;
  class PendingEntries;

  DirectoryStatus StartTls();
  DirectoryStatus Bind(const Credentials& credentials, bool over_tls, const std::string& url);
  DirectoryStatus KerberosBind(bool over_tls);
  DirectoryStatus SimpleBind(const std::string& name, std::string_view password);

  std::pair<int, DirectoryStatus> SendRead(const std::string& dn, char** attributes);
  DirectoryStatus ReceiveObject(int msgid, DirectoryEntry& entry,
                                std::optional<DirectoryStatus>& broken);
  DirectoryStatus SendPage(const PageQuery& query, const berval* cookie, int& msgid);
  DirectoryStatus ReceivePage(int msgid, PendingEntries& page, berval*& cookie);
  bool Deliver(PendingEntries& page, const SearchRequest& request, const EntrySink& sink,
               DirectoryStatus& status);
  DirectoryStatus ReadSlice(std::string_view dn, std::string_view name, DirectoryAttribute& out);

  DirectoryStatus Failure(int rc);
  DirectoryStatus ParsedResult(LDAPMessage* message, LDAPControl*** controls);
  DirectoryStatus PageResult(LDAPMessage* message, berval*& cookie);
  int Wait(int msgid, LDAPMessage** out, DirectoryStatus& failure);
  DirectoryEntry ToEntry(LDAPMessage* message);

  const CancelToken cancel_;
  const std::chrono::milliseconds timeout_;
  ::LDAP* ld_ = nullptr;
};

}  // namespace tabulon::platform::ldap

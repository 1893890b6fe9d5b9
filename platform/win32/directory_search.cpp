#include "platform/win32/directory_search.h"

#include <utility>

#include "platform/directory_ranges.h"
#include "platform/directory_status.h"
#include "platform/win32/domain_controllers.h"
#include "platform/win32/wide.h"
#include "platform/win_error.h"

// After our headers: <windows.h> makes macros of ERROR_SUCCESS and the like.
#include <windows.h>
#include <winldap.h>
// Declares ber_free with the types <winldap.h> defines.
#include <winber.h>

namespace tabulon::platform::win32 {

struct Win32DirectorySearch::Connection {
  explicit Connection(LDAP* handle) : ld(handle) {}
  ~Connection() { ldap_unbind(ld); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  LDAP* const ld;
};

namespace {

using Connection = Win32DirectorySearch::Connection;

// What the library allocates, released with its own functions.
using Message = std::unique_ptr<LDAPMessage, decltype([](LDAPMessage* m) { ldap_msgfree(m); })>;
using WideText = std::unique_ptr<wchar_t, decltype([](wchar_t* t) { ldap_memfreeW(t); })>;
using Values = std::unique_ptr<berval*, decltype([](berval** v) { ldap_value_free_len(v); })>;
using Ber = std::unique_ptr<BerElement, decltype([](BerElement* b) { ber_free(b, 0); })>;
using Control =
    std::unique_ptr<LDAPControlW, decltype([](LDAPControlW* c) { ldap_control_freeW(c); })>;
using Controls =
    std::unique_ptr<LDAPControlW*, decltype([](LDAPControlW** c) { ldap_controls_freeW(c); })>;
using Cookie = std::unique_ptr<berval, decltype([](berval* b) { ber_bvfree(b); })>;

struct OpenAnswer {
  win::Status status = ERROR_SUCCESS;
  DirectoryStatus directory;
  std::shared_ptr<Connection> connection;
};

struct PageAnswer {
  win::Status status = ERROR_SUCCESS;
  DirectoryStatus directory;
  std::vector<DirectoryEntry> entries;
  std::string cookie;  // empty: the last page
};

ULONG ScopeOf(SearchScope scope) {
  switch (scope) {
    case SearchScope::kBase:
      return LDAP_SCOPE_BASE;
    case SearchScope::kOneLevel:
      return LDAP_SCOPE_ONELEVEL;
    case SearchScope::kSubtree:
      return LDAP_SCOPE_SUBTREE;
  }
  return LDAP_SCOPE_SUBTREE;
}

// A failed call with what the server (or else the library) said about it.
DirectoryStatus Failure(LDAP* ld, ULONG rc) {
  wchar_t* server = nullptr;
  if (ld != nullptr) ldap_get_optionW(ld, LDAP_OPT_SERVER_ERROR, &server);
  const WideText owned(server);
  return LdapStatus(rc, server, ldap_err2stringW(rc));
}

DirectoryStatus Decoding(std::string text) {
  return DirectoryStatusFromLdap(kLdapDecodingError, text);
}

DirectoryStatus ToEntry(LDAP* ld, LDAPMessage* message, DirectoryEntry& entry) {
  const WideText dn(ldap_get_dnW(ld, message));
  if (!CopyLdapName(dn.get(), kMaxLdapNameChars, entry.dn)) {
    return Decoding("an entry without a readable DN");
  }
  BerElement* position = nullptr;
  WideText name(ldap_first_attributeW(ld, message, &position));
  const Ber owned_position(position);
  for (; name != nullptr; name.reset(ldap_next_attributeW(ld, message, position))) {
    if (entry.attributes.size() >= kMaxLdapAttributes) {
      return Decoding("more than " + std::to_string(kMaxLdapAttributes) + " attributes in '" +
                      entry.dn + "'");
    }
    DirectoryAttribute& attribute = entry.attributes.emplace_back();
    if (!CopyLdapName(name.get(), kMaxLdapNameChars, attribute.name)) {
      return Decoding("an attribute name too long in '" + entry.dn + "'");
    }
    const Values values(ldap_get_values_lenW(ld, message, name.get()));
    DirectoryStatus status = CopyLdapValues(values.get(), attribute.values);
    if (!status.ok()) return status;
  }
  return {};
}

DirectoryStatus ToEntries(LDAP* ld, LDAPMessage* result, std::vector<DirectoryEntry>& out) {
  for (LDAPMessage* message = ldap_first_entry(ld, result); message != nullptr;
       message = ldap_next_entry(ld, message)) {
    if (out.size() >= kMaxLdapEntries) {
      return Decoding("more than " + std::to_string(kMaxLdapEntries) + " entries in one answer");
    }
    DirectoryStatus status = ToEntry(ld, message, out.emplace_back());
    if (!status.ok()) {
      out.pop_back();
      return status;
    }
  }
  return {};
}

// The result's code and text, and the next page's cookie when `cookie` asks.
DirectoryStatus ParseResult(LDAP* ld, LDAPMessage* result, std::string* cookie) {
  ULONG code = LDAP_SUCCESS;
  wchar_t* text = nullptr;
  LDAPControlW** controls = nullptr;
  const ULONG rc = ldap_parse_resultW(ld, result, &code, nullptr, &text, nullptr, &controls, FALSE);
  const WideText owned_text(text);
  const Controls owned_controls(controls);
  if (rc != LDAP_SUCCESS) return Failure(ld, rc);
  if (code != LDAP_SUCCESS) return LdapStatus(code, text, ldap_err2stringW(code));
  if (cookie == nullptr || controls == nullptr) return {};
  berval* next = nullptr;
  ULONG estimate = 0;
  // No page control in the answer: a server without paging sent everything.
  if (ldap_parse_page_controlW(ld, controls, &estimate, &next) != LDAP_SUCCESS) return {};
  const Cookie owned_next(next);
  return CopyLdapCookie(next, *cookie);
}

// One search call: every entry of the answer (those before a failure too)
// and how it ended.
PageAnswer SearchOnce(LDAP* ld, std::wstring& base, ULONG scope, std::wstring& filter,
                      std::vector<std::wstring>& names, std::uint32_t page_size,
                      std::string& cookie, LONG seconds) {
  PageAnswer answer;
  LDAPControlW* page = nullptr;
  if (page_size != 0) {
    berval value{static_cast<ULONG>(cookie.size()), cookie.data()};
    const ULONG rc =
        ldap_create_page_controlW(ld, page_size, cookie.empty() ? nullptr : &value, 0, &page);
    if (rc != LDAP_SUCCESS) {
      answer.directory = Failure(ld, rc);
      return answer;
    }
  }
  const Control owned_page(page);
  LDAPControlW* controls[] = {page, nullptr};
  std::vector<wchar_t*> wanted;
  for (std::wstring& name : names) wanted.push_back(name.data());
  wanted.push_back(nullptr);
  l_timeval limit{seconds, 0};
  LDAPMessage* raw = nullptr;
  const ULONG rc = ldap_search_ext_sW(
      ld, base.data(), scope, filter.data(), names.empty() ? nullptr : wanted.data(), 0,
      page != nullptr ? controls : nullptr, nullptr, &limit, 0, &raw);
  const Message result(raw);
  if (result != nullptr) answer.directory = ToEntries(ld, result.get(), answer.entries);
  if (rc != LDAP_SUCCESS) {
    answer.directory = Failure(ld, rc);
    // The server's own words are in its result, where it sent one (Wine's
    // library keeps no server error text on the connection).
    if (result != nullptr) {
      const DirectoryStatus said = ParseResult(ld, result.get(), nullptr);
      if (said.status == answer.directory.status) answer.directory = said;
    }
  } else if (answer.directory.ok()) {
    answer.directory = result == nullptr ? Decoding("a search answered without a result")
                                         : ParseResult(ld, result.get(),
                                                       page != nullptr ? &answer.cookie : nullptr);
  }
  return answer;
}

// Turns an option on that Windows has; a library without it (Wine's) is
// left as it is.
ULONG Tune(LDAP* ld, int option) {
  const ULONG rc = ldap_set_optionW(ld, option, LDAP_OPT_ON);
  return rc == LDAP_NOT_SUPPORTED ? ULONG{LDAP_SUCCESS} : rc;
}

LONG Seconds(std::uint32_t ms) {
  return static_cast<LONG>(std::max<std::uint32_t>(1, (ms + 999) / 1000));
}

}  // namespace

DirectoryStatus Win32DirectorySearch::Open(const DirectoryOpenOptions& options) {
  Close();
  target_ = ParseLdapTarget(options.server, options.base);
  if (!target_.valid) {
    DirectoryStatus status =
        DirectoryStatusFromLdap(kLdapParamError, "not an LDAP URL: '" + options.server + "'");
    status.status = win::E_ADS_BAD_PATHNAME;
    return status;
  }
  // wldap32 trusts the computer's certificate stores only.
  if (!options.ca_file.empty()) {
    return DirectoryStatusFromLdap(kLdapNotSupported,
                                   "a CA file is not used on Windows: add the authority to the "
                                   "computer's trusted root certificates instead");
  }
  start_tls_ = options.start_tls && !target_.ssl;
  base_ = options.base;
  timeout_ms_ = options.timeout_ms != 0 ? options.timeout_ms : session_timeout_ms_;
  std::shared_ptr<Connection> connection;
  DirectoryStatus status = Connect(connection);
  if (status.ok()) connections_.push_back(std::move(connection));
  return status;
}

// The credentials of the options are the run's, which the session's logon
// already carries: the bind is Negotiate as the worker thread's identity.
DirectoryStatus Win32DirectorySearch::Connect(std::shared_ptr<Connection>& out) {
  OpenAnswer answer =
      calls_.Run<OpenAnswer>([target = target_, start_tls = start_tls_, bind = bind_,
                              seconds = Seconds(timeout_ms_)]() mutable {
        OpenAnswer opened;
        wchar_t* host = target.host.data();
        LDAP* ld = target.ssl ? ldap_sslinitW(host, target.port, 1) : ldap_initW(host, target.port);
        if (ld == nullptr) {
          const ULONG rc = LdapGetLastError();
          opened.directory = LdapStatus(rc, nullptr, ldap_err2stringW(rc));
          return opened;
        }
        auto connection = std::make_shared<Connection>(ld);
        ULONG version = LDAP_VERSION3;
        ULONG rc = ldap_set_optionW(ld, LDAP_OPT_PROTOCOL_VERSION, &version);
        if (rc == LDAP_SUCCESS) rc = ldap_set_optionW(ld, LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
        // A server's name is not taken for a domain's.
        if (rc == LDAP_SUCCESS && !target.domain) rc = Tune(ld, LDAP_OPT_AREC_EXCLUSIVE);
        // Without TLS, Negotiate signs and seals the connection (a controller
        // may require signing).
        if (rc == LDAP_SUCCESS && !target.ssl && !start_tls) {
          rc = Tune(ld, LDAP_OPT_SIGN);
          if (rc == LDAP_SUCCESS) rc = Tune(ld, LDAP_OPT_ENCRYPT);
        }
        l_timeval wait{seconds, 0};
        if (rc == LDAP_SUCCESS) rc = ldap_connect(ld, &wait);
        if (rc == LDAP_SUCCESS && start_tls) {
          ULONG server_rc = LDAP_SUCCESS;
          LDAPMessage* raw = nullptr;
          rc = ldap_start_tls_sW(ld, &server_rc, &raw, nullptr, nullptr);
          const Message result(raw);
          if (rc == LDAP_SUCCESS) rc = server_rc;
        }
        if (rc == LDAP_SUCCESS)
          rc = ldap_bind_sW(ld, nullptr, nullptr,
                            bind == LdapBind::kNegotiate ? LDAP_AUTH_NEGOTIATE : LDAP_AUTH_SIMPLE);
        if (rc != LDAP_SUCCESS) {
          opened.directory = Failure(ld, rc);
          return opened;
        }
        opened.connection = std::move(connection);
        return opened;
      });
  if (answer.status != ERROR_SUCCESS) return Abandoned(answer.status);
  out = std::move(answer.connection);
  return answer.directory;
}

std::shared_ptr<Connection> Win32DirectorySearch::ConnectionFor(DirectoryStatus& failure) {
  if (connections_.empty()) {
    failure = DirectoryStatusFromLdap(kLdapServerDown, "the directory connection is not open");
    return nullptr;
  }
  if (connections_.size() <= searches_in_progress_) {
    connections_.resize(searches_in_progress_ + 1);
  }
  std::shared_ptr<Connection>& connection = connections_[searches_in_progress_];
  if (connection == nullptr) {
    failure = Connect(connection);
    if (!failure.ok()) return nullptr;
  }
  return connection;
}

DirectoryStatus Win32DirectorySearch::Search(const SearchRequest& request, const EntrySink& sink) {
  DirectoryStatus status;
  std::shared_ptr<Connection> connection = ConnectionFor(status);
  if (connection == nullptr) return status;
  ++searches_in_progress_;
  std::vector<std::wstring> names;
  for (const std::string& name : request.attributes) names.push_back(ToWide(name));
  std::wstring base = ToWide(request.base.empty() ? base_ : request.base);
  std::wstring filter = ToWide(request.filter);
  std::string cookie;
  for (bool more = true; more && status.ok();) {
    PageAnswer page = calls_.Run<PageAnswer>([connection, base, scope = ScopeOf(request.scope),
                                              filter, names, page_size = request.page_size, cookie,
                                              seconds = Seconds(timeout_ms_)]() mutable {
      return SearchOnce(connection->ld, base, scope, filter, names, page_size, cookie, seconds);
    });
    if (page.status != ERROR_SUCCESS) {
      status = Abandoned(page.status);
      break;
    }
    // What came before a failure is still handed out.
    for (DirectoryEntry& entry : page.entries) {
      status = CompleteRanges(
          entry, [&](std::string_view dn, std::string_view name, DirectoryAttribute& out) {
            return ReadSlice(connection, dn, name, out);
          });
      if (!status.ok()) break;
      TagKinds(entry, request.kinds);
      if (!sink(std::move(entry))) {
        more = false;
        break;
      }
    }
    if (status.ok()) status = page.directory;
    cookie = std::move(page.cookie);
    more = more && !cookie.empty();
  }
  if (searches_in_progress_ > 0) --searches_in_progress_;
  Release(std::move(connection));
  return status;
}

// One slice of a ranged attribute: a base read of that attribute alone.
DirectoryStatus Win32DirectorySearch::ReadSlice(const std::shared_ptr<Connection>& connection,
                                                std::string_view dn, std::string_view name,
                                                DirectoryAttribute& out) {
  std::vector<std::wstring> names{ToWide(name)};
  PageAnswer answer = calls_.Run<PageAnswer>([connection, base = ToWide(dn), names,
                                              seconds = Seconds(timeout_ms_)]() mutable {
    std::wstring filter = L"(objectClass=*)";
    std::string no_cookie;
    return SearchOnce(connection->ld, base, LDAP_SCOPE_BASE, filter, names, 0, no_cookie, seconds);
  });
  if (answer.status != ERROR_SUCCESS) return Abandoned(answer.status);
  if (!answer.directory.ok()) return answer.directory;
  if (!answer.entries.empty() && !answer.entries.front().attributes.empty()) {
    out = std::move(answer.entries.front().attributes.front());
  }
  return {};
}

DirectoryStatus Win32DirectorySearch::Abandoned(win::Status status) {
  // The abandoned call may still use any connection: none is used again.
  Close();
  if (status == ERROR_CANCELLED) return DirectoryCancelled();
  if (status == ERROR_TIMEOUT) {
    return DirectoryStatusFromLdap(kLdapTimeout,
                                   "no answer from the server within the session's "
                                   "time-out");
  }
  // The worker could not take the session's identity.
  DirectoryStatus failed;
  failed.status = DirectoryHresult(status);
  failed.extended_code = status;
  failed.extended_text = win::SystemMessageText(status);
  return failed;
}

void Win32DirectorySearch::Release(std::shared_ptr<Connection> connection) {
  if (connection == nullptr) return;
  // Unbound on the worker thread; an abandoned call that still holds it
  // unbinds it when it ends.
  calls_.Release([held = std::move(connection)]() mutable { held.reset(); });
}

void Win32DirectorySearch::Close() {
  for (std::shared_ptr<Connection>& connection : connections_) Release(std::move(connection));
  connections_.clear();
}

DcInfoResult Win32DirectorySearch::LocateController(std::string_view dns_domain,
                                                    std::uint32_t flags) {
  return GetDcInfo(calls_, {}, dns_domain, flags);
}

}  // namespace tabulon::platform::win32

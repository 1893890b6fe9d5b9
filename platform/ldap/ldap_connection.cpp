#include "platform/ldap/ldap_connection.h"

#include <sasl/sasl.h>

#include <algorithm>
#include <deque>
#include <vector>

#include "platform/directory_ranges.h"
#include "platform/directory_status.h"
#include "platform/ldap/bind_texts.h"
#include "platform/ldap/tls_diagnosis.h"
#include "platform/text.h"

namespace tabulon::platform::ldap {
namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks at the cancel token.
constexpr std::chrono::milliseconds kCancelPoll{100};
// The longest a look into a TLS failure may wait for the server.
constexpr std::chrono::milliseconds kDiagnosisTimeout{5000};

// OpenLDAP numbers its client-side results from -1 down; the protocol's
// client API numbers them from 0x51 up in the same order.
int ProtocolCode(int rc) {
  return rc < 0 ? 0x50 - rc : rc;
}

timeval ToTimeval(std::chrono::milliseconds ms) {
  timeval tv{};
  tv.tv_sec = static_cast<time_t>(ms.count() / 1000);
  tv.tv_usec = static_cast<suseconds_t>((ms.count() % 1000) * 1000);
  return tv;
}

// SASL prompts are answered with their defaults: GSSAPI takes everything it
// needs from the ticket cache.
int AnswerDefaults(::LDAP*, unsigned, void*, void* prompts) {
  for (auto* p = static_cast<sasl_interact_t*>(prompts); p->id != SASL_CB_LIST_END; ++p) {
    p->result = p->defresult != nullptr ? p->defresult : "";
    p->len =
        static_cast<unsigned>(std::char_traits<char>::length(static_cast<const char*>(p->result)));
  }
  return LDAP_SUCCESS;
}

int ScopeOf(SearchScope scope) {
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

bool ServerDown(const DirectoryStatus& status) {
  return status.status == DirectoryHresult(win::ERROR_DS_SERVER_DOWN);
}

}  // namespace

struct LdapConnection::PageQuery {
  const std::string& base;
  const SearchRequest& request;
  char** wanted;
};

// The entry messages of one page, freed when handed out or dropped.
class LdapConnection::PendingEntries {
 public:
  PendingEntries() = default;
  PendingEntries(const PendingEntries&) = delete;
  PendingEntries& operator=(const PendingEntries&) = delete;
  ~PendingEntries() { Clear(); }
  void Add(LDAPMessage* message) { messages_.push_back(message); }
  std::vector<LDAPMessage*>& messages() { return messages_; }
  void Clear() {
    for (LDAPMessage* message : messages_) ldap_msgfree(message);
    messages_.clear();
  }

 private:
  std::vector<LDAPMessage*> messages_;
};

LdapConnection::LdapConnection(const CancelToken& cancel, std::chrono::milliseconds timeout)
    : cancel_(cancel), timeout_(timeout) {}

DirectoryStatus LdapConnection::Open(const std::string& url, const DirectoryOpenOptions& options,
                                     const Credentials& credentials) {
  Close();
  int rc = ldap_initialize(&ld_, url.c_str());
  if (rc != LDAP_SUCCESS) {
    ld_ = nullptr;
    DirectoryStatus status =
        DirectoryStatusFromLdap(ProtocolCode(rc), "not an LDAP URL: '" + url + "'");
    status.status = win::E_ADS_BAD_PATHNAME;
    return status;
  }
  const int version = LDAP_VERSION3;
  const timeval network = ToTimeval(timeout_);
  const int demand = LDAP_OPT_X_TLS_DEMAND;
  const int new_context = 0;
  ldap_set_option(ld_, LDAP_OPT_PROTOCOL_VERSION, &version);
  ldap_set_option(ld_, LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
  ldap_set_option(ld_, LDAP_OPT_NETWORK_TIMEOUT, &network);
  ldap_set_option(ld_, LDAP_OPT_TIMEOUT, &network);
  ldap_set_option(ld_, LDAP_OPT_X_TLS_REQUIRE_CERT, &demand);
  if (!options.ca_file.empty()) {
    ldap_set_option(ld_, LDAP_OPT_X_TLS_CACERTFILE, options.ca_file.c_str());
  }
  // The TLS options above belong to this handle only once it has a
  // context of its own.
  ldap_set_option(ld_, LDAP_OPT_X_TLS_NEWCTX, &new_context);

  const bool ldaps = text::StartsWithNoCase(url, "ldaps:");
  const bool start_tls = options.start_tls && !ldaps;
  DirectoryStatus status;
  if (start_tls) status = StartTls();
  if (status.ok()) status = Bind(credentials, ldaps || start_tls, url);
  if (!status.ok() && (ldaps || start_tls) && ServerDown(status) && !cancel_.cancelled()) {
    // The library rarely says why TLS failed; a second look does, within
    // a few seconds.
    const std::string cause =
        DiagnoseTls(url, start_tls, options.ca_file, std::min(timeout_, kDiagnosisTimeout));
    if (!cause.empty()) status.extended_text = cause;
  }
  if (!status.ok()) Close();
  return status;
}

void LdapConnection::Close() {
  if (ld_ != nullptr) ldap_unbind_ext_s(ld_, nullptr, nullptr);
  ld_ = nullptr;
}

DirectoryStatus LdapConnection::StartTls() {
  int msgid = 0;
  const int rc = ldap_start_tls(ld_, nullptr, nullptr, &msgid);
  if (rc != LDAP_SUCCESS) return Failure(rc);
  LDAPMessage* message = nullptr;
  DirectoryStatus status;
  if (Wait(msgid, &message, status) < 0) return status;
  status = ParsedResult(message, nullptr);
  if (!status.ok()) return status;
  const int installed = ldap_install_tls(ld_);
  return installed == LDAP_SUCCESS ? DirectoryStatus{} : Failure(installed);
}

DirectoryStatus LdapConnection::Bind(const Credentials& credentials, bool over_tls,
                                     const std::string& url) {
  if (credentials.use_kerberos) return KerberosBind(over_tls);
  // Anonymous binds too, so that an unreachable server shows at once.
  if (credentials.username.empty()) return SimpleBind({}, {});
  const std::string name = SimpleBindName(credentials);
  if (!credentials.password.empty() && !over_tls) return ClearPasswordRefused(url, name);
  DirectoryStatus status = SimpleBind(
      name, std::string_view(credentials.password.reveal(), credentials.password.size()));
  switch (status.extended_code) {
    case win::ERROR_LOGON_FAILURE:
    case win::ERROR_DS_INVALID_DN_SYNTAX:
    case win::ERROR_DS_INAPPROPRIATE_AUTH:
    case win::ERROR_DS_UNWILLING_TO_PERFORM:
      status.extended_text = RefusedBindText(status.extended_text, name);
      break;
    default:
      break;
  }
  return status;
}

DirectoryStatus LdapConnection::KerberosBind(bool over_tls) {
  // Integrity protection at least, unless TLS protects the connection
  // already (a domain controller refuses both layers at once).
  if (!over_tls) ldap_set_option(ld_, LDAP_OPT_X_SASL_SECPROPS, "minssf=1");
  // The service ticket is for the host as named, not for whatever a
  // reverse lookup of its address gives.
  ldap_set_option(ld_, LDAP_OPT_X_SASL_NOCANON, LDAP_OPT_ON);
  // Step by step rather than in one blocking call, so that every wait for
  // the server honours the timeout and the cancel token.
  LDAPMessage* result = nullptr;
  const char* mechanism = nullptr;
  int msgid = 0;
  int rc = LDAP_SUCCESS;
  for (;;) {
    rc = ldap_sasl_interactive_bind(ld_, nullptr, "GSSAPI", nullptr, nullptr, LDAP_SASL_QUIET,
                                    AnswerDefaults, nullptr, result, &mechanism, &msgid);
    ldap_msgfree(result);
    result = nullptr;
    if (rc != LDAP_SASL_BIND_IN_PROGRESS) break;
    DirectoryStatus failure;
    if (Wait(msgid, &result, failure) < 0) return failure;
  }
  if (rc == LDAP_SUCCESS) return {};
  DirectoryStatus status = Failure(rc);
  return status.status == DirectoryHresult(win::ERROR_CANCELLED)
             ? status
             : KerberosBindFailure(ProtocolCode(rc), status.extended_text);
}

DirectoryStatus LdapConnection::SimpleBind(const std::string& name, std::string_view password) {
  berval secret{};
  secret.bv_val = const_cast<char*>(password.data());
  secret.bv_len = password.size();
  int msgid = 0;
  const int rc =
      ldap_sasl_bind(ld_, name.c_str(), LDAP_SASL_SIMPLE, &secret, nullptr, nullptr, &msgid);
  if (rc != LDAP_SUCCESS) return Failure(rc);
  LDAPMessage* message = nullptr;
  DirectoryStatus status;
  if (Wait(msgid, &message, status) < 0) return status;
  return ParsedResult(message, nullptr);
}

DirectoryStatus LdapConnection::Search(const std::string& base, const SearchRequest& request,
                                       const EntrySink& sink) {
  if (ld_ == nullptr) {
    return DirectoryStatusFromLdap(kLdapServerDown, "the directory connection is not open");
  }
  std::vector<char*> attributes;
  for (const std::string& name : request.attributes) {
    attributes.push_back(const_cast<char*>(name.c_str()));
  }
  attributes.push_back(nullptr);
  const PageQuery query{base, request, request.attributes.empty() ? nullptr : attributes.data()};

  berval* cookie = nullptr;
  int msgid = 0;
  DirectoryStatus status = SendPage(query, cookie, msgid);
  PendingEntries page;
  while (status.ok() && msgid != 0) {
    DirectoryStatus received = ReceivePage(msgid, page, cookie);
    // The next page is on its way before this one is handed out: the
    // server's work and ours overlap.
    msgid = 0;
    if (received.ok() && cookie != nullptr && cookie->bv_len > 0) {
      received = SendPage(query, cookie, msgid);
    }
    ber_bvfree(cookie);
    cookie = nullptr;
    // What came before a failure is still handed out.
    DirectoryStatus delivered;
    const bool go_on = Deliver(page, request, sink, delivered);
    status = delivered.ok() ? received : delivered;
    if (!go_on || !status.ok()) {
      if (msgid != 0) ldap_abandon_ext(ld_, msgid, nullptr, nullptr);
      break;
    }
  }
  ber_bvfree(cookie);
  return status;
}

// Answers to other requests wait in the library's queue, so the sink may
// search meanwhile.
void LdapConnection::ReadObjects(std::span<const std::string> dns,
                                 std::span<const std::string> names, const AttributeKinds* kinds,
                                 const ObjectSink& sink) {
  std::vector<char*> wanted;
  for (const std::string& name : names) wanted.push_back(const_cast<char*>(name.c_str()));
  wanted.push_back(nullptr);
  char** attributes = names.empty() ? nullptr : wanted.data();
  // Each request in flight: its message id, or 0 and why it was not sent.
  std::deque<std::pair<int, DirectoryStatus>> in_flight;
  std::size_t sent = 0;
  const auto abandon_all = [&] {
    for (const auto& [msgid, unused] : in_flight) {
      if (msgid != 0 && ld_ != nullptr) ldap_abandon_ext(ld_, msgid, nullptr, nullptr);
    }
    in_flight.clear();
  };
  // A failure of the connection itself (timeout, cancel, server gone)
  // answers every object still to come at once.
  std::optional<DirectoryStatus> broken;
  for (std::size_t i = 0; i < dns.size(); ++i) {
    for (; !broken && sent < dns.size() && sent < i + kReadsInFlight; ++sent) {
      in_flight.push_back(SendRead(dns[sent], attributes));
    }
    DirectoryEntry entry;
    DirectoryStatus status;
    if (broken) {
      status = *broken;
    } else {
      auto [msgid, sending] = std::move(in_flight.front());
      in_flight.pop_front();
      status = msgid == 0 ? sending : ReceiveObject(msgid, entry, broken);
      if (broken) abandon_all();
    }
    if (status.ok()) {
      status =
          CompleteRanges(entry, [&](std::string_view dn, std::string_view name,
                                    DirectoryAttribute& out) { return ReadSlice(dn, name, out); });
    }
    if (status.ok()) TagKinds(entry, kinds);
    if (!sink(i, status, std::move(entry))) break;
  }
  abandon_all();
}

std::pair<int, DirectoryStatus> LdapConnection::SendRead(const std::string& dn, char** attributes) {
  if (ld_ == nullptr) {
    return {0, DirectoryStatusFromLdap(kLdapServerDown, "the directory connection is not open")};
  }
  int msgid = 0;
  const int rc = ldap_search_ext(ld_, dn.c_str(), LDAP_SCOPE_BASE, "(objectClass=*)", attributes, 0,
                                 nullptr, nullptr, nullptr, LDAP_NO_LIMIT, &msgid);
  if (rc != LDAP_SUCCESS) return {0, Failure(rc)};
  return {msgid, {}};
}

// The one object a base read `msgid` answers; `broken` is set when the
// connection failed rather than the read.
DirectoryStatus LdapConnection::ReceiveObject(int msgid, DirectoryEntry& entry,
                                              std::optional<DirectoryStatus>& broken) {
  bool found = false;
  for (;;) {
    LDAPMessage* message = nullptr;
    DirectoryStatus failure;
    const int type = Wait(msgid, &message, failure);
    if (type < 0) {
      broken = failure;
      return failure;
    }
    if (type == LDAP_RES_SEARCH_RESULT) {
      DirectoryStatus status = ParsedResult(message, nullptr);
      if (status.ok() && !found) status.status = DirectoryHresult(win::ERROR_DS_NO_SUCH_OBJECT);
      return status;
    }
    if (type == LDAP_RES_SEARCH_ENTRY && !found) {
      entry = ToEntry(message);
      found = true;
    }
    ldap_msgfree(message);
  }
}

// Asks for the page after `cookie` (the first without one).
DirectoryStatus LdapConnection::SendPage(const PageQuery& query, const berval* cookie, int& msgid) {
  const SearchRequest& request = query.request;
  LDAPControl* page = nullptr;
  int rc = LDAP_SUCCESS;
  if (request.page_size != 0) {
    rc = ldap_create_page_control(ld_, static_cast<ber_int_t>(request.page_size),
                                  const_cast<berval*>(cookie), 0, &page);
  }
  if (rc != LDAP_SUCCESS) return Failure(rc);
  LDAPControl* controls[] = {page, nullptr};
  rc = ldap_search_ext(ld_, query.base.c_str(), ScopeOf(request.scope), request.filter.c_str(),
                       query.wanted, 0, controls, nullptr, nullptr, LDAP_NO_LIMIT, &msgid);
  ldap_control_free(page);
  if (rc != LDAP_SUCCESS) {
    msgid = 0;
    return Failure(rc);
  }
  return {};
}

// Every entry of the page `msgid` into `page`, and its cookie.
DirectoryStatus LdapConnection::ReceivePage(int msgid, PendingEntries& page, berval*& cookie) {
  DirectoryStatus status;
  for (;;) {
    LDAPMessage* message = nullptr;
    const int type = Wait(msgid, &message, status);
    if (type < 0) return status;
    if (type == LDAP_RES_SEARCH_ENTRY) {
      page.Add(message);
    } else if (type == LDAP_RES_SEARCH_RESULT) {
      return PageResult(message, cookie);
    } else {
      ldap_msgfree(message);  // references: referrals are not followed
    }
  }
}

// Hands the page's entries out, each with its ranged values completed;
// false when the sink stopped or a completion failed (`status`).
bool LdapConnection::Deliver(PendingEntries& page, const SearchRequest& request,
                             const EntrySink& sink, DirectoryStatus& status) {
  bool go_on = true;
  for (LDAPMessage*& message : page.messages()) {
    if (!go_on) break;
    DirectoryEntry entry = ToEntry(message);
    ldap_msgfree(message);
    message = nullptr;
    status =
        CompleteRanges(entry, [&](std::string_view dn, std::string_view name,
                                  DirectoryAttribute& out) { return ReadSlice(dn, name, out); });
    if (!status.ok()) {
      go_on = false;
      break;
    }
    TagKinds(entry, request.kinds);
    go_on = sink(std::move(entry));
  }
  std::erase(page.messages(), nullptr);
  page.Clear();
  return go_on;
}

// One slice of a ranged attribute: a base read of that attribute alone.
DirectoryStatus LdapConnection::ReadSlice(std::string_view dn, std::string_view name,
                                          DirectoryAttribute& out) {
  const std::string base(dn);
  std::string wanted_name(name);
  char* wanted[] = {wanted_name.data(), nullptr};
  int msgid = 0;
  const int rc = ldap_search_ext(ld_, base.c_str(), LDAP_SCOPE_BASE, "(objectClass=*)", wanted, 0,
                                 nullptr, nullptr, nullptr, LDAP_NO_LIMIT, &msgid);
  if (rc != LDAP_SUCCESS) return Failure(rc);
  DirectoryStatus status;
  for (;;) {
    LDAPMessage* message = nullptr;
    const int type = Wait(msgid, &message, status);
    if (type < 0) return status;
    if (type == LDAP_RES_SEARCH_RESULT) return ParsedResult(message, nullptr);
    if (type == LDAP_RES_SEARCH_ENTRY) {
      DirectoryEntry entry = ToEntry(message);
      if (!entry.attributes.empty()) out = std::move(entry.attributes.front());
    }
    ldap_msgfree(message);
  }
}

// A client-side failure with what the library said about it. A failure
// while the run is being cancelled (a connect the signal interrupted) is the
// cancel.
DirectoryStatus LdapConnection::Failure(int rc) {
  if (cancel_.cancelled()) return DirectoryCancelled();
  std::string diagnostic;
  char* message = nullptr;
  if (ld_ != nullptr && ldap_get_option(ld_, LDAP_OPT_DIAGNOSTIC_MESSAGE, &message) == 0 &&
      message != nullptr) {
    diagnostic = message;
    ldap_memfree(message);
  }
  if (diagnostic.empty()) diagnostic = ldap_err2string(rc);
  return DirectoryStatusFromLdap(ProtocolCode(rc), diagnostic);
}

// The result message's code and diagnostic; frees the message.
DirectoryStatus LdapConnection::ParsedResult(LDAPMessage* message, LDAPControl*** controls) {
  int code = LDAP_SUCCESS;
  char* diagnostic = nullptr;
  const int rc = ldap_parse_result(ld_, message, &code, nullptr, &diagnostic, nullptr, controls, 1);
  if (rc != LDAP_SUCCESS) return Failure(rc);
  const std::string text = diagnostic != nullptr ? diagnostic : "";
  ldap_memfree(diagnostic);
  return DirectoryStatusFromLdap(
      code, text.empty() && code != LDAP_SUCCESS ? ldap_err2string(code) : text);
}

DirectoryStatus LdapConnection::PageResult(LDAPMessage* message, berval*& cookie) {
  LDAPControl** controls = nullptr;
  DirectoryStatus status = ParsedResult(message, &controls);
  if (status.ok() && controls != nullptr) {
    LDAPControl* page = ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, controls, nullptr);
    if (page != nullptr) {
      ber_int_t estimate = 0;
      berval next{};
      if (ldap_parse_pageresponse_control(ld_, page, &estimate, &next) == LDAP_SUCCESS) {
        cookie = ber_bvdup(&next);
        ber_memfree(next.bv_val);
      }
    }
  }
  ldap_controls_free(controls);
  return status;
}

// One message of `msgid`; its type, or -1 with `failure` set. The wait
// gives up (abandoning the operation) when the token is set or when the
// server has been silent for the whole timeout.
int LdapConnection::Wait(int msgid, LDAPMessage** out, DirectoryStatus& failure) {
  const Clock::time_point deadline = Clock::now() + timeout_;
  for (;;) {
    if (cancel_.cancelled()) {
      ldap_abandon_ext(ld_, msgid, nullptr, nullptr);
      failure = DirectoryCancelled();
      return -1;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      ldap_abandon_ext(ld_, msgid, nullptr, nullptr);
      failure = DirectoryStatusFromLdap(kLdapTimeout, "no answer from the server within " +
                                                          std::to_string(timeout_.count()) + " ms");
      return -1;
    }
    timeval slice = ToTimeval(std::min(left, kCancelPoll));
    const int type = ldap_result(ld_, msgid, LDAP_MSG_ONE, &slice, out);
    if (type > 0) return type;
    if (type < 0) {
      int rc = LDAP_SERVER_DOWN;
      ldap_get_option(ld_, LDAP_OPT_RESULT_CODE, &rc);
      failure = Failure(rc);
      return -1;
    }
  }
}

// The DN, names and values are read in place from the message: only the
// array of each attribute's values is allocated by the library, not a copy
// of every name and value.
DirectoryEntry LdapConnection::ToEntry(LDAPMessage* message) {
  DirectoryEntry entry;
  BerElement* ber = nullptr;
  berval text{};
  if (ldap_get_dn_ber(ld_, message, &ber, &text) != LDAP_SUCCESS) {
    if (ber != nullptr) ber_free(ber, 0);
    return entry;
  }
  entry.dn.assign(text.bv_val, text.bv_len);
  berval* values = nullptr;
  while (ldap_get_attribute_ber(ld_, message, ber, &text, &values) == LDAP_SUCCESS &&
         text.bv_val != nullptr) {
    DirectoryAttribute& attribute = entry.attributes.emplace_back();
    attribute.name.assign(text.bv_val, text.bv_len);
    if (values != nullptr) {
      std::size_t count = 0;
      while (values[count].bv_val != nullptr) ++count;
      attribute.values.reserve(count);
      for (std::size_t i = 0; i < count; ++i) {
        attribute.values.emplace_back(values[i].bv_val, values[i].bv_len);
      }
      ldap_memfree(values);
      values = nullptr;
    }
  }
  ber_free(ber, 0);
  return entry;
}

}  // namespace tabulon::platform::ldap

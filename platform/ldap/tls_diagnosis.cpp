#include "platform/ldap/tls_diagnosis.h"

#include <arpa/inet.h>
#include <gnutls/gnutls.h>
#include <gnutls/x509.h>
#include <ldap.h>

#include <array>
#include <memory>
#include <string_view>

namespace tabulon::platform::ldap {
namespace {

constexpr std::size_t kMaxNamesShown = 8;
constexpr std::size_t kMaxNameLength = 100;

// Certificate text as it may be shown: printable ASCII, bounded.
std::string Printable(std::string_view bytes) {
  std::string out;
  for (const char c : bytes.substr(0, kMaxNameLength)) {
    out += c >= 0x20 && c < 0x7F ? c : '?';
  }
  return out;
}

// A probe connection: its own handle, closed when it goes.
class Probe {
 public:
  Probe(const std::string& url, std::chrono::milliseconds timeout) {
    if (ldap_initialize(&ld_, url.c_str()) != LDAP_SUCCESS) {
      ld_ = nullptr;
      return;
    }
    const int version = LDAP_VERSION3;
    timeval limit{};
    limit.tv_sec = static_cast<time_t>(timeout.count() / 1000);
    limit.tv_usec = static_cast<suseconds_t>((timeout.count() % 1000) * 1000);
    ldap_set_option(ld_, LDAP_OPT_PROTOCOL_VERSION, &version);
    ldap_set_option(ld_, LDAP_OPT_NETWORK_TIMEOUT, &limit);
    ldap_set_option(ld_, LDAP_OPT_TIMEOUT, &limit);
  }
  ~Probe() {
    if (ld_ != nullptr) ldap_unbind_ext_s(ld_, nullptr, nullptr);
  }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  ::LDAP* handle() const { return ld_; }
  std::string Diagnostic() const {
    char* message = nullptr;
    std::string text;
    if (ld_ != nullptr && ldap_get_option(ld_, LDAP_OPT_DIAGNOSTIC_MESSAGE, &message) == 0 &&
        message != nullptr) {
      text = Printable(message);
      ldap_memfree(message);
    }
    return text;
  }

 private:
  ::LDAP* ld_ = nullptr;
};

struct Certificate {
  Certificate() { gnutls_x509_crt_init(&crt); }
  ~Certificate() { gnutls_x509_crt_deinit(crt); }
  Certificate(const Certificate&) = delete;
  Certificate& operator=(const Certificate&) = delete;
  gnutls_x509_crt_t crt = nullptr;
};

// The names a certificate is for: its subject alternative names, else its
// common name.
std::string NamesOf(gnutls_x509_crt_t crt) {
  std::string names;
  const auto add = [&](const std::string& name) {
    if (!names.empty()) names += ", ";
    names += name;
  };
  std::size_t shown = 0;
  for (unsigned i = 0; shown < kMaxNamesShown; ++i) {
    std::array<char, 256> name{};
    std::size_t size = name.size();
    const int type = gnutls_x509_crt_get_subject_alt_name(crt, i, name.data(), &size, nullptr);
    if (type == GNUTLS_E_REQUESTED_DATA_NOT_AVAILABLE) break;
    if (type == GNUTLS_SAN_DNSNAME) {
      add(Printable(std::string_view(name.data(), size)));
      ++shown;
    } else if (type == GNUTLS_SAN_IPADDRESS && (size == 4 || size == 16)) {
      std::array<char, INET6_ADDRSTRLEN> text{};
      if (inet_ntop(size == 4 ? AF_INET : AF_INET6, name.data(), text.data(), text.size())) {
        add(text.data());
        ++shown;
      }
    } else if (type < 0 && type != GNUTLS_E_SHORT_MEMORY_BUFFER) {
      break;
    }
  }
  if (!names.empty()) return names;
  std::array<char, 256> common{};
  std::size_t size = common.size();
  if (gnutls_x509_crt_get_dn_by_oid(crt, GNUTLS_OID_X520_COMMON_NAME, 0, 0, common.data(), &size) ==
      0) {
    return Printable(std::string_view(common.data(), size));
  }
  return "no name";
}

// What is wrong with the certificate `der` of `host`: empty when nothing is.
std::string CertificateProblem(const berval& der, const std::string& host,
                               const std::string& ca_file) {
  Certificate certificate;
  const gnutls_datum_t data{reinterpret_cast<unsigned char*>(der.bv_val),
                            static_cast<unsigned>(der.bv_len)};
  if (certificate.crt == nullptr ||
      gnutls_x509_crt_import(certificate.crt, &data, GNUTLS_X509_FMT_DER) < 0) {
    return "the server's certificate cannot be read";
  }
  if (gnutls_x509_crt_check_hostname(certificate.crt, host.c_str()) == 0) {
    return "name mismatch: the server's certificate does not name '" + Printable(host) +
           "' (it names " + NamesOf(certificate.crt) + ")";
  }
  gnutls_x509_trust_list_t trusted = nullptr;
  if (gnutls_x509_trust_list_init(&trusted, 0) < 0) return {};
  const std::unique_ptr<gnutls_x509_trust_list_st, void (*)(gnutls_x509_trust_list_t)> owned(
      trusted, [](gnutls_x509_trust_list_t list) { gnutls_x509_trust_list_deinit(list, 1); });
  const int added = ca_file.empty()
                        ? gnutls_x509_trust_list_add_system_trust(trusted, 0, 0)
                        : gnutls_x509_trust_list_add_trust_file(trusted, ca_file.c_str(), nullptr,
                                                                GNUTLS_X509_FMT_PEM, 0, 0);
  const std::string authorities =
      ca_file.empty() ? "the system's authorities" : "the authorities of '" + ca_file + "'";
  if (added <= 0) return "no certificate authority could be read from " + authorities;
  unsigned status = 0;
  if (gnutls_x509_trust_list_verify_crt(trusted, &certificate.crt, 1, 0, &status, nullptr) < 0 ||
      status == 0) {
    return {};
  }
  std::string why;
  gnutls_datum_t text{};
  if (gnutls_certificate_verification_status_print(status, GNUTLS_CRT_X509, &text, 0) == 0) {
    why = ": " + Printable(std::string_view(reinterpret_cast<const char*>(text.data), text.size));
    gnutls_free(text.data);
  }
  return "certificate not trusted: " + authorities + " do not vouch for the server's certificate" +
         why;
}

}  // namespace

std::string DiagnoseTls(const std::string& url, bool start_tls, const std::string& ca_file,
                        std::chrono::milliseconds timeout) {
  LDAPURLDesc* description = nullptr;
  if (ldap_url_parse(url.c_str(), &description) != LDAP_URL_SUCCESS) return {};
  const std::string host = description->lud_host != nullptr ? description->lud_host : "";
  const int port = description->lud_port;
  ldap_free_urldesc(description);
  const std::string bracketed = host.find(':') != std::string::npos ? "[" + host + "]" : host;
  const std::string where = bracketed + ":" + std::to_string(port);

  // Nothing answers at all: not a matter of TLS.
  {
    Probe plain("ldap://" + where, timeout);
    if (plain.handle() == nullptr || ldap_connect(plain.handle()) != LDAP_SUCCESS) return {};
  }
  Probe loose(url, timeout);
  if (loose.handle() == nullptr) return {};
  const int allow = LDAP_OPT_X_TLS_ALLOW;
  const int new_context = 0;
  ldap_set_option(loose.handle(), LDAP_OPT_X_TLS_REQUIRE_CERT, &allow);
  ldap_set_option(loose.handle(), LDAP_OPT_X_TLS_NEWCTX, &new_context);
  const int rc =
      start_tls ? ldap_start_tls_s(loose.handle(), nullptr, nullptr) : ldap_connect(loose.handle());
  if (rc != LDAP_SUCCESS) {
    const std::string said = loose.Diagnostic();
    return "TLS handshake with " + where + " failed" + (said.empty() ? "" : ": " + said);
  }
  berval der{};
  if (ldap_get_option(loose.handle(), LDAP_OPT_X_TLS_PEERCERT, &der) != LDAP_OPT_SUCCESS ||
      der.bv_val == nullptr) {
    return "TLS with " + where + ": the server sent no certificate";
  }
  std::string problem = CertificateProblem(der, host, ca_file);
  ldap_memfree(der.bv_val);
  return problem;
}

}  // namespace tabulon::platform::ldap

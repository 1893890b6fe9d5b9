#include "platform/ldap/dc_locator.h"

#include <arpa/nameser.h>
#include <netinet/in.h>
#include <resolv.h>

#include <algorithm>
#include <array>

namespace tabulon::platform::ldap {
namespace {

struct Record {
  LocatedController controller;
  std::uint16_t priority = 0;
  std::uint16_t weight = 0;
};

LocatedControllers NoDomain(std::string_view domain, std::string_view why) {
  LocatedControllers out;
  out.status.status = DirectoryHresult(win::ERROR_NO_SUCH_DOMAIN);
  out.status.extended_code = win::ERROR_NO_SUCH_DOMAIN;
  out.status.extended_text =
      "no domain controller of '" + std::string(domain) + "' in DNS: " + std::string(why);
  return out;
}

}  // namespace

LocatedControllers LocateDomainControllers(std::string_view dns_domain) {
  if (dns_domain.empty()) return NoDomain(dns_domain, "the base names no domain");
  const std::string name = "_ldap._tcp.dc._msdcs." + std::string(dns_domain);
  // A resolver state of our own: nothing is shared with other threads.
  struct __res_state state {};
  if (res_ninit(&state) != 0) return NoDomain(dns_domain, "the resolver cannot start");
  std::array<unsigned char, 65535> answer{};
  const int length = res_nquery(&state, name.c_str(), ns_c_in, ns_t_srv, answer.data(),
                                static_cast<int>(answer.size()));
  res_nclose(&state);
  if (length < 0) return NoDomain(dns_domain, "no SRV records for " + name);

  ns_msg message{};
  if (ns_initparse(answer.data(), length, &message) != 0) {
    return NoDomain(dns_domain, "the DNS answer does not parse");
  }
  std::vector<Record> records;
  for (int i = 0; i < ns_msg_count(message, ns_s_an); ++i) {
    ns_rr rr{};
    if (ns_parserr(&message, ns_s_an, i, &rr) != 0 || ns_rr_type(rr) != ns_t_srv ||
        ns_rr_rdlen(rr) < 7) {
      continue;
    }
    const unsigned char* data = ns_rr_rdata(rr);
    Record record;
    record.priority = static_cast<std::uint16_t>(ns_get16(data));
    record.weight = static_cast<std::uint16_t>(ns_get16(data + 2));
    record.controller.port = static_cast<std::uint16_t>(ns_get16(data + 4));
    std::array<char, NS_MAXDNAME> target{};
    if (dn_expand(ns_msg_base(message), ns_msg_end(message), data + 6, target.data(),
                  static_cast<int>(target.size())) < 0) {
      continue;
    }
    record.controller.host = target.data();
    if (!record.controller.host.empty() && record.controller.host != ".") {
      records.push_back(std::move(record));
    }
  }
  if (records.empty()) return NoDomain(dns_domain, "no usable SRV records for " + name);
  std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
    if (a.priority != b.priority) return a.priority < b.priority;
    if (a.weight != b.weight) return a.weight > b.weight;
    return a.controller.host < b.controller.host;
  });
  LocatedControllers out;
  for (Record& record : records) out.controllers.push_back(std::move(record.controller));
  return out;
}

}  // namespace tabulon::platform::ldap

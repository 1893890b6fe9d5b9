#include "format/sddl.h"

#include "format/sddl_vocabulary.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

namespace tabulon::format {
namespace {

using namespace sddl;  // NOLINT(google-build-using-namespace): the shared code tables

// The domain an account SID belongs to: S-1-5-21-a-b-c.
std::optional<platform::Sid> DomainOf(const platform::Sid& sid) {
  if (sid.authority != kNtAuthority || sid.sub_authorities.size() != kDomainSubAuthorities + 1 ||
      sid.sub_authorities[0] != kNonUniqueAuthority) {
    return std::nullopt;
  }
  platform::Sid domain = sid;
  domain.sub_authorities.pop_back();
  return domain;
}

std::string SidText(const platform::Sid& sid, const std::optional<platform::Sid>& domain) {
  std::string full = sid.ToString();
  for (const SidAlias& a : kWellKnownSids) {
    if (a.sid == full) return std::string(a.alias);
  }
  if (domain && DomainOf(sid) == domain) {
    for (const RidAlias& r : kDomainRids) {
      if (r.rid == sid.sub_authorities.back()) return std::string(r.alias);
    }
  }
  return full;
}

std::string RightsText(std::uint32_t mask) {
  for (const NamedBits& c : kCompositeRights) {
    if (c.bits == mask) return std::string(c.code);
  }
  std::string text;
  std::uint32_t covered = 0;
  for (const NamedBits& r : kRightBits) {
    if ((mask & r.bits) == 0) continue;
    text += r.code;
    covered |= r.bits;
  }
  if (covered == mask) return text;
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%x", mask);
  return hex;
}

std::string AceText(const Ace& ace, const std::optional<platform::Sid>& domain) {
  std::string text = "(";
  for (const AceTypeCode& t : kAceTypes) {
    if (t.type == ace.type) text += t.code;
  }
  text += ';';
  for (const NamedBits& f : kAceFlags) {
    if ((ace.flags & f.bits) != 0) text += f.code;
  }
  text += ';';
  text += RightsText(ace.mask);
  text += ';';
  if (ace.object_type) text += GuidTextLower(*ace.object_type);
  text += ';';
  if (ace.inherited_object_type) text += GuidTextLower(*ace.inherited_object_type);
  text += ';';
  text += SidText(ace.sid, domain);
  text += ')';
  return text;
}

void AppendAcl(std::string& out, std::string_view prefix, std::uint16_t control,
               const std::optional<Acl>& acl, const AclFlags& flags,
               const std::optional<platform::Sid>& domain) {
  if ((control & flags.present) == 0) return;
  out += prefix;
  if ((control & flags.is_protected) != 0) out += 'P';
  if ((control & flags.auto_inherit_req) != 0) out += "AR";
  if ((control & flags.auto_inherited) != 0) out += "AI";
  if (!acl) {
    out += kNullAcl;
    return;
  }
  for (const Ace& ace : acl->aces) out += AceText(ace, domain);
}

}  // namespace

std::string SddlText(const SecurityDescriptor& descriptor) {
  const std::optional<platform::Sid> domain =
      descriptor.owner ? DomainOf(*descriptor.owner) : std::nullopt;
  std::string out;
  if (descriptor.owner) out += "O:" + SidText(*descriptor.owner, domain);
  if (descriptor.group) out += "G:" + SidText(*descriptor.group, domain);
  AppendAcl(out, "D:", descriptor.control, descriptor.dacl, kDaclFlags, domain);
  AppendAcl(out, "S:", descriptor.control, descriptor.sacl, kSaclFlags, domain);
  return out;
}

}  // namespace tabulon::format

#include "format/sddl.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

namespace tabulon::format {
namespace {

struct SidAlias {
  std::string_view sid;
  std::string_view alias;
};

constexpr std::array kWellKnownSids{
    SidAlias{"S-1-1-0", "WD"},      SidAlias{"S-1-3-0", "CO"},      SidAlias{"S-1-3-1", "CG"},
    SidAlias{"S-1-3-4", "OW"},      SidAlias{"S-1-5-2", "NU"},      SidAlias{"S-1-5-4", "IU"},
    SidAlias{"S-1-5-6", "SU"},      SidAlias{"S-1-5-7", "AN"},      SidAlias{"S-1-5-9", "ED"},
    SidAlias{"S-1-5-10", "PS"},     SidAlias{"S-1-5-11", "AU"},     SidAlias{"S-1-5-12", "RC"},
    SidAlias{"S-1-5-18", "SY"},     SidAlias{"S-1-5-19", "LS"},     SidAlias{"S-1-5-20", "NS"},
    SidAlias{"S-1-5-33", "WR"},     SidAlias{"S-1-5-32-544", "BA"}, SidAlias{"S-1-5-32-545", "BU"},
    SidAlias{"S-1-5-32-546", "BG"}, SidAlias{"S-1-5-32-547", "PU"}, SidAlias{"S-1-5-32-548", "AO"},
    SidAlias{"S-1-5-32-549", "SO"}, SidAlias{"S-1-5-32-550", "PO"}, SidAlias{"S-1-5-32-551", "BO"},
    SidAlias{"S-1-5-32-552", "RE"}, SidAlias{"S-1-5-32-554", "RU"}, SidAlias{"S-1-5-32-555", "RD"},
    SidAlias{"S-1-5-32-556", "NO"}, SidAlias{"S-1-5-32-558", "MU"}, SidAlias{"S-1-5-32-559", "LU"},
    SidAlias{"S-1-5-32-568", "IS"}, SidAlias{"S-1-5-32-569", "CY"}, SidAlias{"S-1-5-32-573", "ER"},
    SidAlias{"S-1-5-32-575", "RA"}, SidAlias{"S-1-5-32-576", "ES"}, SidAlias{"S-1-5-32-577", "MS"},
    SidAlias{"S-1-5-32-578", "HA"}, SidAlias{"S-1-15-2-1", "AC"},   SidAlias{"S-1-16-4096", "LW"},
    SidAlias{"S-1-16-8192", "ME"},  SidAlias{"S-1-16-8448", "MP"},  SidAlias{"S-1-16-12288", "HI"},
    SidAlias{"S-1-16-16384", "SI"},
};

struct RidAlias {
  std::uint32_t rid;
  std::string_view alias;
};

// Accounts and groups of a domain, relative to the owner's domain.
constexpr std::array kDomainRids{
    RidAlias{498, "RO"}, RidAlias{500, "LA"}, RidAlias{501, "LG"}, RidAlias{512, "DA"},
    RidAlias{513, "DU"}, RidAlias{514, "DG"}, RidAlias{515, "DC"}, RidAlias{516, "DD"},
    RidAlias{517, "CA"}, RidAlias{518, "SA"}, RidAlias{519, "EA"}, RidAlias{520, "PA"},
    RidAlias{522, "CN"}, RidAlias{525, "AP"}, RidAlias{526, "KA"}, RidAlias{527, "EK"},
    RidAlias{553, "RS"},
};

struct NamedBits {
  std::uint32_t bits;
  std::string_view code;
};

// Masks written as one code when they match exactly; the key execute set
// equals the key read set, which is written KR.
constexpr std::array kCompositeRights{
    NamedBits{0x1F01FF, "FA"}, NamedBits{0x120089, "FR"}, NamedBits{0x120116, "FW"},
    NamedBits{0x1200A0, "FX"}, NamedBits{0xF003F, "KA"},  NamedBits{0x20019, "KR"},
    NamedBits{0x20006, "KW"},  NamedBits{0x20019, "KX"},
};

// Single rights, in the order they are written (lowest bit first).
constexpr std::array kRightBits{
    NamedBits{0x1, "CC"},        NamedBits{0x2, "DC"},        NamedBits{0x4, "LC"},
    NamedBits{0x8, "SW"},        NamedBits{0x10, "RP"},       NamedBits{0x20, "WP"},
    NamedBits{0x40, "DT"},       NamedBits{0x80, "LO"},       NamedBits{0x100, "CR"},
    NamedBits{0x10000, "SD"},    NamedBits{0x20000, "RC"},    NamedBits{0x40000, "WD"},
    NamedBits{0x80000, "WO"},    NamedBits{0x10000000, "GA"}, NamedBits{0x20000000, "GX"},
    NamedBits{0x40000000, "GW"}, NamedBits{0x80000000, "GR"},
};

constexpr std::array kAceFlags{
    NamedBits{0x1, "OI"},  NamedBits{0x2, "CI"},  NamedBits{0x4, "NP"},  NamedBits{0x8, "IO"},
    NamedBits{0x10, "ID"}, NamedBits{0x40, "SA"}, NamedBits{0x80, "FA"},
};

struct AceTypeCode {
  AceType type;
  std::string_view code;
};

constexpr std::array kAceTypes{
    AceTypeCode{AceType::kAccessAllowed, "A"},
    AceTypeCode{AceType::kAccessDenied, "D"},
    AceTypeCode{AceType::kSystemAudit, "AU"},
    AceTypeCode{AceType::kSystemAlarm, "AL"},
    AceTypeCode{AceType::kAccessAllowedObject, "OA"},
    AceTypeCode{AceType::kAccessDeniedObject, "OD"},
    AceTypeCode{AceType::kSystemAuditObject, "OU"},
    AceTypeCode{AceType::kSystemAlarmObject, "OL"},
    AceTypeCode{AceType::kSystemMandatoryLabel, "ML"},
};

struct AclFlags {
  std::uint16_t present;
  std::uint16_t is_protected;
  std::uint16_t auto_inherit_req;
  std::uint16_t auto_inherited;
};

constexpr AclFlags kDaclFlags{kSeDaclPresent, kSeDaclProtected, kSeDaclAutoInheritReq,
                              kSeDaclAutoInherited};
constexpr AclFlags kSaclFlags{kSeSaclPresent, kSeSaclProtected, kSeSaclAutoInheritReq,
                              kSeSaclAutoInherited};

constexpr std::uint64_t kNtAuthority = 5;
constexpr std::uint32_t kNonUniqueAuthority = 21;
constexpr std::size_t kDomainSubAuthorities = 4;  // 21 and the three domain parts

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
    out += "NO_ACCESS_CONTROL";
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

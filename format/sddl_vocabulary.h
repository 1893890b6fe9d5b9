#pragma once
// The codes of the security descriptor text form, shared by its writer and
// its reader so that both speak exactly the same vocabulary.
#include <array>
#include <cstdint>
#include <string_view>

#include "format/security_descriptor.h"

namespace tabulon::format::sddl {

struct SidAlias {
  std::string_view sid;
  std::string_view alias;
};

inline constexpr std::array kWellKnownSids{
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

// Accounts and groups of a domain, relative to the descriptor's domain.
inline constexpr std::array kDomainRids{
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
inline constexpr std::array kCompositeRights{
    NamedBits{0x1F01FF, "FA"}, NamedBits{0x120089, "FR"}, NamedBits{0x120116, "FW"},
    NamedBits{0x1200A0, "FX"}, NamedBits{0xF003F, "KA"},  NamedBits{0x20019, "KR"},
    NamedBits{0x20006, "KW"},  NamedBits{0x20019, "KX"},
};

// Single rights, in the order they are written (lowest bit first).
inline constexpr std::array kRightBits{
    NamedBits{0x1, "CC"},        NamedBits{0x2, "DC"},        NamedBits{0x4, "LC"},
    NamedBits{0x8, "SW"},        NamedBits{0x10, "RP"},       NamedBits{0x20, "WP"},
    NamedBits{0x40, "DT"},       NamedBits{0x80, "LO"},       NamedBits{0x100, "CR"},
    NamedBits{0x10000, "SD"},    NamedBits{0x20000, "RC"},    NamedBits{0x40000, "WD"},
    NamedBits{0x80000, "WO"},    NamedBits{0x10000000, "GA"}, NamedBits{0x20000000, "GX"},
    NamedBits{0x40000000, "GW"}, NamedBits{0x80000000, "GR"},
};

inline constexpr std::array kAceFlags{
    NamedBits{0x1, "OI"},  NamedBits{0x2, "CI"},  NamedBits{0x4, "NP"},  NamedBits{0x8, "IO"},
    NamedBits{0x10, "ID"}, NamedBits{0x40, "SA"}, NamedBits{0x80, "FA"},
};

struct AceTypeCode {
  AceType type;
  std::string_view code;
};

inline constexpr std::array kAceTypes{
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

// The control bits of one access list and their codes after "D:" or "S:".
struct AclFlags {
  std::uint16_t present;
  std::uint16_t is_protected;      // "P"
  std::uint16_t auto_inherit_req;  // "AR"
  std::uint16_t auto_inherited;    // "AI"
};

inline constexpr AclFlags kDaclFlags{kSeDaclPresent, kSeDaclProtected, kSeDaclAutoInheritReq,
                                     kSeDaclAutoInherited};
inline constexpr AclFlags kSaclFlags{kSeSaclPresent, kSeSaclProtected, kSeSaclAutoInheritReq,
                                     kSeSaclAutoInherited};
inline constexpr std::string_view kNullAcl = "NO_ACCESS_CONTROL";

inline constexpr std::uint64_t kNtAuthority = 5;
inline constexpr std::uint32_t kNonUniqueAuthority = 21;
inline constexpr std::size_t kDomainSubAuthorities = 4;  // 21 and the three domain parts

}  // namespace tabulon::format::sddl

#include "format/sddl_reader.h"

#include <array>
#include <cctype>
#include <string>

#include "format/sddl_vocabulary.h"

namespace tabulon::format {
namespace {

using namespace sddl;  // NOLINT(google-build-using-namespace): the shared code tables

constexpr std::size_t kGuidLength = 36;

bool IsObjectType(AceType type) {
  return type == AceType::kAccessAllowedObject || type == AceType::kAccessDeniedObject ||
         type == AceType::kSystemAuditObject || type == AceType::kSystemAlarmObject;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// "0x..." in hexadecimal or plain decimal, within 32 bits.
std::optional<std::uint32_t> Number(std::string_view text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string_view digits = hex ? text.substr(2) : text;
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    const int d = hex ? HexValue(c) : (IsDigit(c) ? c - '0' : -1);
    if (d < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(d);
    if (value > 0xFFFFFFFFULL) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

// 6b29fc40-ca47-1067-b31d-00dd010662da: Data1 to Data3 stored little-endian.
std::optional<Guid> GuidFromText(std::string_view text) {
  if (text.size() != kGuidLength) return std::nullopt;
  std::array<std::uint8_t, 16> in_order{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (text[i] != '-') return std::nullopt;
      ++i;
      continue;
    }
    const int high = HexValue(text[i]);
    const int low = HexValue(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    in_order[n++] = static_cast<std::uint8_t>(high * 16 + low);
    i += 2;
  }
  Guid guid;
  constexpr std::array<std::size_t, 16> kStored{3, 2, 1,  0,  5,  4,  7,  6,
                                                8, 9, 10, 11, 12, 13, 14, 15};
  for (std::size_t i = 0; i < 16; ++i) guid.bytes[i] = in_order[kStored[i]];
  return guid;
}

class Reader {
 public:
  Reader(std::string_view text, const std::optional<platform::Sid>& domain)
      : text_(text), domain_(domain) {}

  SddlParse Run() {
    SddlParse parse;
    while (at_ < text_.size() && ReadPart(parse.value)) {
    }
    parse.status = status_;
    parse.position = failed_at_;
    if (!parse.ok()) parse.value = {};
    return parse;
  }

 private:
  bool Fail(SddlStatus status, std::size_t at) {
    status_ = status;
    failed_at_ = at;
    return false;
  }

  bool AtPartStart() const { return at_ + 1 < text_.size() && text_[at_ + 1] == ':'; }

  // The text up to (not including) the next of `stops`, or to the end.
  std::string_view Field(std::string_view stops) {
    const std::size_t end = text_.find_first_of(stops, at_);
    const std::string_view field =
        text_.substr(at_, end == std::string_view::npos ? std::string_view::npos : end - at_);
    at_ += field.size();
    return field;
  }

  bool Expect(char c, SddlStatus status) {
    if (at_ >= text_.size() || text_[at_] != c) return Fail(status, at_);
    ++at_;
    return true;
  }

  bool ReadPart(SecurityDescriptor& sd) {
    const std::size_t start = at_;
    if (!AtPartStart()) return Fail(SddlStatus::kBadPart, start);
    const char letter = text_[at_];
    at_ += 2;
    const auto once = [&](bool given) { return given ? Fail(SddlStatus::kBadPart, start) : true; };
    switch (letter) {
      case 'O':
        return once(sd.owner.has_value()) && ReadSid(sd.owner.emplace());
      case 'G':
        return once(sd.group.has_value()) && ReadSid(sd.group.emplace());
      case 'D':
        return once((sd.control & kSeDaclPresent) != 0) && ReadAcl(sd, kDaclFlags, sd.dacl);
      case 'S':
        return once((sd.control & kSeSaclPresent) != 0) && ReadAcl(sd, kSaclFlags, sd.sacl);
      default:
        return Fail(SddlStatus::kBadPart, start);
    }
  }

  // A string SID runs through its numbers; an alias is two letters.
  bool ReadSid(platform::Sid& out) {
    const std::size_t start = at_;
    const std::string_view rest = text_.substr(at_);
    if (rest.starts_with("S-")) {
      // Only the authority may be hexadecimal, and at most 12 digits long
      // (48 bits), so that a part letter after it is not taken for a digit.
      constexpr std::size_t kAuthorityPart = 1;
      constexpr std::size_t kMaxHexDigits = 12;
      std::size_t end = 2;
      for (std::size_t part = 0;; ++part) {
        const std::string_view here = rest.substr(end);
        const bool hex =
            part == kAuthorityPart && (here.starts_with("0x") || here.starts_with("0X"));
        if (hex) end += 2;
        const std::size_t digits = end;
        while (end < rest.size() && (hex ? HexValue(rest[end]) >= 0 && end - digits < kMaxHexDigits
                                         : IsDigit(rest[end]))) {
          ++end;
        }
        if (end == digits) return Fail(SddlStatus::kBadSid, start);
        if (end + 1 >= rest.size() || rest[end] != '-' || !IsDigit(rest[end + 1])) break;
        ++end;
      }
      const auto sid = platform::Sid::Parse(rest.substr(0, end));
      if (!sid) return Fail(SddlStatus::kBadSid, start);
      out = *sid;
      at_ += end;
      return true;
    }
    const std::string_view alias = rest.substr(0, 2);
    for (const SidAlias& a : kWellKnownSids) {
      if (a.alias != alias) continue;
      out = *platform::Sid::Parse(a.sid);
      at_ += 2;
      return true;
    }
    for (const RidAlias& r : kDomainRids) {
      if (r.alias != alias) continue;
      if (!domain_) return Fail(SddlStatus::kNoDomain, start);
      out = *domain_;
      out.sub_authorities.push_back(r.rid);
      at_ += 2;
      return true;
    }
    return Fail(SddlStatus::kBadSid, start);
  }

  bool ReadAcl(SecurityDescriptor& sd, const AclFlags& flags, std::optional<Acl>& acl) {
    sd.control |= flags.present;
    bool null_acl = false;
    while (at_ < text_.size() && text_[at_] != '(' && !AtPartStart()) {
      const std::string_view rest = text_.substr(at_);
      if (rest.starts_with(kNullAcl)) {
        null_acl = true;
        at_ += kNullAcl.size();
      } else if (rest.starts_with("P")) {
        sd.control |= flags.is_protected;
        at_ += 1;
      } else if (rest.starts_with("AI")) {
        sd.control |= flags.auto_inherited;
        at_ += 2;
      } else if (rest.starts_with("AR")) {
        sd.control |= flags.auto_inherit_req;
        at_ += 2;
      } else {
        return Fail(SddlStatus::kBadAclFlags, at_);
      }
    }
    if (null_acl) {
      // A null list has no entries to give.
      return at_ < text_.size() && text_[at_] == '(' ? Fail(SddlStatus::kBadAce, at_) : true;
    }
    Acl& list = acl.emplace();
    const std::size_t start = at_;
    while (at_ < text_.size() && text_[at_] == '(') {
      if (!ReadAce(list.aces.emplace_back())) return false;
      if (IsObjectType(list.aces.back().type)) list.revision = 4;
    }
    // Whether the list fits is known only once it is laid out.
    SecurityDescriptor alone;
    alone.dacl = list;
    if (!SelfRelativeBytes(alone)) return Fail(SddlStatus::kTooLarge, start);
    return true;
  }

  // Two-letter codes from `table` or'ed together.
  template <std::size_t N>
  bool Codes(const std::array<NamedBits, N>& table, std::string_view field, std::size_t start,
             SddlStatus status, std::uint32_t& out) {
    for (std::size_t i = 0; i < field.size(); i += 2) {
      const std::string_view code = field.substr(i, 2);
      bool known = false;
      for (const NamedBits& entry : table) {
        if (entry.code != code) continue;
        out |= entry.bits;
        known = true;
        break;
      }
      if (!known) return Fail(status, start + i);
    }
    return true;
  }

  bool ReadRights(std::uint32_t& mask) {
    const std::size_t start = at_;
    const std::string_view field = Field(";)");
    if (!field.empty() && IsDigit(field[0])) {
      const auto value = Number(field);
      if (!value) return Fail(SddlStatus::kBadRights, start);
      mask = *value;
      return true;
    }
    for (std::size_t i = 0; i < field.size(); i += 2) {
      const std::string_view code = field.substr(i, 2);
      bool composite = false;
      for (const NamedBits& entry : kCompositeRights) {
        if (entry.code != code) continue;
        mask |= entry.bits;
        composite = true;
        break;
      }
      if (!composite && !Codes(kRightBits, code, start + i, SddlStatus::kBadRights, mask)) {
        return false;
      }
    }
    return true;
  }

  bool ReadGuid(std::optional<Guid>& out) {
    const std::size_t start = at_;
    const std::string_view field = Field(";)");
    if (field.empty()) return true;
    out = GuidFromText(field);
    return out ? true : Fail(SddlStatus::kBadGuid, start);
  }

  bool ReadAce(Ace& ace) {
    const std::size_t start = at_;
    ++at_;  // the opening bracket
    const std::string_view type = Field(";)");
    bool known = false;
    for (const AceTypeCode& t : kAceTypes) {
      if (t.code != type) continue;
      ace.type = t.type;
      known = true;
    }
    if (!known) return Fail(SddlStatus::kBadAce, start + 1);
    if (!Expect(';', SddlStatus::kBadAce)) return false;
    const std::size_t flags_at = at_;
    std::uint32_t flags = 0;
    if (!Codes(kAceFlags, Field(";)"), flags_at, SddlStatus::kBadAce, flags)) return false;
    ace.flags = static_cast<std::uint8_t>(flags);
    if (!Expect(';', SddlStatus::kBadAce) || !ReadRights(ace.mask) ||
        !Expect(';', SddlStatus::kBadAce)) {
      return false;
    }
    const std::size_t guids_at = at_;
    if (!ReadGuid(ace.object_type) || !Expect(';', SddlStatus::kBadAce) ||
        !ReadGuid(ace.inherited_object_type) || !Expect(';', SddlStatus::kBadAce)) {
      return false;
    }
    if (!IsObjectType(ace.type) && (ace.object_type || ace.inherited_object_type)) {
      return Fail(SddlStatus::kBadGuid, guids_at);
    }
    return ReadSid(ace.sid) && Expect(')', SddlStatus::kBadAce);
  }

  std::string_view text_;
  const std::optional<platform::Sid>& domain_;
  std::size_t at_ = 0;
  SddlStatus status_ = SddlStatus::kOk;
  std::size_t failed_at_ = 0;
};

}  // namespace

SddlParse ReadSddl(std::string_view text, const std::optional<platform::Sid>& domain) {
  return Reader(text, domain).Run();
}

SddlBytes SddlToBytes(std::string_view text, const std::optional<platform::Sid>& domain) {
  SddlParse parse = ReadSddl(text, domain);
  SddlBytes out;
  out.status = parse.status;
  out.position = parse.position;
  if (!parse.ok()) return out;
  // Every list was laid out once already, so the whole fits too.
  out.bytes = *SelfRelativeBytes(parse.value);
  return out;
}

std::string SddlErrorText(SddlStatus status, std::size_t position) {
  static constexpr std::array<std::string_view, 9> kTexts{
      "no error", "bad part",   "bad SID",         "domain alias without a domain", "bad ACL flags",
      "bad ACE",  "bad rights", "bad object GUID", "access list too large"};
  return std::string(kTexts[static_cast<std::size_t>(status)]) + " at character " +
         std::to_string(position + 1);
}

}  // namespace tabulon::format

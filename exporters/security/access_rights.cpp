#include "exporters/security/access_rights.h"

#include <array>
#include <span>

#include "format/lists.h"

namespace tabulon {
namespace {

// A name applies when the mask has any of its bits.
struct RightName {
  std::uint32_t bits;
  std::string_view name;
};

constexpr std::array kPrinterRights{
    RightName{0x00000008, "PRINT"},       RightName{0x00000004, "ADMIN_PRINTER"},
    RightName{0x00000010, "ADMIN_DOC"},   RightName{0x00040000, "WRITE_DAC"},
    RightName{0x00080000, "WRITE_OWNER"},
};

constexpr std::array kServiceRights{
    RightName{0x00000001, "QUERY_CONFIG"},   RightName{0x00000002, "CHANGE_CONFIG"},
    RightName{0x00000004, "QUERY_STATUS"},   RightName{0x00000008, "ENUM_DEPENDS"},
    RightName{0x00000010, "START"},          RightName{0x00000020, "STOP"},
    RightName{0x00000040, "PAUSE_CONTINUE"}, RightName{0x00000080, "INTERROGATE"},
    RightName{0x00000100, "USER_DEFINED"},   RightName{0x00040000, "WRITE_DAC"},
    RightName{0x00080000, "WRITE_OWNER"},
};

// READ stands for any of the key read bits.
constexpr std::array kRegistryRights{
    RightName{0x00000001, "QUERY_VALUE"},   RightName{0x00000002, "SET_VALUE"},
    RightName{0x00000004, "CREATE_SUBKEY"}, RightName{0x00000008, "ENUM_KEYS"},
    RightName{0x00000010, "NOTIFY"},        RightName{0x00000020, "CREATE_LINK"},
    RightName{0x00020019, "READ"},          RightName{0x00040000, "WRITE_DAC"},
    RightName{0x00080000, "WRITE_OWNER"},
};

constexpr std::array kFileCommonRights{
    RightName{0x00000080, "READ_ATTRIB"}, RightName{0x00000001, "READ_DATA"},
    RightName{0x00000008, "READ_EA"},     RightName{0x00000100, "WRITE_ATTRIB"},
    RightName{0x00000010, "WRITE_EA"},    RightName{0x00020000, "READ_PERM"},
    RightName{0x00100000, "SYNC"},        RightName{0x00080000, "WRITE_OWNER"},
    RightName{0x00040000, "WRITE_PERM"},  RightName{0x00010000, "DELETE"},
};

constexpr std::array kDirectoryRights{
    RightName{0x00000004, "ADD_SUBDIR"}, RightName{0x00000001, "LIST"},
    RightName{0x00000020, "TRAVERSE"},   RightName{0x00000002, "ADD_FILE"},
    RightName{0x00000040, "DELDIR"},
};

constexpr std::array kFileOnlyRights{
    RightName{0x00000004, "APPEND"},
    RightName{0x00000020, "EXECUTE"},
    RightName{0x00000002, "WRITE_DATA"},
};

constexpr std::array kInheritanceFlags{
    RightName{0x02, "CONTAINER_INHERIT"}, RightName{0x08, "INHERIT_ONLY"},
    RightName{0x10, "INHERITED"},         RightName{0x04, "NOPROP_INHERIT"},
    RightName{0x01, "OBJECT_INHERIT"},
};

struct KindRights {
  RightsKind kind;
  std::uint32_t full_control;
  std::span<const RightName> first;
  std::span<const RightName> second;  // files and directories: their own rights
};

constexpr std::array kKinds{
    KindRights{RightsKind::kPrinter, 0x000F000C, kPrinterRights, {}},
    KindRights{RightsKind::kService, 0x000F01FF, kServiceRights, {}},
    KindRights{RightsKind::kRegistry, 0x000F003F, kRegistryRights, {}},
    KindRights{RightsKind::kFile, 0x001F01FF, kFileCommonRights, kFileOnlyRights},
    KindRights{RightsKind::kDirectory, 0x001F01FF, kFileCommonRights, kDirectoryRights},
};

constexpr std::string_view kFullControl = "FULL_CONTROL";
constexpr std::uint32_t kFileFullControl = 0x001F01FF;
constexpr std::uint32_t kStandardRights = 0x001F0000;
constexpr std::uint32_t kWriteDac = 0x00040000;
constexpr std::uint32_t kDelete = 0x00010000;
constexpr std::uint32_t kGenericAll = 0x10000000;

void AppendNames(std::string& out, std::span<const RightName> table, std::uint32_t mask,
                 std::string_view delimiter) {
  for (const RightName& right : table) {
    if ((mask & right.bits) != 0) format::AppendDelimited(out, right.name, delimiter);
  }
}

}  // namespace

std::string RightNames(RightsKind kind, std::uint32_t mask, std::string_view delimiter) {
  std::string names;
  for (const KindRights& k : kKinds) {
    if (k.kind != kind) continue;
    if (mask == k.full_control) return std::string(kFullControl);
    AppendNames(names, k.first, mask, delimiter);
    AppendNames(names, k.second, mask, delimiter);
  }
  return names;
}

std::string_view ShareAccess(bool deny, std::uint32_t mask) {
  if (deny) return "NONE";
  if ((mask & kWriteDac) != 0 || (mask & kGenericAll) != 0) return kFullControl;
  if ((mask & kDelete) != 0) return "CHANGE";
  return "READ";
}

std::string InheritanceFlagNames(std::uint8_t flags, std::string_view delimiter) {
  std::string names;
  AppendNames(names, kInheritanceFlags, flags, delimiter);
  return names;
}

FileAccessSummary SummariseFileAccess(std::uint32_t mask) {
  if (mask == kFileFullControl || (mask & kStandardRights) == kStandardRights) {
    return {kFullControl, "RWXDPO"};
  }
  struct Letter {
    std::uint32_t bits;
    char letter;
  };
  // Each letter also stands for its generic right.
  static constexpr std::array kLetters{
      Letter{0x00000001 | 0x80000000, 'R'},
      Letter{0x00000002 | 0x40000000, 'W'},
      Letter{0x00000020 | 0x20000000, 'X'},
      Letter{0x00010000, 'D'},
      Letter{0x00040000, 'P'},
      Letter{0x00080000, 'O'},
  };
  FileAccessSummary summary{"SPECIAL", {}};
  for (const Letter& l : kLetters) {
    if ((mask & l.bits) != 0) summary.flags += l.letter;
  }
  if (summary.flags == "RX") summary.summary = "READ";
  if (summary.flags == "RWXD") summary.summary = "CHANGE";
  return summary;
}

}  // namespace tabulon

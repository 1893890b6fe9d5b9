// Rights masks named per kind of object: full control, single bits, the
// registry's READ, generic bits, the share values and the file summaries.
#include "exporters/security/access_rights.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

TEST(AccessRights, NamesPerKind) {
  struct Case {
    RightsKind kind;
    std::uint32_t mask;
    const char* names;
  } cases[] = {
      {RightsKind::kPrinter, 0x000F000C, "FULL_CONTROL"},
      {RightsKind::kPrinter, 0x000F000D, "PRINT^ADMIN_PRINTER^WRITE_DAC^WRITE_OWNER"},
      {RightsKind::kPrinter, 0x000C001C, "PRINT^ADMIN_PRINTER^ADMIN_DOC^WRITE_DAC^WRITE_OWNER"},
      {RightsKind::kPrinter, 0x10000000, ""},
      {RightsKind::kService, 0x000F01FF, "FULL_CONTROL"},
      {RightsKind::kService, 0x000001FF,
       "QUERY_CONFIG^CHANGE_CONFIG^QUERY_STATUS^ENUM_DEPENDS^START^STOP^PAUSE_CONTINUE^"
       "INTERROGATE^USER_DEFINED"},
      {RightsKind::kService, 0x000C0000, "WRITE_DAC^WRITE_OWNER"},
      {RightsKind::kService, 0xF0030000, ""},
      {RightsKind::kRegistry, 0x000F003F, "FULL_CONTROL"},
      {RightsKind::kRegistry, 0x00000001, "QUERY_VALUE^READ"},
      {RightsKind::kRegistry, 0x00020000, "READ"},
      {RightsKind::kRegistry, 0x000C0026,
       "SET_VALUE^CREATE_SUBKEY^CREATE_LINK^WRITE_DAC^WRITE_OWNER"},
      {RightsKind::kRegistry, 0x80000000, ""},
      {RightsKind::kFile, 0x001F01FF, "FULL_CONTROL"},
      {RightsKind::kFile, 0x001200A9, "READ_ATTRIB^READ_DATA^READ_EA^READ_PERM^SYNC^EXECUTE"},
      {RightsKind::kFile, 0x00000166, "WRITE_ATTRIB^APPEND^EXECUTE^WRITE_DATA"},
      {RightsKind::kFile, 0x000D0000, "WRITE_OWNER^WRITE_PERM^DELETE"},
      {RightsKind::kDirectory, 0x001F01FF, "FULL_CONTROL"},
      {RightsKind::kDirectory, 0x0000007F,
       "READ_DATA^READ_EA^WRITE_EA^ADD_SUBDIR^LIST^TRAVERSE^ADD_FILE^DELDIR"},
      {RightsKind::kDirectory, 0xE0000000, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RightNames(c.kind, c.mask, "^"), c.names)
        << static_cast<int>(c.kind) << " " << std::hex << c.mask;
  }
  EXPECT_EQ(RightNames(RightsKind::kShare, 0x001F01FF, "^"), "");
}

TEST(AccessRights, ShareValues) {
  struct Case {
    bool deny;
    std::uint32_t mask;
    const char* value;
  } cases[] = {
      {true, 0x001F01FF, "NONE"},          {false, 0x00040000, "FULL_CONTROL"},
      {false, 0x10000000, "FULL_CONTROL"}, {false, 0x001301BF, "CHANGE"},
      {false, 0x001200A9, "READ"},         {false, 0, "READ"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShareAccess(c.deny, c.mask), c.value) << std::hex << c.mask;
}

TEST(AccessRights, FileSummariesAndInheritanceFlags) {
  struct Case {
    std::uint32_t mask;
    const char* summary;
    const char* flags;
  } cases[] = {
      {0x001F01FF, "FULL_CONTROL", "RWXDPO"},
      {0x001F0000, "FULL_CONTROL", "RWXDPO"},
      {0x001200A9, "READ", "RX"},
      {0x001301BF, "CHANGE", "RWXD"},
      {0xA0000000, "READ", "RX"},
      {0xF0000000, "SPECIAL", "RWX"},
      {0x000C0000, "SPECIAL", "PO"},
      {0x00100000, "SPECIAL", ""},
  };
  for (const Case& c : cases) {
    const FileAccessSummary summary = SummariseFileAccess(c.mask);
    EXPECT_EQ(summary.summary, c.summary) << std::hex << c.mask;
    EXPECT_EQ(summary.flags, c.flags) << std::hex << c.mask;
  }
  EXPECT_EQ(InheritanceFlagNames(0x1F, "^"),
            "CONTAINER_INHERIT^INHERIT_ONLY^INHERITED^NOPROP_INHERIT^OBJECT_INHERIT");
  EXPECT_EQ(InheritanceFlagNames(0xC0, "^"), "");
}

}  // namespace
}  // namespace tabulon

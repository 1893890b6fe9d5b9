// The template files: names listed from the file's lines, a template
// removed with its section, the schema file's lines.
#include "exporters/templates/template_files.h"

#include <gtest/gtest.h>

#include "platform/ini_file_profile.h"
#include "support/fakes.h"

namespace tabulon::testing {
namespace {

TEST(TemplateFiles, ListsSectionLinesInFileOrder) {
  ScratchDir dir;
  dir.Write("reg.cfg",
            "; [Comment]\r\n\r\n[Inventory]  \t\r\n\r\nOutputKeys=[x]\r\n  [Indented]\r\n"
            "[[Twice]]\r\n[Last]");
  const TemplateListing listing = ListTemplates(dir.File("reg.cfg"), TemplateKind::kRegistry);
  EXPECT_EQ(listing.names, (std::vector<std::string>{"Inventory", "Twice", "Last"}));
  EXPECT_EQ(listing.failure, "");

  const TemplateListing missing = ListTemplates(dir.File("none.cfg"), TemplateKind::kWmi);
  EXPECT_TRUE(missing.names.empty());
  EXPECT_EQ(missing.failure, "Unable to open 'WMI Query File' file " + dir.File("none.cfg") +
                                 ". Check access permissions to this file on the account being "
                                 "used. The file could not be found.");
}

TEST(TemplateFiles, DeletingATemplateKeepsTheOthers) {
  ScratchDir dir;
  dir.Write("reg.cfg",
            "; kept\r\n[A]\r\nEnabled=1\r\n\r\n[B]\r\nEnabled=0\r\n[C]\r\nEnabled=1\r\n");
  platform::IniFileProfile profile;
  ASSERT_TRUE(DeleteTemplate(profile, dir.File("reg.cfg"), "b"));
  EXPECT_EQ(dir.Read("reg.cfg"), "; kept\r\n[A]\r\nEnabled=1\r\n\r\n[C]\r\nEnabled=1\r\n");
}

TEST(TemplateFiles, SchemaLinesNeedATab) {
  ScratchDir dir;
  dir.Write("schema.cfg", " 102\tsAMAccountName \r\nno tab here\r\n121\tcn\t2.5.5.12\r\n");
  std::vector<SchemaLine> lines;
  ASSERT_EQ(ReadSchemaFile(dir.File("schema.cfg"), lines), win::ERROR_SUCCESS);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].category, 102);
  EXPECT_EQ(lines[0].name, "sAMAccountName");
  EXPECT_EQ(lines[1].category, 121);
  EXPECT_EQ(lines[1].name, "cn");
  EXPECT_EQ(lines[1].syntax, "2.5.5.12");
}

}  // namespace
}  // namespace tabulon::testing

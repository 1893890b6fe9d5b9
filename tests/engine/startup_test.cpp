#include "engine/startup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fakes.h"

namespace tabulon {
namespace {

using testing::ScratchDir;

TEST(Startup, FirstStartCopiesTemplatesAndNamedConfigurations) {
  ScratchDir program;
  for (const TemplateKindRow& kind : kTemplateKinds) {
    program.Write(ShippedTemplateFile(kind), "; " + ShippedTemplateFile(kind));
  }
  program.Write("Sample.INI", "[General]\nConfigurationName=Sample\n");
  program.Write("Scratch.ini", "[General]\nObjectFile=x.dat\n");
  ScratchDir home;
  const std::string data = home.File("Wendrock/Tabulon");
  std::filesystem::create_directories(home.File("Wendrock"));

  const DataDirectorySetup first = PrepareDataDirectory(data, program.path());
  EXPECT_TRUE(first.first_start);
  EXPECT_EQ(first.files_copied, 6);
  EXPECT_EQ(ScratchDir::ReadFile(data + "/regtemplates.cfg"), "; regtemplates.cfg");
  EXPECT_TRUE(std::filesystem::exists(data + "/Sample.INI"));
  EXPECT_FALSE(std::filesystem::exists(data + "/Scratch.ini"));

  std::filesystem::remove(data + "/wmiqueries.cfg");
  const DataDirectorySetup second = PrepareDataDirectory(data, program.path());
  EXPECT_FALSE(second.first_start);
  EXPECT_EQ(second.files_copied, 0);
  EXPECT_FALSE(std::filesystem::exists(data + "/wmiqueries.cfg"));
}

TEST(Startup, NoDataDirectoryMeansNothingIsCopied) {
  ScratchDir program;
  for (const TemplateKindRow& kind : kTemplateKinds)
    program.Write(ShippedTemplateFile(kind), "new");
  const DataDirectorySetup setup = PrepareDataDirectory("", program.path());
  EXPECT_EQ(setup.directory, "");
  EXPECT_EQ(setup.files_copied, 0);
}

}  // namespace
}  // namespace tabulon

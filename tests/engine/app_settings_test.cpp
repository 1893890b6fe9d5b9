#include "engine/app_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/ini_file_profile.h"
#include "support/fakes.h"
#include "support/scoped_env.h"

namespace tabulon {
namespace {

using testing::ScopedEnv;

TEST(AppSettings, XdgDirectories) {
  ScopedEnv home("HOME", "/home/ada");
  {
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(UserConfigDirectory(), "/home/ada/.config/Wendrock");
    EXPECT_EQ(UserDataDirectory(), "/home/ada/.local/share/Wendrock/Tabulon");
    EXPECT_EQ(AppSettings::DefaultPath(), "/home/ada/.config/Wendrock/Tabulon.ini");
  }
  ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
  ScopedEnv data("XDG_DATA_HOME", "relative/is/ignored");
  EXPECT_EQ(UserConfigDirectory(), "/cfg/Wendrock");
  EXPECT_EQ(UserDataDirectory(), "/home/ada/.local/share/Wendrock/Tabulon");
}

TEST(AppSettings, DefaultsAndWrites) {
  testing::ScratchDir dir;
  platform::IniFileProfile profile;
  AppSettings settings(profile, dir.File("Tabulon.ini"));
  EXPECT_EQ(settings.Get("objectfileextension"), ".DAT") << "any letter case";
  EXPECT_EQ(settings.Get("LastConfiguration"), "");
  settings.Set("LastConfiguration", "/srv/configs/nightly.ini");
  EXPECT_EQ(settings.Get("LastConfiguration"), "/srv/configs/nightly.ini");
  EXPECT_EQ(dir.Read("Tabulon.ini"),
            "[Settings]\r\nLastConfiguration=/srv/configs/nightly.ini\r\n");
}

}  // namespace
}  // namespace tabulon

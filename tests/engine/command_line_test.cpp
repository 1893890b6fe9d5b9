#include "engine/command_line.h"

#include <gtest/gtest.h>

namespace tabulon {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, Switches) {
  struct Case {
    const char* line;
    Action action;
    bool nomsg;
    const char* configuration;
    bool handover;
    const char* quoll;
    bool resume = false;
  } cases[] = {
      {"", Action::kInteractive, false, "", false, ""},
      {"/nomsg /config=/srv/Configs/Nightly.ini", Action::kUnattendedRun, true,
       "/srv/Configs/Nightly.ini", false, ""},
      {"/CONFIG=\"/srv/my configs/a.ini\"", Action::kUnattendedRun, false, "/srv/my configs/a.ini",
       false, ""},
      // The value runs to the end of the line and swallows later switches.
      {"/CONFIG=a.ini /QUOLL_TABULON=b.ini", Action::kUnattendedRun, false,
       "a.ini /QUOLL_TABULON=b.ini", false, ""},
      {"/QUOLL_TABULON=\"h.ini\"", Action::kInteractive, false, "h.ini", true, ""},
      {"/Config_Prop=p.ini", Action::kConfigProperties, false, "p.ini", false, ""},
      {"/QUOLL_CONFIG=objects.qob", Action::kInteractive, false, "", false, "objects.qob"},
      {"/CONFIG=x.ini /NOMSG", Action::kUnattendedRun, true, "x.ini", false, ""},
      // Only a whole argument is the switch.
      {"/CONFIG=/srv/x/nomsgdir/run.ini", Action::kUnattendedRun, false, "/srv/x/nomsgdir/run.ini",
       false, ""},
      {"/CONFIG=x.ini/NOMSG", Action::kUnattendedRun, false, "x.ini/NOMSG", false, ""},
      // /RESUME is taken wherever it stands, in any case, as a whole argument.
      {"/CONFIG=x.ini /RESUME", Action::kUnattendedRun, false, "x.ini", false, "", true},
      {"/resume /NOMSG /config=x.ini", Action::kUnattendedRun, true, "x.ini", false, "", true},
      {"/CONFIG=/srv/resumed/x.ini", Action::kUnattendedRun, false, "/srv/resumed/x.ini", false,
       ""},
      {"/CONFIG=/RESUME/x.ini", Action::kUnattendedRun, false, "/RESUME/x.ini", false, ""},
  };
  for (const auto& c : cases) {
    const CommandLine cl = ParseCommandLine(c.line);
    EXPECT_EQ(cl.action, c.action) << c.line;
    EXPECT_EQ(cl.suppress_messages, c.nomsg) << c.line;
    EXPECT_EQ(cl.configuration, c.configuration) << c.line;
    EXPECT_EQ(cl.handover, c.handover) << c.line;
    EXPECT_EQ(cl.quoll_object_file, c.quoll) << c.line;
    EXPECT_EQ(cl.resume, c.resume) << c.line;
  }
}

}  // namespace
}  // namespace tabulon

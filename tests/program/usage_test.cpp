// --help, the manual page and the command line's parser name the same
// switches, so that none is documented in one place only or not at all.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "engine/command_line.h"

namespace tabulon::testing {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string HelpOutput() {
  std::string out;
  FILE* pipe = ::popen(TABULON_PROGRAM " --help", "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  EXPECT_EQ(::pclose(pipe), 0);
  return out;
}

std::set<std::string> Matches(const std::string& text, const std::regex& pattern) {
  std::set<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
    found.insert((*it)[1]);
  }
  return found;
}

TEST(Usage, HelpManualPageAndParserNameTheSameSwitches) {
  // An option's line of --help starts with two blanks and the switch.
  const std::set<std::string> help =
      Matches(HelpOutput(), std::regex(R"((?:^|\n)  (/[A-Z_]+=?|--[a-z]+))"));
  // An option of the manual page is a tagged paragraph headed by its switch.
  std::string page = ReadAll(TABULON_MANUAL_PAGE);
  page = std::regex_replace(page, std::regex(R"(\\-)"), "-");
  const std::set<std::string> manual =
      Matches(page, std::regex(R"(\.TP\n\.B (/[A-Z_]+=?|--[a-z]+))"));
  // The parser names its switches as string literals.
  const std::set<std::string> parser = Matches(
      ReadAll(TABULON_SOURCE_DIR "/engine/command_line.cpp"), std::regex(R"re("(/[A-Z_]+=?)")re"));
  ASSERT_GE(parser.size(), 6u);
  std::set<std::string> program_switches = parser;
  program_switches.insert({"--help", "--version"});
  EXPECT_EQ(help, program_switches);
  EXPECT_EQ(manual, program_switches);
  // Each switch of the page does what the parser knows it by.
  for (const std::string& name : parser) {
    const CommandLine line = ParseCommandLine(name + (name.ends_with('=') ? "file.ini" : ""));
    EXPECT_TRUE(line.action != CommandLine::Action::kInteractive || line.suppress_messages ||
                line.resume || line.handover || !line.quoll_object_file.empty())
        << name;
  }
}

}  // namespace
}  // namespace tabulon::testing

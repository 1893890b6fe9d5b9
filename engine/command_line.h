#pragma once
// The switches of the command line. Switches are found without regard to
// case; the values keep their letter case, since file names on this system
// are case-sensitive.
#include <string>
#include <string_view>
#include <vector>

namespace tabulon {

struct CommandLine {
  enum class Action {
    kInteractive,       // the main window
    kUnattendedRun,     // /CONFIG=
    kConfigProperties,  // /CONFIG_PROP=
  };
  Action action = Action::kInteractive;
  bool suppress_messages = false;  // /NOMSG
  bool resume = false;             // /RESUME, with /CONFIG=
  std::string configuration;       // value of /CONFIG=, /CONFIG_PROP= or /QUOLL_TABULON=
  bool handover = false;           // /QUOLL_TABULON=
  std::string quoll_object_file;   // /QUOLL_CONFIG=
};

// `text` is the whole command line after the program name.
CommandLine ParseCommandLine(std::string_view text);
// The arguments joined by single spaces, as one command line.
std::string JoinArguments(const std::vector<std::string>& args);

}  // namespace tabulon

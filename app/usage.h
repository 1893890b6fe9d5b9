#pragma once
// What the program tells about its use: the switches, the exit statuses and
// the notes on stopping, files, the environment and examples. One table
// feeds both --help and the manual page, so that the two cannot drift.
#include <span>
#include <string>
#include <string_view>

namespace tabulon::app {

// The program's exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitStoppedEarly = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitOutputErrors = 3;
inline constexpr int kExitStoppedByUser = 4;

struct UsageSwitch {
  std::string_view name;      // as typed, e.g. "/CONFIG=" or "--help"
  std::string_view argument;  // e.g. "<file>"; empty for none
  std::string_view text;      // one paragraph, unwrapped
};

struct UsageExitStatus {
  int status;
  std::string_view text;
};

struct UsageSection {
  std::string_view title;  // the manual page's section name, in capitals
  std::string_view text;   // paragraphs separated by empty lines, unwrapped
};

// The usage lines, and what the program does, unwrapped.
std::span<const std::string_view> UsageSynopsis();
std::string_view UsageDescription();
std::span<const UsageSwitch> UsageSwitches();
std::span<const UsageExitStatus> UsageExitStatuses();
std::span<const UsageSection> UsageSections();

// The text of --help, wrapped at 79 columns (app/usage_text.cpp).
std::string HelpText();
// The manual page tabulon(1), in the man macros.
std::string ManualPage(std::string_view version);

}  // namespace tabulon::app

#include "engine/command_line.h"

#include "platform/text.h"

namespace tabulon {
namespace {

std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

// The rest of the line after a switch, without surrounding double quotes.
std::string ValueAfter(std::string_view original, std::size_t value_start) {
  std::string_view v = text::Trim(original.substr(value_start));
  while (!v.empty() && v.front() == '"') v.remove_prefix(1);
  while (!v.empty() && v.back() == '"') v.remove_suffix(1);
  return std::string(v);
}

// Removes every whole-argument occurrence of a switch without a value from
// both texts; true when there was one. Only a whole argument is the switch:
// "/srv/x/nomsgdir/run.ini" keeps its "/nomsg".
bool TakeWholeSwitch(std::string& upper, std::string& original, std::string_view name) {
  bool found = false;
  for (std::size_t pos = 0; (pos = upper.find(name, pos)) != std::string::npos;) {
    const std::size_t end = pos + name.size();
    const bool whole =
        (pos == 0 || upper[pos - 1] == ' ') && (end == upper.size() || upper[end] == ' ');
    if (!whole) {
      pos = end;
      continue;
    }
    found = true;
    upper.erase(pos, name.size());
    original.erase(pos, name.size());
  }
  return found;
}

}  // namespace

std::string JoinArguments(const std::vector<std::string>& args) {
  std::string line;
  for (const std::string& a : args) {
    if (!line.empty()) line += ' ';
    line += a;
  }
  return line;
}

CommandLine ParseCommandLine(std::string_view text) {
  CommandLine result;
  // Upper-casing only ASCII keeps every byte where it was, so positions found
  // in the upper-case text point at the same place in the original.
  std::string original(text);
  std::string upper = AsciiUpper(original);
  result.suppress_messages = TakeWholeSwitch(upper, original, "/NOMSG");
  result.resume = TakeWholeSwitch(upper, original, "/RESUME");
  auto find = [&upper](std::string_view sw) { return upper.find(sw); };

  if (const std::size_t at = find("/CONFIG="); at != std::string::npos) {
    result.action = CommandLine::Action::kUnattendedRun;
    result.configuration = ValueAfter(original, at + 8);
    return result;
  }
  if (const std::size_t at = find("/QUOLL_TABULON="); at != std::string::npos) {
    result.configuration = ValueAfter(original, at + 15);
    result.handover = true;
  }
  if (const std::size_t at = find("/CONFIG_PROP="); at != std::string::npos) {
    result.action = CommandLine::Action::kConfigProperties;
    result.configuration = ValueAfter(original, at + 13);
    return result;
  }
  if (const std::size_t at = find("/QUOLL_CONFIG="); at != std::string::npos) {
    result.quoll_object_file = ValueAfter(original, at + 14);
  }
  return result;
}

}  // namespace tabulon

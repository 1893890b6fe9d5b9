// --help and the manual page, both rendered from the usage table.
#include <string>
#include <string_view>
#include <vector>

#include "app/usage.h"
#include "platform/text.h"

namespace tabulon::app {
namespace {

constexpr std::size_t kWidth = 79;
constexpr std::size_t kSwitchIndent = 19;
constexpr std::size_t kStatusIndent = 5;

std::vector<std::string_view> Split(std::string_view text, std::string_view by) {
  std::vector<std::string_view> parts;
  for (std::size_t at; (at = text.find(by)) != std::string_view::npos;) {
    parts.push_back(text.substr(0, at));
    text.remove_prefix(at + by.size());
  }
  parts.push_back(text);
  return parts;
}

// A line of an example, shown as typed rather than filled.
bool IsVerbatim(std::string_view paragraph) {
  return paragraph.starts_with("    ");
}

// `text` filled to kWidth, the first line starting after `first` (which is
// `indent` wide or wider), the others indented by `indent`.
void Fill(std::string& out, std::string_view first, std::string_view text, std::size_t indent) {
  std::string line(first);
  bool empty = true;
  for (const std::string_view word : Split(text, " ")) {
    if (word.empty()) continue;
    if (!empty && line.size() + 1 + word.size() > kWidth) {
      out += line + '\n';
      line.assign(indent, ' ');
      empty = true;
    }
    if (!empty) line += ' ';
    line += word;
    empty = false;
  }
  out += line + '\n';
}

void Paragraphs(std::string& out, std::string_view text) {
  bool first = true;
  for (const std::string_view paragraph : Split(text, "\n\n")) {
    if (!first) out += '\n';
    first = false;
    if (IsVerbatim(paragraph)) {
      out += std::string(paragraph) + '\n';
    } else {
      Fill(out, "", paragraph, 0);
    }
  }
}

// "FAILED TARGETS" as a heading of --help: "Failed targets:".
std::string HelpHeading(std::string_view title) {
  return std::string(title.substr(0, 1)) + text::ToLower(title.substr(1)) + ":";
}

// Text for the man macros: backslashes escaped, hyphens as minus signs where
// they are typed (switches, commands), and no line may start with a control
// character.
std::string Roff(std::string_view text, bool typed = false) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-' && typed) {
      out += "\\-";
    } else {
      out += c;
    }
  }
  if (out.starts_with('.') || out.starts_with('\'')) out.insert(0, "\\&");
  return out;
}

void RoffParagraphs(std::string& out, std::string_view text) {
  for (const std::string_view paragraph : Split(text, "\n\n")) {
    if (IsVerbatim(paragraph)) {
      out += ".PP\n.RS 4\n.nf\n";
      for (const std::string_view line : Split(paragraph, "\n")) {
        out += Roff(line.substr(line.starts_with("    ") ? 4 : 0), true) + '\n';
      }
      out += ".fi\n.RE\n";
    } else {
      out += ".PP\n" + Roff(paragraph) + "\n";
    }
  }
}

}  // namespace

std::string HelpText() {
  std::string out;
  bool first = true;
  for (const std::string_view line : UsageSynopsis()) {
    out += std::string(first ? "Usage: " : "       ") + std::string(line) + '\n';
    first = false;
  }
  out += '\n';
  Fill(out, "", UsageDescription(), 0);
  out += '\n';
  for (const UsageSwitch& s : UsageSwitches()) {
    std::string name = "  " + std::string(s.name) + std::string(s.argument);
    if (name.size() + 1 > kSwitchIndent) {
      out += name + '\n';
      name.clear();
    }
    name.resize(kSwitchIndent, ' ');
    Fill(out, name, s.text, kSwitchIndent);
  }
  out += "\nExit status:\n";
  for (const UsageExitStatus& e : UsageExitStatuses()) {
    std::string status = "  " + std::to_string(e.status);
    status.resize(kStatusIndent, ' ');
    Fill(out, status, e.text, kStatusIndent);
  }
  for (const UsageSection& section : UsageSections()) {
    out += '\n' + HelpHeading(section.title) + '\n';
    Paragraphs(out, section.text);
  }
  return out;
}

std::string ManualPage(std::string_view version) {
  std::string out = ".TH TABULON 1 \"\" \"tabulon " + Roff(version) + "\" \"User Commands\"\n";
  out +=
      ".SH NAME\ntabulon \\- export inventory of Windows computers, domains and directories "
      "into delimited text files\n";
  out += ".SH SYNOPSIS\n.nf\n";
  for (const std::string_view line : UsageSynopsis()) out += Roff(line, true) + '\n';
  out += ".fi\n.SH DESCRIPTION\n";
  RoffParagraphs(out, UsageDescription());
  out += ".SH OPTIONS\n";
  for (const UsageSwitch& s : UsageSwitches()) {
    out += ".TP\n.B " + Roff(s.name, true);
    if (!s.argument.empty()) out += "\\fI" + Roff(s.argument) + "\\fR";
    out += '\n' + Roff(s.text) + '\n';
  }
  out += ".SH \"EXIT STATUS\"\n";
  for (const UsageExitStatus& e : UsageExitStatuses()) {
    out += ".TP\n.B " + std::to_string(e.status) + '\n' + Roff(e.text) + '\n';
  }
  for (const UsageSection& section : UsageSections()) {
    out += ".SH \"" + std::string(section.title) + "\"\n";
    RoffParagraphs(out, section.text);
  }
  return out;
}

}  // namespace tabulon::app

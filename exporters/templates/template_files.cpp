#include "exporters/templates/template_files.h"

#include <cerrno>
#include <fstream>
#include <functional>

#include "engine/configuration.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "platform/file_identity.h"
#include "platform/text.h"
#include "platform/utf8_path.h"

namespace tabulon {
namespace {

// Line reads of the template files use a buffer of this size with its
// terminator, so longer lines arrive in pieces.
constexpr std::size_t kLineBytes = 1023;

win::Status ForEachShortLine(const std::string& path,
                             const std::function<void(std::string_view)>& line) {
  if (const win::Status regular = platform::CheckRegularFile(path); regular != win::ERROR_SUCCESS) {
    return regular;
  }
  std::ifstream in(platform::Utf8Path(path), std::ios::binary);
  if (!in) return win::StatusFromErrno(errno == 0 ? ENOENT : errno);
  std::string piece;
  char c = 0;
  while (in.get(c)) {
    piece += c;
    if (c == '\n' || piece.size() == kLineBytes) {
      line(piece);
      piece.clear();
    }
  }
  if (!piece.empty()) line(piece);
  return win::ERROR_SUCCESS;
}

}  // namespace

std::vector<std::string> SplitTemplateColumns(std::string_view text) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) {
      items.emplace_back(text.substr(start));  // the "," appended ends it
      return items;
    }
    items.emplace_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

TemplateListing ListTemplates(const std::string& path, TemplateKind kind) {
  TemplateListing listing;
  const win::Status status = ForEachShortLine(path, [&](std::string_view line) {
    if (!line.starts_with('[')) return;
    line = text::Trim(line);
    while (line.starts_with('[')) line.remove_prefix(1);
    while (line.ends_with(']')) line.remove_suffix(1);
    listing.names.emplace_back(line);
  });
  if (status != win::ERROR_SUCCESS) {
    listing.failure = FormatMessageId(kMsgUnableToOpenFile, {TemplateKindInfo(kind).label, path}) +
                      WindowsErrorText(status);
  }
  return listing;
}

bool DeleteTemplate(platform::Profile& profile, const std::string& path, std::string_view name) {
  return profile.DeleteSection(path, name);
}

win::Status ReadSchemaFile(const std::string& path, std::vector<SchemaLine>& lines) {
  return ForEachShortLine(path, [&](std::string_view line) {
    line = text::Trim(line);
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return;
    std::string_view rest = line.substr(tab + 1);
    const std::size_t second = rest.find('\t');
    SchemaLine parsed;
    parsed.category = ProfileInteger(line.substr(0, tab));
    parsed.name = std::string(text::Trim(rest.substr(0, second)));
    if (second != std::string_view::npos) parsed.syntax = text::Trim(rest.substr(second + 1));
    lines.push_back(std::move(parsed));
  });
}

}  // namespace tabulon

#include "ui/object_import.h"

#include <cerrno>
#include <cstdint>
#include <fstream>

#include "platform/file_identity.h"
#include "platform/text.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kLowerLdapPrefix = "ldap://";
constexpr std::string_view kLdapPrefix = "LDAP://";

// The sibling tool's type codes this program has no object for, and those
// it names differently.
constexpr std::uint32_t kSkippedQuollTypes[] = {46, 86, 37};
struct TypeMapping {
  std::uint32_t quoll;
  std::uint32_t ours;
};
constexpr TypeMapping kQuollTypeMappings[] = {{23, kObjectWorkstation}, {113, kObjectServer}};

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

std::string_view FieldAt(const std::vector<std::string_view>& fields, std::size_t n) {
  return n < fields.size() ? fields[n] : std::string_view();
}

std::string PathOrName(std::string_view path, std::string_view display_name) {
  return std::string(path.empty() ? display_name : path);
}

// Directory paths are written with the scheme in capitals; a text list
// may have it in lower case.
std::string ListedPath(std::string_view path, std::string_view display_name) {
  std::string result = PathOrName(path, display_name);
  if (result.starts_with(kLowerLdapPrefix)) result.replace(0, kLdapPrefix.size(), kLdapPrefix);
  return result;
}

std::int32_t Number(std::string_view field) {
  const long long value = text::ParseLeadingInteger(field);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}

}  // namespace

win::Status ForEachImportLine(const std::string& path,
                              const std::function<void(std::string_view line)>& line) {
  // A device or FIFO would be read for ever.
  if (const win::Status regular = platform::CheckRegularFile(path); regular != win::ERROR_SUCCESS) {
    return regular;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return win::StatusFromErrno(errno == 0 ? ENOENT : errno);
  std::string piece;
  auto emit = [&piece, &line] {
    // A NUL ends the text a line read returns.
    const std::string_view bytes = std::string_view(piece).substr(0, piece.find('\0'));
    const std::string decoded = text::EightBitToUtf8(bytes);
    line(text::TrimRight(decoded));
    piece.clear();
  };
  std::string buffer(std::size_t{64} * 1024, '\0');
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    for (std::size_t i = 0; i < got; ++i) {
      piece.push_back(buffer[i]);
      if (buffer[i] == '\n' || piece.size() == kImportLineBytes) emit();
    }
  }
  if (in.bad()) return win::StatusFromErrno(errno == 0 ? EIO : errno);
  if (!piece.empty()) emit();
  return win::ERROR_SUCCESS;
}

win::Status ReadTextObjectList(const std::string& path, std::uint32_t type,
                               std::vector<ImportedObject>& objects) {
  std::vector<ImportedObject> read;
  const win::Status status = ForEachImportLine(path, [&](std::string_view line) {
    // A blank line names nothing; an object without name and path could
    // not be edited either.
    if (line.empty()) return;
    const std::vector<std::string_view> fields = SplitTabs(line);
    const std::string_view name = FieldAt(fields, 0);
    read.push_back({ObjectListItem{type,
                                   true,
                                   std::string(name),
                                   std::string(FieldAt(fields, 1)),
                                   ListedPath(FieldAt(fields, 2), name),
                                   {}},
                    false});
  });
  if (status != win::ERROR_SUCCESS) return status;
  objects = std::move(read);
  return status;
}

win::Status ReadQuollObjectLines(const std::string& path, std::vector<QuollObjectLine>& lines) {
  std::vector<QuollObjectLine> read;
  const win::Status status = ForEachImportLine(path, [&](std::string_view text_line) {
    if (text_line.empty()) return;
    const std::vector<std::string_view> fields = SplitTabs(text_line);
    QuollObjectLine o;
    o.number = Number(FieldAt(fields, 0));
    o.level = Number(FieldAt(fields, 1));
    o.type = static_cast<std::uint32_t>(Number(FieldAt(fields, 2)));
    for (const std::uint32_t skipped : kSkippedQuollTypes) {
      if (o.type == skipped) return;
    }
    for (const TypeMapping& mapping : kQuollTypeMappings) {
      if (o.type == mapping.quoll) o.type = mapping.ours;
    }
    o.display_name = FieldAt(fields, 4);
    o.comment = FieldAt(fields, 5);
    o.path = PathOrName(FieldAt(fields, 6), o.display_name);
    read.push_back(std::move(o));
  });
  if (status != win::ERROR_SUCCESS) return status;
  lines = std::move(read);
  return status;
}

std::vector<ImportedObject> QuollObjects(const std::vector<QuollObjectLine>& lines) {
  std::vector<ImportedObject> objects;
  objects.reserve(lines.size());
  for (const QuollObjectLine& o : lines) {
    objects.push_back(
        {ObjectListItem{o.type, true, o.display_name, o.comment, o.path, {}}, o.level != 0});
  }
  return objects;
}

std::string ConvertedObjectLine(const QuollObjectLine& line) {
  return std::to_string(line.number) + "\t" + std::to_string(line.level) + "\t" +
         std::to_string(line.type) + "\t0\treserved\treserved\t" + line.display_name + "\t" +
         line.comment + "\t" + line.path + "\r\n";
}

}  // namespace tabulon::ui

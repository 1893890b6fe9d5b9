#include "engine/object_file.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/file_identity.h"
#include "platform/text.h"
#include "platform/utf8_path.h"

namespace tabulon {
namespace {

constexpr std::size_t kWideLineChars = 4095;
constexpr std::size_t kNarrowLineBytes = 2047;
constexpr std::size_t kChunk = std::size_t{64} * 1024;

constexpr ObjectTypeName kEditableTypes[] = {
    {24, "Workstation"},
    {33, "Server"},
    {51, "Object Grouping"},
    {99, "Windows NT domain"},
    {101, "Windows 2000/2003/2008 domain"},
    {114, "Active Directory Container/OU"},
    {102, "Active Directory User"},
    {110, "Active Directory Group"},
    {123, "Active Directory Contact"},
    {128, "Active Directory Share"},
    {129, "Active Directory Printer"},
    {112, "Active Directory Computer"},
    {9, "Printer"},
    {52, "Workstation/Server Include File"},
    {54, "Active Directory Object Include File"},
};

// Splits a byte stream into lines; `unit` is 1 for 8-bit text and 2 for
// UTF-16LE, `max_units` the longest piece a read may return.
class LineSplitter {
 public:
  LineSplitter(std::size_t unit, std::size_t max_units,
               const std::function<void(std::string_view)>& emit)
      : unit_(unit), max_units_(max_units), emit_(emit) {}

  void Feed(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      partial_unit_.push_back(bytes[i]);
      if (partial_unit_.size() < unit_) continue;
      const bool newline = unit_ == 1 ? partial_unit_[0] == '\n'
                                      : (partial_unit_[0] == '\n' && partial_unit_[1] == '\0');
      if (newline) {
        // A piece that filled the read buffer exactly is not followed by an
        // extra empty line.
        if (!(just_split_ && line_.empty())) Emit();
        line_.clear();
        just_split_ = false;
      } else {
        line_ += partial_unit_;
        just_split_ = false;
        if (line_.size() / unit_ >= max_units_) {
          Emit();
          line_.clear();
          just_split_ = true;
        }
      }
      partial_unit_.clear();
    }
  }
  void Finish() {
    if (!line_.empty()) Emit();
  }

 private:
  void Emit() {
    std::string decoded;
    if (unit_ == 1) {
      // A NUL ends the text a line-oriented read returns.
      const std::size_t nul = line_.find('\0');
      decoded = text::EightBitToUtf8(std::string_view(line_).substr(0, nul));
    } else {
      std::size_t end = 0;
      while (end + 1 < line_.size() && !(line_[end] == '\0' && line_[end + 1] == '\0')) end += 2;
      decoded = text::Utf16LeToUtf8(std::string_view(line_).substr(0, end));
    }
    emit_(text::TrimRight(decoded));
  }

  std::size_t unit_;
  std::size_t max_units_;
  const std::function<void(std::string_view)>& emit_;
  std::string line_;
  std::string partial_unit_;
  bool just_split_ = false;
};

std::string_view Field(const std::vector<std::string_view>& fields, std::size_t n) {
  return n < fields.size() ? fields[n] : std::string_view();
}

std::uint32_t ToUnsigned(std::string_view s) {
  return static_cast<std::uint32_t>(static_cast<unsigned long long>(text::ParseLeadingInteger(s)));
}

void AppendWideLine(std::string& out, const std::string& utf8) {
  out += text::Utf8ToUtf16Le(utf8);
}

}  // namespace

std::span<const ObjectTypeName> EditableObjectTypes() {
  return kEditableTypes;
}

win::Status ForEachTextLine(const std::string& path,
                            const std::function<void(std::string_view line)>& line) {
  // A device or FIFO (/dev/zero) would be read for ever.
  if (const win::Status regular = platform::CheckRegularFile(path); regular != win::ERROR_SUCCESS) {
    return regular;
  }
  std::ifstream in(platform::Utf8Path(path), std::ios::binary);
  if (!in) return win::StatusFromErrno(errno == 0 ? ENOENT : errno);
  std::string buffer(kChunk, '\0');
  errno = 0;
  in.read(buffer.data(), 2);
  // A directory opens but cannot be read; that is a failure to open too.
  if (in.bad()) return win::StatusFromErrno(errno == 0 ? EIO : errno);
  std::string head(buffer.data(), static_cast<std::size_t>(in.gcount()));
  const bool wide = head.size() == 2 && head[0] == '\xFF' && head[1] == '\xFE';
  LineSplitter splitter(wide ? 2 : 1, wide ? kWideLineChars : kNarrowLineBytes, line);
  if (!wide) splitter.Feed(head);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0) break;
    splitter.Feed(std::string_view(buffer.data(), got));
  }
  splitter.Finish();
  return win::ERROR_SUCCESS;
}

ObjectLine ParseObjectLine(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (fields.size() < 9) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(
        line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  ObjectLine o;
  o.line_number = ToUnsigned(Field(fields, 0));
  o.parent = ToUnsigned(Field(fields, 1));
  o.type = ToUnsigned(Field(fields, 2));
  o.active = Field(fields, 3).substr(0, 1) == "1";
  o.display_name = Field(fields, 6);
  o.comment = Field(fields, 7);
  o.path = Field(fields, 8);
  return o;
}

win::Status WriteObjectFile(const std::string& path, const std::vector<ObjectListItem>& items) {
  std::error_code ec;
  if (std::filesystem::exists(platform::Utf8Path(path), ec)) {
    std::filesystem::copy_file(platform::Utf8Path(path), platform::Utf8Path(path + ".BACKUP"),
                               std::filesystem::copy_options::overwrite_existing, ec);
  }
  std::string out = "\xFF\xFE";
  std::uint32_t next = 1;
  auto write_line = [&out, &next](const ObjectListItem& o, std::uint32_t parent) {
    const std::uint32_t number = next++;
    AppendWideLine(out, std::to_string(number) + "\t" + std::to_string(parent) + "\t" +
                            std::to_string(o.type) + "\t" + (o.active ? "1" : "0") +
                            "\treserved\treserved\t" + o.display_name + "\t" + o.comment + "\t" +
                            o.path + "\r\n");
    return number;
  };
  for (const ObjectListItem& item : items) {
    const std::uint32_t number = write_line(item, 0);
    for (const ObjectListItem& child : item.children) write_line(child, number);
  }
  std::ofstream file(platform::Utf8Path(path), std::ios::binary | std::ios::trunc);
  if (!file) return win::StatusFromErrno(errno == 0 ? EACCES : errno);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  return file.flush() ? win::ERROR_SUCCESS : win::ERROR_DISK_FULL;
}

win::Status ReadObjectList(const std::string& path, std::vector<ObjectListItem>& items) {
  items.clear();
  std::map<std::uint32_t, std::size_t> groupings;  // line number -> index in items
  return ForEachTextLine(path, [&](std::string_view text_line) {
    if (text_line.empty()) return;
    const ObjectLine o = ParseObjectLine(text_line);
    ObjectListItem item{o.type, o.active, o.display_name, o.comment, o.path, {}};
    if (const auto g = groupings.find(o.parent); o.parent != 0 && g != groupings.end()) {
      items[g->second].children.push_back(std::move(item));
      return;
    }
    if (o.type == kObjectGrouping) groupings[o.line_number] = items.size();
    items.push_back(std::move(item));
  });
}

}  // namespace tabulon

// The files member of a computer: directory paths of its drives, each with
// the files and directories below it.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "estate/sections.h"
#include "platform/text.h"
#include "platform/time.h"
#include "platform/utf8_path.h"

namespace tabulon::estate {
namespace {

constexpr std::array kFileAttributes{
    NamedValue{"READONLY", platform::kFileAttributeReadOnly},
    NamedValue{"HIDDEN", platform::kFileAttributeHidden},
    NamedValue{"SYSTEM", platform::kFileAttributeSystem},
    NamedValue{"DIRECTORY", platform::kFileAttributeDirectory},
    NamedValue{"ARCHIVE", platform::kFileAttributeArchive},
    NamedValue{"NORMAL", platform::kFileAttributeNormal},
    NamedValue{"TEMPORARY", platform::kFileAttributeTemporary},
    NamedValue{"COMPRESSED", platform::kFileAttributeCompressed},
    NamedValue{"OFFLINE", platform::kFileAttributeOffline},
    NamedValue{"ENCRYPTED", platform::kFileAttributeEncrypted},
};
constexpr Vocabulary kFileAttributeWords{kFileAttributes, "FILE_ATTRIBUTE_"};
// Deeper trees are not a file system's but a mistake.
constexpr int kMaxDepth = 64;

class FilesReader {
 public:
  FilesReader(JsonReader& reader, std::string_view base_directory)
      : reader_(reader), base_directory_(base_directory) {}

  // A FILETIME number or a UTC time "YYYY-MM-DDTHH:MM:SSZ".
  bool Time(const Json& value, const JsonPath& path, std::uint64_t& out) {
    if (value.is_number_unsigned()) {
      out = value.get<std::uint64_t>();
      return true;
    }
    std::string text;
    if (!reader_.String(value, path, text)) return false;
    platform::SystemTime t;
    char tail = 0;
    const int read = std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &t.year, &t.month,
                                 &t.day, &t.hour, &t.minute, &t.second, &tail);
    const auto converted = read == 7 && tail == 'Z' && text.size() == 20
                               ? platform::SystemTimeToFileTime(t)
                               : std::nullopt;
    if (!converted || *converted < 0) {
      return reader_.Fail(path, "expected a FILETIME or a UTC time YYYY-MM-DDTHH:MM:SSZ");
    }
    out = static_cast<std::uint64_t>(*converted);
    return true;
  }

  bool Entry(const Json& value, const JsonPath& path, int depth, FileNode& out) {
    const std::string here = path.str();
    if (!reader_.ExpectObject(value, path)) return false;
    if (depth > kMaxDepth) return reader_.Fail(path, "directories nest too deep");
    platform::FindData& d = out.data;
    bool directory = JsonReader::Member(value, "children") != nullptr;
    bool size_given = false;
    std::uint32_t attributes = 0;
    bool attributes_given = false;
    const auto time = [&](std::uint64_t& field) {
      return [&](const Json& v, const JsonPath& p) { return Time(v, p, field); };
    };
    const bool ok =
        reader_.Optional(
            value, here, "name",
            [&](const Json& v, const JsonPath& p) { return reader_.String(v, p, d.name); }) &&
        reader_.Optional(
            value, here, "directory",
            [&](const Json& v, const JsonPath& p) { return reader_.Bool(v, p, directory); }) &&
        reader_.Optional(value, here, "size",
                         [&](const Json& v, const JsonPath& p) {
                           if (!v.is_number_unsigned()) {
                             return reader_.Fail(p, "expected a size in bytes");
                           }
                           d.size = v.get<std::uint64_t>();
                           size_given = true;
                           return true;
                         }) &&
        reader_.Optional(value, here, "attributes",
                         [&](const Json& v, const JsonPath& p) {
                           attributes_given = true;
                           return reader_.Named(v, p, kFileAttributeWords, "file attribute", true,
                                                attributes);
                         }) &&
        reader_.Optional(value, here, "written", time(d.last_write_time)) &&
        reader_.Optional(value, here, "created", time(d.creation_time)) &&
        reader_.Optional(value, here, "accessed", time(d.last_access_time)) &&
        reader_.Optional(value, here, "bytes", [&](const Json& v, const JsonPath& p) {
          return Bytes(v, p, out, size_given);
        });
    if (!ok) return false;
    if (d.name.empty() || d.name.find_first_of("\\/") != std::string::npos) {
      return reader_.Fail(path, "a file needs a name without separators");
    }
    // Times not given are those of the last write.
    if (JsonReader::Member(value, "created") == nullptr) d.creation_time = d.last_write_time;
    if (JsonReader::Member(value, "accessed") == nullptr) d.last_access_time = d.last_write_time;
    if (!attributes_given) attributes = directory ? 0 : platform::kFileAttributeArchive;
    d.attributes = attributes | (directory ? platform::kFileAttributeDirectory : 0);
    if (directory) d.size = 0;
    return !directory ||
           reader_.Optional(value, here, "children", [&](const Json& v, const JsonPath& p) {
             return Children(v, p, depth + 1, out);
           });
  }

  bool Children(const Json& value, const JsonPath& path, int depth, FileNode& parent) {
    return reader_.Elements(value, path, [&](const Json& v, const JsonPath& p, std::size_t) {
      FileNode child;
      if (!Entry(v, p, depth, child)) return false;
      if (parent.Child(child.data.name) != nullptr) {
        return reader_.Fail(p, "the name " + QuoteForMessage(child.data.name) +
                                   " is listed twice in one directory");
      }
      parent.children.push_back(std::move(child));
      return true;
    });
  }

  // The directory a path names, made on the way: "D:\Apps\bin".
  FileNode* Directory(FileNode& root, std::string_view windows_path, const JsonPath& path) {
    FileNode* node = &root;
    std::size_t at = 0;
    bool first = true;
    while (at < windows_path.size()) {
      std::size_t end = windows_path.find_first_of("\\/", at);
      if (end == std::string_view::npos) end = windows_path.size();
      const std::string_view part = windows_path.substr(at, end - at);
      at = end + 1;
      if (part.empty()) continue;
      if (first && (part.size() != 2 || part[1] != ':' ||
                    !std::isalpha(static_cast<unsigned char>(part[0])))) {
        reader_.Fail(path, "a files path starts with a drive, as D:\\Apps");
        return nullptr;
      }
      FileNode* next = node->Child(part);
      if (next == nullptr) {
        FileNode made;
        made.data.name = first ? text::ToUpper(part) : std::string(part);
        made.data.attributes = platform::kFileAttributeDirectory;
        node->children.push_back(std::move(made));
        next = &node->children.back();
      } else if (!next->is_directory()) {
        reader_.Fail(path, QuoteForMessage(part) + " is a file, not a directory");
        return nullptr;
      }
      node = next;
      first = false;
    }
    if (first) reader_.Fail(path, "a files path starts with a drive, as D:\\Apps");
    return first ? nullptr : node;
  }

 private:
  bool Bytes(const Json& value, const JsonPath& path, FileNode& out, bool size_given) {
    std::string name;
    if (!reader_.String(value, path, name)) return false;
    std::filesystem::path file = platform::Utf8Path(name);
    if (file.is_relative() && !base_directory_.empty()) {
      file = platform::Utf8Path(base_directory_) / file;
    }
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) {
      return reader_.Fail(path, "cannot read the file " +
                                    QuoteForMessage(platform::Utf8Name(file)) + ": " +
                                    ec.message());
    }
    out.bytes_path = platform::Utf8Name(file);
    if (!size_given) out.data.size = size;
    return true;
  }

  JsonReader& reader_;
  std::string_view base_directory_;
};

// As NTFS lists them: by name without regard to case.
void Sort(FileNode& node) {
  std::sort(node.children.begin(), node.children.end(), [](const FileNode& a, const FileNode& b) {
    return text::ToUpper(a.data.name) < text::ToUpper(b.data.name);
  });
  for (FileNode& child : node.children) Sort(child);
}

}  // namespace

bool ReadFiles(JsonReader& reader, const Json& value, const JsonPath& path,
               std::string_view base_directory, std::shared_ptr<const FileNode>& out) {
  if (!reader.ExpectObject(value, path)) return false;
  FilesReader files(reader, base_directory);
  auto root = std::make_shared<FileNode>();
  root->data.attributes = platform::kFileAttributeDirectory;
  const std::string here = path.str();
  for (const auto& [windows_path, entries] : value.items()) {
    const JsonPath at{here, windows_path};
    FileNode* directory = files.Directory(*root, windows_path, at);
    if (directory == nullptr || !files.Children(entries, at, 1, *directory)) return false;
  }
  Sort(*root);
  out = std::move(root);
  return true;
}

}  // namespace tabulon::estate

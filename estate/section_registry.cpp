#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "estate/loader.h"
#include "estate/reg_file.h"
#include "estate/registry_tree.h"
#include "estate/sections.h"
#include "platform/text.h"
#include "platform/utf8_path.h"

namespace tabulon::estate {
namespace {

// The last-write time of keys the estate gives no time for.
constexpr platform::SystemTime kDefaultLastWrite{
    .year = 2020, .month = 1, .day_of_week = 3, .day = 1};

// "2024-03-01 10:00:00" or "2024-03-01T10:00:00Z", in UTC.
std::optional<platform::FileTime> ParseUtcTime(std::string_view s) {
  if (s.ends_with('Z')) s.remove_suffix(1);
  platform::SystemTime t;
  char separator = 0;
  char tail = 0;
  const std::string copy(s);
  const int read = std::sscanf(copy.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%c", &t.year, &t.month,
                               &t.day, &separator, &t.hour, &t.minute, &t.second, &tail);
  if (read != 7 || (separator != ' ' && separator != 'T')) return std::nullopt;
  return platform::SystemTimeToFileTime(t);
}

bool ReadTime(JsonReader& reader, const Json& value, const JsonPath& path,
              platform::FileTime& out) {
  std::string text;
  if (!reader.String(value, path, text)) return false;
  const std::optional<platform::FileTime> time = ParseUtcTime(text);
  if (!time) {
    return reader.Fail(
        path, "expected a UTC time \"YYYY-MM-DD HH:MM:SS\", found " + QuoteForMessage(text));
  }
  out = *time;
  return true;
}

// A text or a list of texts.
bool ReadTexts(JsonReader& reader, const Json& value, const JsonPath& path,
               std::vector<std::string>& out) {
  if (value.is_string()) {
    out.push_back(value.get<std::string>());
    return true;
  }
  return reader.StringList(value, path, out);
}

std::uint32_t FindKeyPath(const RegistryTree& tree, std::string_view full_path) {
  const auto cut = full_path.find('\\');
  const std::optional<Hive> hive = HiveFromName(full_path.substr(0, cut));
  if (!hive) return RegistryTree::kNoKey;
  return tree.Find(tree.root(*hive),
                   cut == std::string_view::npos ? std::string_view() : full_path.substr(cut + 1));
}

class RegistryReader {
 public:
  RegistryReader(JsonReader& reader, RegistrySources& sources)
      : reader_(reader), sources_(sources) {}

  bool ApplyFile(const std::string& name, const JsonPath& path, RegistryTree& tree) {
    std::filesystem::path file = platform::Utf8Path(name);
    if (file.is_relative() && !sources_.base_directory.empty()) {
      file = platform::Utf8Path(sources_.base_directory) / file;
    }
    const std::string shown = platform::Utf8Name(file);
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      return reader_.Fail(path, "cannot open the .reg file " + QuoteForMessage(shown) + ": " +
                                    std::strerror(errno));
    }
    std::string bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
      bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
      if (bytes.size() > kMaxEstateFileBytes) {
        return reader_.Fail(path, "the .reg file " + QuoteForMessage(shown) + " is too large");
      }
    }
    const RegFileResult result = ApplyRegFile(bytes, tree);
    if (result.ok) return true;
    return reader_.Fail(path, shown + (result.line > 0 ? ":" + std::to_string(result.line) : "") +
                                  ": " + result.message);
  }

  bool ApplyText(const std::string& text, const JsonPath& path, RegistryTree& tree) {
    const RegFileResult result = ApplyRegFile(text, tree);
    if (result.ok) return true;
    return reader_.Fail(
        path, (result.line > 0 ? "line " + std::to_string(result.line) + ": " : std::string()) +
                  result.message);
  }

  // One file read once for every computer that names only it.
  bool SharedFile(const std::string& name, const JsonPath& path, platform::FileTime time,
                  std::shared_ptr<const RegistryTree>& out) {
    const auto it = sources_.files.find(name);
    if (it != sources_.files.end()) {
      out = it->second;
      return true;
    }
    auto tree = std::make_shared<RegistryTree>(time);
    if (!ApplyFile(name, path, *tree)) return false;
    sources_.files.emplace(name, tree);
    out = std::move(tree);
    return true;
  }

 private:
  JsonReader& reader_;
  RegistrySources& sources_;
};

}  // namespace

bool ReadRegistry(JsonReader& reader, const Json& value, const JsonPath& path,
                  RegistrySources& sources, Computer& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  std::vector<std::string> files;
  std::vector<std::string> lines;
  platform::FileTime default_time = *platform::SystemTimeToFileTime(kDefaultLastWrite);
  const Json* text = JsonReader::Member(value, "text");
  const Json* key_times = JsonReader::Member(value, "key_times");
  const Json* failures = JsonReader::Member(value, "failures");
  const Json* last_write = JsonReader::Member(value, "last_write");
  const JsonPath files_path{here, "files"};
  const JsonPath text_path{here, "text"};
  const Json* files_member = JsonReader::Member(value, "files");
  const bool one_file_text = files_member != nullptr && files_member->is_string();
  if (!reader.Optional(
          value, here, "files",
          [&](const Json& v, const JsonPath& p) { return ReadTexts(reader, v, p, files); }) ||
      (text != nullptr && !ReadTexts(reader, *text, text_path, lines)) ||
      (last_write != nullptr &&
       !ReadTime(reader, *last_write, JsonPath{here, "last_write"}, default_time))) {
    return false;
  }
  RegistryReader sources_reader(reader, sources);
  const bool plain = files.size() == 1 && text == nullptr && key_times == nullptr &&
                     failures == nullptr && last_write == nullptr;
  if (plain) {
    const std::string files_here = files_path.str();
    return sources_reader.SharedFile(files.front(),
                                     one_file_text ? files_path : JsonPath{files_here, {}, 0},
                                     default_time, out.registry);
  }

  auto tree = std::make_shared<RegistryTree>(default_time);
  const std::string files_here = files_path.str();
  for (std::size_t i = 0; i < files.size(); ++i) {
    const JsonPath where = one_file_text ? files_path : JsonPath{files_here, {}, i};
    if (!sources_reader.ApplyFile(files[i], where, *tree)) return false;
  }
  if (!lines.empty()) {
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) joined += '\n';
      joined += lines[i];
    }
    if (!sources_reader.ApplyText(joined, text_path, *tree)) return false;
  }
  if (key_times != nullptr) {
    const JsonPath times_path{here, "key_times"};
    if (!reader.ExpectObject(*key_times, times_path)) return false;
    const std::string times_here = times_path.str();
    for (const auto& [key_path, time] : key_times->items()) {
      const JsonPath where{times_here, key_path};
      const std::uint32_t key = FindKeyPath(*tree, key_path);
      if (key == RegistryTree::kNoKey) return reader.Fail(where, "no such key in the registry");
      if (!ReadTime(reader, time, where, tree->mutable_node(key).last_write)) return false;
    }
  }
  if (failures != nullptr) {
    const JsonPath failures_path{here, "failures"};
    if (!reader.ExpectObject(*failures, failures_path)) return false;
    const std::string failures_here = failures_path.str();
    for (const auto& [key_path, entry] : failures->items()) {
      const JsonPath where{failures_here, key_path};
      const std::uint32_t key = FindKeyPath(*tree, key_path);
      if (key == RegistryTree::kNoKey) return reader.Fail(where, "no such key in the registry");
      if (!ReadFailures(reader, entry, where, FailureScope::kRegistryKey,
                        tree->mutable_node(key).failures)) {
        return false;
      }
    }
  }
  out.registry = std::move(tree);
  return true;
}

}  // namespace tabulon::estate

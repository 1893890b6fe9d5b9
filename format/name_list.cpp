#include "format/name_list.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/file_identity.h"
#include "platform/ini_file_profile.h"
#include "platform/text.h"
#include "platform/utf8_path.h"

namespace tabulon::format {
namespace {

constexpr std::size_t kMaxLineBytes = 1023;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

void AddEntry(std::string_view bytes, NameList& list) {
  // The wide conversion of a C string stops at the first NUL.
  bytes = bytes.substr(0, bytes.find('\0'));
  const std::string decoded = text::EightBitToUtf8(bytes);
  list.emplace_back(text::TrimRight(decoded));
}

std::string_view WithoutLeadingBackslashes(std::string_view s) {
  const std::size_t start = s.find_first_not_of('\\');
  return start == std::string_view::npos ? std::string_view{} : s.substr(start);
}

bool MatchEntry(std::string_view name, std::string_view entry) {
  const auto stars = std::count(entry.begin(), entry.end(), '*');
  if (stars == 0) return text::EqualsNoCase(name, entry);
  if (stars == 1) {
    if (entry.back() == '*') {
      entry.remove_suffix(1);
      return text::StartsWithNoCase(name, entry);
    }
    entry.remove_prefix(entry.find_first_not_of('*'));
    return text::EndsWithNoCase(name, entry);
  }
  const std::size_t first = entry.find_first_not_of('*');
  const std::string_view middle =
      first == std::string_view::npos
          ? std::string_view{}
          : entry.substr(first, entry.find_last_not_of('*') - first + 1);
  return text::ToLower(name).find(text::ToLower(middle)) != std::string::npos;
}

}  // namespace

LoadStatus LoadNameList(std::string_view path, NameList& list) {
  list.clear();
  const std::string native = platform::NativePath(path);
  // A device or FIFO (/dev/zero) would be read for ever.
  if (const win::Status regular = platform::CheckRegularFile(native);
      regular != win::ERROR_SUCCESS) {
    return LoadStatus{regular};
  }
  const std::unique_ptr<std::FILE, FileCloser> file(platform::OpenUtf8File(native, "rb"));
  if (!file) return LoadStatus{win::StatusFromErrno(errno)};

  std::string line;
  // Set right after a line was cut at the limit, so that the line break that
  // follows does not add an empty entry of its own.
  bool just_cut = false;
  char buffer[65536];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    for (std::size_t i = 0; i < n; ++i) {
      const char c = buffer[i];
      if (c == '\n') {
        // Text mode reads CR LF as one line break.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!(just_cut && line.empty())) AddEntry(line, list);
        line.clear();
        just_cut = false;
        continue;
      }
      line += c;
      if (c != '\r') just_cut = false;
      if (line.size() == kMaxLineBytes) {
        AddEntry(line, list);
        line.clear();
        just_cut = true;
      }
    }
  }
  if (std::ferror(file.get()) != 0) {
    const win::Status error = win::StatusFromErrno(errno);
    list.clear();
    return LoadStatus{error};
  }
  if (!line.empty()) AddEntry(line, list);
  return LoadStatus{};
}

bool MatchNameList(std::string_view name, const NameList& list) {
  name = WithoutLeadingBackslashes(name);
  return std::any_of(list.begin(), list.end(), [&](const std::string& entry) {
    return MatchEntry(name, WithoutLeadingBackslashes(entry));
  });
}

}  // namespace tabulon::format

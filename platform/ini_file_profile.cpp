#include "platform/ini_file_profile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/file_identity.h"
#include "platform/host.h"
#include "platform/text.h"
#include "platform/utf8_path.h"

namespace tabulon::platform {
namespace {

bool ReadWholeFile(const std::string& path, std::string& out) {
  std::ifstream in(Utf8Path(path), std::ios::binary);
  if (!in) return false;
  std::ostringstream buf;
  buf << in.rdbuf();
  out = std::move(buf).str();
  return true;
}

}  // namespace

std::string NativePath(std::string_view path) {
  std::string out(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

const IniDocument* IniFileProfile::Load(const std::string& path) {
  const FileStamp stamp = StampFile(path);
  if (!stamp.regular) {
    cache_.erase(path);
    return nullptr;
  }
  auto it = cache_.find(path);
  if (it != cache_.end() && it->second.stamp == stamp) return &it->second.doc;
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return nullptr;
  Cached& entry = cache_[path];
  entry.stamp = stamp;
  entry.doc = IniDocument::Parse(bytes);
  return &entry.doc;
}

std::string IniFileProfile::GetString(std::string_view path, std::string_view section,
                                      std::string_view key, std::string_view default_value,
                                      std::size_t buffer_chars) {
  const std::size_t max_chars = buffer_chars == 0 ? 0 : buffer_chars - 1;
  const std::lock_guard lock(mutex_);
  const IniDocument* doc = Load(NativePath(path));
  if (doc != nullptr) {
    if (auto value = doc->Get(section, key)) return text::TruncateCodePoints(*value, max_chars);
  }
  return text::TruncateCodePoints(default_value, max_chars);
}

bool IniFileProfile::WriteString(std::string_view path, std::string_view section,
                                 std::string_view key, std::string_view value) {
  return Rewrite(path, [&](IniDocument& doc) { doc.Set(section, key, value); });
}

bool IniFileProfile::DeleteSection(std::string_view path, std::string_view section) {
  return Rewrite(path, [&](IniDocument& doc) { doc.RemoveSection(section); });
}

bool IniFileProfile::Rewrite(std::string_view path,
                             const std::function<void(IniDocument&)>& change) {
  const std::string native = NativePath(path);
  // Held through the rename: two writers of one file would otherwise share
  // the temporary name and lose one change.
  const std::lock_guard lock(mutex_);
  const IniDocument* existing = Load(native);
  IniDocument doc = existing != nullptr ? *existing : IniDocument{};
  change(doc);
  // Written beside the file and renamed over it, so a failed write never
  // leaves a half-written configuration behind.
  const std::string temp = native + ".tmp-" + std::to_string(CurrentProcessId());
  {
    std::ofstream out(Utf8Path(temp), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const std::string bytes = doc.Serialize();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::error_code ignored;
      std::filesystem::remove(Utf8Path(temp), ignored);
      return false;
    }
  }
  // Replaces the file on every system (the C library's rename does not on
  // Windows).
  std::error_code error;
  std::filesystem::rename(Utf8Path(temp), Utf8Path(native), error);
  if (error) {
    std::filesystem::remove(Utf8Path(temp), error);
    return false;
  }
  cache_.erase(native);
  return true;
}

}  // namespace tabulon::platform

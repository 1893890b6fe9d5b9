#pragma once
// The profile functions over INI files on the local file system. Parsed files
// are kept while their size and modification time stay the same, so a run
// that reads hundreds of keys parses its configuration once. One profile
// serves every thread of a run: the parsed files are behind a lock, and
// what a call returns is its own copy.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "platform/file_identity.h"
#include "platform/ini_document.h"
#include "platform/profile.h"

namespace tabulon::platform {

class IniFileProfile final : public Profile {
 public:
  std::string GetString(std::string_view path, std::string_view section, std::string_view key,
                        std::string_view default_value, std::size_t buffer_chars) override;
  bool WriteString(std::string_view path, std::string_view section, std::string_view key,
                   std::string_view value) override;
  bool DeleteSection(std::string_view path, std::string_view section) override;

 private:
  struct Cached {
    FileStamp stamp;
    IniDocument doc;
  };
  // Applies `change` to the file's document and writes it back.
  bool Rewrite(std::string_view path, const std::function<void(IniDocument&)>& change);
  // Null when the file does not exist or cannot be read; valid while
  // `mutex_` is held.
  const IniDocument* Load(const std::string& path);

  std::mutex mutex_;
  std::map<std::string, Cached> cache_;
};

// Both '/' and '\' separate directories in configured names.
std::string NativePath(std::string_view path);

}  // namespace tabulon::platform

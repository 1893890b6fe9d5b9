#include "ui/copy_messages_text.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "ui/progress_columns.h"

namespace tabulon::ui {

std::string FirstCharacter(std::string_view text) {
  if (text.empty()) return {};
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 1;
  if (lead >= 0xF0) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = 3;
  } else if (lead >= 0xC0) {
    length = 2;
  }
  return std::string(text.substr(0, std::min(length, text.size())));
}

std::string BuildMessagesText(const std::vector<ProgressRow>& rows,
                              const CopyMessagesOptions& options, std::string_view line_end) {
  const std::string& d = options.delimiter;
  std::string text;
  if (options.labels) {
    if (options.image_ids) text += "Image ID" + d;
    if (options.indentation) text += "IndentLevel" + d;
    text += std::string(kObjectNameLabel) + d + std::string(kStatusMessageLabel);
    text += line_end;
  }
  for (const ProgressRow& row : rows) {
    if (options.image_ids) text += std::to_string(row.image) + d;
    if (options.indentation) text += std::to_string(row.indent) + d;
    text += row.name + d + row.status;
    text += line_end;
  }
  return text;
}

win::Status WriteMessagesFile(const std::string& path, bool append,
                              const std::vector<ProgressRow>& rows,
                              const CopyMessagesOptions& options) {
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  errno = 0;
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), append ? "ab" : "wb"));
  if (!file) return win::StatusFromErrno(errno != 0 ? errno : EIO);
  const std::string text = BuildMessagesText(rows, options, "\r\n");
  if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() ||
      std::fflush(file.get()) != 0) {
    return win::StatusFromErrno(errno != 0 ? errno : EIO);
  }
  return win::ERROR_SUCCESS;
}

}  // namespace tabulon::ui

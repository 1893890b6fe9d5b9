#include "engine/file_record.h"

#include "engine/error_text.h"
#include "engine/messages.h"
#include "platform/text.h"

namespace tabulon {

std::string WriteFailureText(std::string_view label, const OutputFile& file) {
  constexpr std::string_view kWriteFailed =
      "Unable to write '%s' file %s; the file is incomplete. ";
  return FillMessage(kWriteFailed, {label, file.path()}) + WindowsErrorText(file.error());
}

void FileRecord::Record(std::uint32_t type, std::string_view display_name, std::string_view path) {
  for (const tagCOutputfile& f : files_) {
    if (text::EqualsNoCase(f.path, path)) return;
  }
  files_.push_back({type, std::string(display_name), std::string(path)});
}

bool FileRecord::NoteFailure(const OutputFile& file, std::string_view label) {
  if (file.error() == win::ERROR_SUCCESS) return false;
  for (const FileWriteFailure& f : failures_) {
    if (f.path == file.path()) return false;
  }
  failures_.push_back({std::string(label), file.path(), file.error()});
  return true;
}

}  // namespace tabulon

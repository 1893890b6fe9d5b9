#pragma once
// The text Copy Messages makes of the chosen progress rows: an optional
// label row, then one line per row with the chosen fields.
#include <string>
#include <string_view>
#include <vector>

#include "engine/progress.h"
#include "platform/status.h"

namespace tabulon::ui {

struct CopyMessagesOptions {
  std::string delimiter = "\t";  // Tab, or the first character of Other
  bool labels = false;           // "Image ID", "IndentLevel", "Object Name", "Status Message"
  bool image_ids = false;
  bool indentation = false;
};

// The first character (UTF-8) of the Other text: the delimiter it chooses;
// empty for an empty text.
std::string FirstCharacter(std::string_view text);

// Every line ends with `line_end`.
std::string BuildMessagesText(const std::vector<ProgressRow>& rows,
                              const CopyMessagesOptions& options, std::string_view line_end);

// Writes `rows` to the file `path`, appended or replacing it. The file is
// a text file of the platform the configurations come from, so its lines
// end in CR LF. The status of opening or writing it.
win::Status WriteMessagesFile(const std::string& path, bool append,
                              const std::vector<ProgressRow>& rows,
                              const CopyMessagesOptions& options);

}  // namespace tabulon::ui

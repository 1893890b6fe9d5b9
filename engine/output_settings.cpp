#include "engine/output_settings.h"

namespace tabulon {

OutputSettings ReadOutputSettings(const Configuration& config) {
  constexpr std::string_view kGeneral = "General";
  OutputSettings s;
  s.default_output_directory = config.ReadText(kGeneral, "DefaultOutputDirectory", "");
  s.delimiter = ExpandEscapes(config.ReadText(kGeneral, "Delimiter", "\\t"));
  s.secondary_delimiter = config.ReadText(kGeneral, "SecondaryDelimiter", "^");
  s.crlf_replacement = config.ReadText(kGeneral, "CrLfReplacement", "~");
  s.line_terminator = ExpandEscapes(config.ReadText(kGeneral, "LineTerminator", "\\n"));
  s.append = config.ReadInt(kGeneral, "AppendOutput", 0) != 0;
  s.unicode = config.ReadInt(kGeneral, "UnicodeOutput", 0) != 0;
  s.enable_logging = config.ReadInt(kGeneral, "EnableLogging", 0) != 0;
  s.log_success = config.ReadInt(kGeneral, "LogSuccess", 1) != 0;
  s.log_failure = config.ReadInt(kGeneral, "LogFailure", 1) != 0;
  s.write_titles = config.ReadInt(kGeneral, "WriteTitles", 1) != 0;
  s.verbose_progress = config.ReadInt(kGeneral, "VerboseProgress", 1) != 0;
  return s;
}

}  // namespace tabulon

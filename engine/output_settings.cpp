#include "engine/output_settings.h"

namespace tabulon {

OutputSettings ReadOutputSettings(const Configuration& config) {
  constexpr std::string_view kGeneral = "General";
  OutputSettings s;
  s.default_output_directory = config.ReadSettingText(kGeneral, "DefaultOutputDirectory");
  s.delimiter = ExpandEscapes(config.ReadSettingText(kGeneral, "Delimiter"));
  s.secondary_delimiter = config.ReadSettingText(kGeneral, "SecondaryDelimiter");
  s.crlf_replacement = config.ReadSettingText(kGeneral, "CrLfReplacement");
  s.line_terminator = ExpandEscapes(config.ReadSettingText(kGeneral, "LineTerminator"));
  s.append = config.ReadSwitch(kGeneral, "AppendOutput");
  s.unicode = config.ReadSwitch(kGeneral, "UnicodeOutput");
  s.enable_logging = config.ReadSwitch(kGeneral, "EnableLogging");
  s.log_success = config.ReadSwitch(kGeneral, "LogSuccess");
  s.log_failure = config.ReadSwitch(kGeneral, "LogFailure");
  s.write_titles = config.ReadSwitch(kGeneral, "WriteTitles");
  s.verbose_progress = config.ReadSwitch(kGeneral, "VerboseProgress");
  s.keep_rows_whole = config.ReadSwitch(kGeneral, "KeepRowsWhole");
  s.spreadsheet_safe = config.ReadSwitch(kGeneral, "SpreadsheetSafe");
  return s;
}

}  // namespace tabulon

#include "exporters/templates/files/file_templates.h"

#include "engine/column_list.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/run_settings.h"
#include "engine/template_kinds.h"
#include "exporters/templates/files/file_fields.h"
#include "exporters/templates/files/file_walk.h"
#include "exporters/templates/template_output.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/paging.h"
#include "platform/text.h"

namespace tabulon {
namespace {

constexpr std::string_view kIncomplete = "Folders not listed completely: %d. ";

// One enabled template and its keys, read once for the run.
struct FileTemplate {
  FileTemplateSettings settings;
  PathSettings paths;
  bool has_columns = false;
  // The output and its columns, open for the run; none, no rows.
  TypedOutput* output = nullptr;
};

std::vector<std::string> Filters(std::string_view text) {
  std::vector<std::string> filters;
  if (text.empty()) text = "*.*";
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t end = std::min(text.find('|', at), text.size());
    filters.push_back(text::ToLower(text.substr(at, end - at)));
    at = end + 1;
  }
  return filters;
}

class FileTemplatesRun final : public ExporterRun {
 public:
  explicit FileTemplatesRun(std::vector<PreparedTemplate> templates) {
    for (PreparedTemplate& t : templates) {
      templates_.emplace_back();
      templates_.back().settings.name = std::move(t.name);
    }
  }

  // Each template's file gets its mark and title row and stays open for
  // the targets' rows.
  bool OpenOutputs(UnitSetup& setup, ExportType /*type*/) override {
    const Configuration file(setup.profile,
                             ReadTemplateFileNames(setup.config, setup.output).file_templates);
    for (FileTemplate& t : templates_) {
      const std::string& name = t.settings.name;
      ReadKeys(file, t);
      const std::string output_name = file.ReadText(name, "OutputFileName", "");
      if (output_name.empty()) continue;
      t.output = &setup.output.AddTemplateTypedOutput();
      if (!setup.output.OpenTypedOutputFile(file, name, "OutputFileName", "OutputColumns", kFiles,
                                            *t.output)) {
        return false;
      }
    }
    return true;
  }
  // The templates make the run visit computers.
  bool Wanted(const SecurityAccessSink* /*security*/) const override { return true; }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    for (const FileTemplate& t : templates_) {
      ExportFileTemplate(context, target, t);
      if (context.StopRequested()) return;
    }
  }

 private:
  static void ReadKeys(const Configuration& file, FileTemplate& t) {
    const std::string& name = t.settings.name;
    const std::string columns = file.ReadText(name, "OutputColumns", "");
    t.has_columns = !columns.empty();
    for (std::uint32_t c : ParseColumnList(columns)) {
      if (c >= kSymbolColumnBase) continue;
      t.settings.dir_totals |= c == kFileDirFilesBytes;
      t.settings.version_fixed |= c >= kFileVersion;
      t.settings.version_strings |= c >= kFileComments;
    }
    t.settings.dirs_only = file.ReadInt(name, "GetDirsOnly", 0) != 0;
    t.settings.filters = Filters(file.ReadText(name, "Files", ""));
    t.paths.paths = file.ReadText(name, "Paths", "");
    t.paths.options = file.ReadText(name, "PathOptions", "");
    t.paths.levels = file.ReadText(name, "PathLevels", "");
    t.paths.hidden_shares = file.ReadInt(name, "GetHiddenShares", 0) != 0;
    t.paths.admin_shares = file.ReadInt(name, "GetAdminShares", 0) != 0;
    t.paths.normal_shares = file.ReadInt(name, "GetNormalShares", 0) != 0;
  }

  static void ExportFileTemplate(ExportContext& context, const tagCObjects& target,
                                 const FileTemplate& t) {
    RunOutput& out = context.output;
    const std::string& name = t.settings.name;
    ExportProgress progress(out, target, FormatMessageId(kMsgExportingFiles, {name}),
                            ProgressKind::kFile);
    const std::string failure = Export(context, target, t);
    if (!failure.empty()) progress.ReportFailure(failure);
    out.LogLine(&target, "FILES - " + name, !failure.empty(), failure);
  }

  // The steps of one template on one target; the failure message, if any.
  static std::string Export(ExportContext& context, const tagCObjects& target,
                            const FileTemplate& t) {
    RunOutput& out = context.output;
    TypedOutput* rows = t.output;
    if (rows != nullptr) {
      out.RecordOutputFile(kFiles, ExportTypeInfo(kFiles).display_name, rows->file.path());
    }
    if (!t.has_columns || t.paths.paths.empty()) return {};
    std::vector<platform::ShareInfo> shares;
    if (NeedsShares(t.paths.paths)) {
      const win::Status status = ForEachPagedEntry(
          [&](std::uint32_t resume) {
            return context.session.server().NetShareEnum(target.path, 1,
                                                         platform::kMaxPreferredLength, resume);
          },
          [&](const platform::ShareInfo& share) { shares.push_back(share); });
      if (status != win::ERROR_SUCCESS) {
        return FormatMessageId(kMsgErrorGettingShares, {target.path}) + WindowsErrorText(status);
      }
    }
    out.symbols().template_name = t.settings.name;
    const FileWalkOutcome walked =
        FileWalk(context, target, t.settings, rows).Walk(BuildScanList(t.paths, shares));
    out.symbols().template_name = {};
    // Each folder was named as it failed; the template says how many.
    std::string failure;
    if (walked.incomplete_folders > 0) {
      failure = FillMessage(kIncomplete, {std::to_string(walked.incomplete_folders)});
    }
    if (walked.stopped) failure += MessageText(kMsgExportAborted);
    return failure;
  }

  std::vector<FileTemplate> templates_;
};

constexpr ExportType kTypes[] = {kFiles};

}  // namespace

ExporterUnit FileTemplatesUnit() {
  return {.name = "file templates",
          .types = kTypes,
          .opens_own_outputs = true,
          .start = StartTemplateRun<FileTemplatesRun, TemplateKind::kFile>};
}

}  // namespace tabulon

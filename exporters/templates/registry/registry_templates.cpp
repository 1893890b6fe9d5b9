#include "exporters/templates/registry/registry_templates.h"

#include "engine/catalogue.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/row.h"
#include "engine/run_settings.h"
#include "engine/template_kinds.h"
#include "exporters/templates/registry/registry_key_list.h"
#include "exporters/templates/registry/registry_value_text.h"
#include "exporters/templates/template_files.h"
#include "exporters/templates/template_output.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/handle_guard.h"
#include "exporters/toolkit/security.h"
#include "format/time_texts.h"
#include "platform/object_security.h"
#include "platform/text.h"

namespace tabulon {
namespace {

// The kind code whose image is the registry one.
constexpr std::string_view kDefaultValueName = "(default)";
constexpr std::uint32_t kDefaultValueNameChars = 128;

// The symbols only a value row fills; any of them among the columns makes
// the template write one row per value.
constexpr std::string_view kValueName = "%VALUE_NAME%";
constexpr std::string_view kValue = "%VALUE%";
constexpr std::string_view kValueDataType = "%VALUE_DATA_TYPE%";

bool IsValueSymbol(std::string_view column) {
  return text::EqualsNoCase(column, kValueName) || text::EqualsNoCase(column, kValue) ||
         text::EqualsNoCase(column, kValueDataType);
}

// One enabled template and its keys, read once for the run.
struct RegistryTemplate {
  PreparedTemplate prepared;
  std::vector<std::string> columns;
  bool value_mode = false;
  std::string keys;
};

// One template on one target: the rows of its keys, and what went wrong
// last.
class KeyExport {
 public:
  KeyExport(ExportContext& context, const tagCObjects& target, const RegistryTemplate& t,
            OutputFile& file)
      : context_(context),
        out_(context.output),
        registry_(context.session.registry()),
        target_(target),
        template_(t),
        row_(context.output, file, t.columns.size()) {}

  // Every entry of the key list; the rows written before a failure stay.
  void Run() {
    if (template_.keys.empty()) return;
    std::vector<std::string> working;
    for (std::string& entry : SplitKeyList(template_.keys)) {
      if (Stopped()) return;
      if (!HasMidPathWildcard(entry)) {
        working.push_back(std::move(entry));
        continue;
      }
      last_status_ = Expand(entry, working);
      if (last_status_ != win::ERROR_SUCCESS) {
        Fail(FormatMessageId(kMsgRegistrySearch, {entry}));
        return;
      }
    }
    for (const std::string& entry : working) {
      if (Stopped()) return;
      const std::optional<KeyEntry> parsed = ParseKeyEntry(entry);
      if (!parsed) continue;
      const platform::RegistryKeyResult connected =
          registry_.ConnectRegistry(target_.path, parsed->hive.hive->hive);
      last_status_ = connected.status;
      if (connected.status != win::ERROR_SUCCESS) {
        Fail(FormatMessageId(kMsgRegistryConnect, {target_.path}));
        return;
      }
      const HandleGuard close(connected.key, [this](platform::RegistryKey k) { Close(k); });
      hive_ = {connected.key, parsed->hive};
      if (parsed->mode != SubkeyMode::kNone) {
        last_status_ = ExportSubkeys(parsed->path, parsed->mode == SubkeyMode::kRecursive);
      } else {
        last_status_ = ExportKey(parsed->path);
      }
      if (last_status_ != win::ERROR_SUCCESS) failed_ = true;
    }
  }

  bool failed() const { return failed_ || stopped_; }
  // The last message set and the Windows text of the last step's error;
  // the stop when the run's stop request cut the walk short.
  std::string FailureText() const {
    std::string text;
    if (failed_) text = message_;
    if (failed_ && last_status_ != win::ERROR_SUCCESS) text += WindowsErrorText(last_status_);
    if (stopped_) text += MessageText(kMsgExportAborted);
    return text;
  }

 private:
  struct ConnectedHive {
    platform::RegistryKey key = 0;
    HiveView view{};
  };

  void Fail(std::string message) {
    message_ = std::move(message);
    failed_ = true;
  }
  void Close(platform::RegistryKey key) { registry_.CloseKey(key); }
  // The run's stop request, noted when first seen: every loop of the walk
  // ends at its next step.
  bool Stopped() {
    if (!stopped_ && context_.StopRequested()) stopped_ = true;
    return stopped_;
  }
  std::uint32_t Access(std::uint32_t access) const {
    return hive_.view.view64 ? access | platform::kKeyWow64_64Key : access;
  }

  // The subkeys of the entry's level that begin with the text before its
  // "*", each followed by the text after it, added to `working`.
  win::Status Expand(std::string_view entry, std::vector<std::string>& working) {
    const std::size_t slash = entry.find('\\');
    if (slash == std::string_view::npos) return win::ERROR_SUCCESS;
    const std::string_view hive_part = entry.substr(0, slash);
    const std::string_view rest = entry.substr(slash + 1);
    const std::size_t star = rest.find('*');
    if (star == std::string_view::npos) return win::ERROR_SUCCESS;  // the "*" was in the hive
    const HiveView view = ResolveHiveView(hive_part);
    const platform::RegistryKeyResult connected =
        registry_.ConnectRegistry(target_.path, view.hive->hive);
    if (connected.status != win::ERROR_SUCCESS) return connected.status;
    const HandleGuard close_hive(connected.key, [this](platform::RegistryKey k) { Close(k); });
    hive_ = {connected.key, view};

    const std::string_view prefix = rest.substr(0, star);
    const std::string_view suffix = rest.substr(star + 1);
    const std::size_t last = prefix.rfind('\\');
    const std::string_view parent =
        last == std::string_view::npos ? std::string_view() : prefix.substr(0, last);
    const std::string_view name_prefix =
        last == std::string_view::npos ? prefix : prefix.substr(last + 1);
    const platform::RegistryKeyResult opened =
        registry_.OpenKey(connected.key, parent, Access(platform::kKeyRead));
    if (opened.status != win::ERROR_SUCCESS) return opened.status;
    const HandleGuard close_key(opened.key, [this](platform::RegistryKey k) { Close(k); });
    const platform::RegistryKeyInfo info = registry_.QueryInfoKey(opened.key);
    if (info.status != win::ERROR_SUCCESS) return info.status;
    const std::string head =
        std::string(hive_part) + (parent.empty() ? "" : "\\" + std::string(parent)) + "\\";
    for (std::uint32_t i = 0;; ++i) {
      if (Stopped()) return win::ERROR_SUCCESS;
      const platform::RegistryEnumKeyResult sub =
          registry_.EnumKey(opened.key, i, info.max_subkey_name_chars + 1);
      if (sub.status == win::ERROR_NO_MORE_ITEMS) return win::ERROR_SUCCESS;
      if (sub.status != win::ERROR_SUCCESS) return sub.status;
      if (sub.name.size() >= name_prefix.size() && text::StartsWithNoCase(sub.name, name_prefix)) {
        working.push_back(head + sub.name + std::string(suffix));
      }
    }
  }

  win::Status ExportKey(const std::string& path) {
    return template_.value_mode ? ExportKeyValues(path) : ExportKeyRow(path);
  }

  void HandToSecurity(const std::string& path) {
    if (!WantsSecurity(context_, SecurityObjectKind::kRegistryKey)) return;
    const std::string object_path =
        target_.path + "\\" + std::string(platform::RegistryObjectRoot(hive_.view.hive->hive)) +
        "\\" + path;
    HandToSecurityAccess(context_, target_, {SecurityObjectKind::kRegistryKey, path, object_path});
  }

  // The key opened for its values and its facts; a failure sets the
  // message.
  struct OpenedValues {
    win::Status status = win::ERROR_SUCCESS;
    platform::RegistryKey key = 0;
    platform::RegistryKeyInfo info;
    std::string last_write;
  };
  OpenedValues OpenForValues(const std::string& path) {
    OpenedValues opened;
    const platform::RegistryKeyResult r =
        registry_.OpenKey(hive_.key, path, Access(platform::kKeyQueryValue));
    opened.status = r.status;
    if (r.status != win::ERROR_SUCCESS) {
      message_ = FormatMessageId(kMsgRegistrySoftwareKey, {target_.path});
      return opened;
    }
    opened.key = r.key;
    opened.info = registry_.QueryInfoKey(r.key);
    opened.status = opened.info.status;
    if (opened.info.status != win::ERROR_SUCCESS) {
      message_ = FormatMessageId(kMsgRegistryQuery, {target_.path});
      return opened;
    }
    opened.last_write =
        format::FormatFileTime(opened.info.last_write_time, *out_.platform().locale);
    return opened;
  }

  SymbolContext Symbols(const std::string& path, const std::string& last_write) const {
    SymbolContext symbols = out_.symbols();
    symbols.target = &target_;
    symbols.template_name = template_.prepared.name;
    symbols.key_path = path;
    symbols.last_write_time = last_write;
    return symbols;
  }

  std::string_view delimiter() const { return out_.settings().secondary_delimiter; }

  // One row for the key: symbols and the values the columns name.
  win::Status ExportKeyRow(const std::string& path) {
    HandToSecurity(path);
    const OpenedValues opened = OpenForValues(path);
    const HandleGuard close(opened.key, [this](platform::RegistryKey k) { Close(k); });
    if (opened.status != win::ERROR_SUCCESS) return opened.status;
    const SymbolContext symbols = Symbols(path, opened.last_write);
    win::Status result = win::ERROR_SUCCESS;
    for (std::size_t c = 0; c < template_.columns.size(); ++c) {
      const std::string& column = template_.columns[c];
      std::string& cell = row_[c];
      if (IsSymbol(column)) {
        cell = EvaluateSymbol(column, symbols);
        continue;
      }
      if (opened.info.max_value_data_bytes == 0) continue;
      const platform::RegistryValueResult v =
          registry_.QueryValue(opened.key, column, opened.info.max_value_data_bytes);
      if (v.status == win::ERROR_SUCCESS) {
        if (v.data_size > 0) cell = FormatRegistryValue(v.type, v.data, column, delimiter()).text;
      } else if (v.status != win::ERROR_FILE_NOT_FOUND) {
        result = v.status;
      }
    }
    row_.Write();
    return result;
  }

  // One row per value of the key.
  win::Status ExportKeyValues(const std::string& path) {
    HandToSecurity(path);
    const OpenedValues opened = OpenForValues(path);
    const HandleGuard close(opened.key, [this](platform::RegistryKey k) { Close(k); });
    if (opened.status != win::ERROR_SUCCESS) return opened.status;
    const platform::RegistryKeyInfo& info = opened.info;
    if (info.max_value_data_bytes == 0) return win::ERROR_SUCCESS;
    const std::uint32_t name_chars =
        info.max_value_name_chars == 0 ? kDefaultValueNameChars : info.max_value_name_chars + 1;
    const SymbolContext symbols = Symbols(path, opened.last_write);
    for (std::uint32_t i = 0;; ++i) {
      if (Stopped()) return win::ERROR_SUCCESS;
      const platform::RegistryEnumValueResult v =
          registry_.EnumValue(opened.key, i, name_chars, info.max_value_data_bytes);
      if (v.status == win::ERROR_NO_MORE_ITEMS) return win::ERROR_SUCCESS;
      if (v.status != win::ERROR_SUCCESS) return v.status;
      RegistryValueText value;
      if (v.data_size > 0) value = FormatRegistryValue(v.type, v.data, v.name, delimiter());
      for (std::size_t c = 0; c < template_.columns.size(); ++c) {
        const std::string& column = template_.columns[c];
        std::string& cell = row_[c];
        if (text::EqualsNoCase(column, kValueName)) {
          cell = v.name.empty() ? std::string(kDefaultValueName) : v.name;
        } else if (text::EqualsNoCase(column, kValue)) {
          cell = value.text;
        } else if (text::EqualsNoCase(column, kValueDataType)) {
          cell = value.type_name;  // none for empty data
        } else {
          cell = EvaluateSymbol(column, symbols);
        }
      }
      row_.Write();
    }
  }

  // The subkeys of a key, depth first when recursive; the key itself is
  // not exported. A key missing here is skipped quietly.
  win::Status ExportSubkeys(const std::string& path, bool recursive) {
    const platform::RegistryKeyResult r =
        registry_.OpenKey(hive_.key, path, Access(platform::kKeyRead));
    if (r.status == win::ERROR_FILE_NOT_FOUND) return win::ERROR_SUCCESS;
    if (r.status != win::ERROR_SUCCESS) {
      message_ = FormatMessageId(kMsgRegistrySoftwareKey, {target_.path});
      return r.status;
    }
    const HandleGuard close(r.key, [this](platform::RegistryKey k) { Close(k); });
    const platform::RegistryKeyInfo info = registry_.QueryInfoKey(r.key);
    if (info.status != win::ERROR_SUCCESS) {
      message_ = FormatMessageId(kMsgRegistryQuery, {target_.path});
      return info.status;
    }
    for (std::uint32_t i = 0;; ++i) {
      if (Stopped()) return win::ERROR_SUCCESS;
      const platform::RegistryEnumKeyResult sub =
          registry_.EnumKey(r.key, i, info.max_subkey_name_chars + 1);
      if (sub.status == win::ERROR_NO_MORE_ITEMS) return win::ERROR_SUCCESS;
      if (sub.status != win::ERROR_SUCCESS) return sub.status;
      const std::string child = path.empty() ? sub.name : path + "\\" + sub.name;
      if (const win::Status s = ExportKey(child); s != win::ERROR_SUCCESS) return s;
      if (recursive) {
        if (const win::Status s = ExportSubkeys(child, true); s != win::ERROR_SUCCESS) return s;
      }
    }
  }

  ExportContext& context_;
  RunOutput& out_;
  platform::Registry& registry_;
  const tagCObjects& target_;
  const RegistryTemplate& template_;
  Row row_;
  ConnectedHive hive_;
  std::string message_;
  win::Status last_status_ = win::ERROR_SUCCESS;
  bool failed_ = false;
  bool stopped_ = false;
};

class RegistryTemplatesRun final : public ExporterRun {
 public:
  explicit RegistryTemplatesRun(std::vector<PreparedTemplate> templates) {
    for (PreparedTemplate& t : templates) templates_.push_back({std::move(t), {}, false, {}});
  }

  bool OpenOutputs(UnitSetup& setup, ExportType /*type*/) override {
    const Configuration file(setup.profile,
                             ReadTemplateFileNames(setup.config, setup.output).registry);
    for (RegistryTemplate& t : templates_) {
      const std::string& name = t.prepared.name;
      const std::string column_text = file.ReadText(name, "OutputColumns", "");
      if (!PrepareTemplateOutput(setup, file, t.prepared, column_text + ",")) return false;
      t.columns = SplitTemplateColumns(column_text);
      for (const std::string& column : t.columns) t.value_mode |= IsValueSymbol(column);
      t.keys = file.ReadText(name, "OutputKeys", "");
    }
    return true;
  }
  // The templates make the run visit computers.
  bool Wanted(const SecurityAccessSink* /*security*/) const override { return true; }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    for (const RegistryTemplate& t : templates_) {
      ExportRegistryTemplate(context, target, t);
      if (context.StopRequested()) return;
    }
  }

 private:
  static void ExportRegistryTemplate(ExportContext& context, const tagCObjects& target,
                                     const RegistryTemplate& t) {
    RunOutput& out = context.output;
    ExportProgress progress(out, target, FormatMessageId(kMsgExportingRegistry, {t.prepared.name}),
                            ProgressKind::kRegistry);
    out.RecordOutputFile(kRegistry, t.prepared.name, t.prepared.output_path);
    KeyExport keys(context, target, t, *t.prepared.file);
    keys.Run();
    const bool failed = keys.failed();
    std::string text;
    if (failed) text = keys.FailureText();
    if (failed) progress.ReportFailure(text);
    out.LogLine(&target, "REGISTRY - " + t.prepared.name, failed, text);
  }

  std::vector<RegistryTemplate> templates_;
};

constexpr ExportType kTypes[] = {kRegistry};

}  // namespace

ExporterUnit RegistryTemplatesUnit() {
  return {.name = "registry templates",
          .types = kTypes,
          .opens_own_outputs = true,
          .start = StartTemplateRun<RegistryTemplatesRun, TemplateKind::kRegistry>};
}

}  // namespace tabulon

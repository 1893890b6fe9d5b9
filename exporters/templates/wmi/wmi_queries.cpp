#include "exporters/templates/wmi/wmi_queries.h"

#include "engine/catalogue.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/row.h"
#include "engine/run_settings.h"
#include "exporters/templates/template_files.h"
#include "exporters/templates/template_output.h"
#include "exporters/templates/wmi/wmi_query_text.h"
#include "exporters/templates/wmi/wmi_values.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/handle_guard.h"

namespace tabulon {
namespace {

// The kind code whose image is the WMI one.
constexpr std::int32_t kDefaultTimeoutSeconds = 10;
constexpr std::uint32_t kQueryFlags = platform::kWbemFlagReturnImmediately |
                                      platform::kWbemFlagForwardOnly |
                                      platform::kWbemFlagEnsureLocatable;

// One enabled template and its keys, read once for the run.
struct WmiTemplate {
  PreparedTemplate prepared;
  std::vector<std::string> columns;
  std::string query;
  std::uint32_t timeout_ms = 0;
};

// Why a template failed on a target: the message and the status behind it.
struct Failure {
  std::string message;
  win::Status status = win::ERROR_SUCCESS;
};

class WmiQueriesRun final : public ExporterRun {
 public:
  explicit WmiQueriesRun(std::vector<PreparedTemplate> templates) {
    for (PreparedTemplate& t : templates) templates_.push_back({std::move(t), {}, {}, 0});
  }

  bool OpenOutputs(UnitSetup& setup, ExportType /*type*/) override {
    const Configuration file(setup.profile,
                             ReadTemplateFileNames(setup.config, setup.output).wmi_queries);
    for (WmiTemplate& t : templates_) {
      const std::string& name = t.prepared.name;
      const std::string column_text = file.ReadText(name, "OutputColumns", "");
      if (!PrepareTemplateOutput(setup, file, t.prepared, column_text + ",")) return false;
      t.columns = SplitTemplateColumns(column_text);
      t.query = BuildWmiQuery(t.columns, file.ReadText(name, "ObjectClass", ""),
                              file.ReadText(name, "Where", ""));
      const std::int32_t seconds = file.ReadInt(name, "TimeoutSeconds", kDefaultTimeoutSeconds);
      t.timeout_ms = static_cast<std::uint32_t>(seconds) * 1000u;
    }
    return true;
  }
  // The templates make the run visit computers.
  bool Wanted(const SecurityAccessSink* /*security*/) const override { return true; }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    for (const WmiTemplate& t : templates_) ExportWmiQuery(context, target, t);
  }

 private:
  static void ExportWmiQuery(ExportContext& context, const tagCObjects& target,
                             const WmiTemplate& t) {
    RunOutput& out = context.output;
    ExportProgress progress(out, target, FormatMessageId(kMsgExportingWmi, {t.prepared.name}),
                            ProgressKind::kWmi);
    const std::optional<Failure> failure = Query(context, target, t);
    std::string text;
    if (failure) {
      text = failure->message;
      if (failure->status != win::ERROR_SUCCESS) {
        text += WmiErrorText(static_cast<std::int32_t>(failure->status),
                             WmiStatusTextsOf(failure->status));
      }
      progress.ReportFailure(text);
    }
    out.LogLine(&target, "WMI - " + t.prepared.name, failure.has_value(), text);
  }

  // Steps of one template on one target; the rows written before a failure
  // stay.
  static std::optional<Failure> Query(ExportContext& context, const tagCObjects& target,
                                      const WmiTemplate& t) {
    RunOutput& out = context.output;
    platform::Wmi& wmi = context.session.wmi();
    const auto release = [&wmi](platform::WmiObject o) { wmi.Release(o); };
    const std::string computer = WmiComputerPart(target.path);

    const platform::WmiObjectResult locator = wmi.CreateLocator();
    const HandleGuard locator_guard(locator.object, release);
    if (locator.status != win::ERROR_SUCCESS) {
      return Failure{FormatMessageId(kMsgWmiInit, {}), locator.status};
    }
    const platform::WmiObjectResult services =
        wmi.ConnectServer(locator.object, WmiNamespacePath(target.path));
    const HandleGuard services_guard(services.object, release);
    if (services.status != win::ERROR_SUCCESS) {
      return Failure{FormatMessageId(kMsgWmiConnect, {computer}), services.status};
    }
    if (const win::Status blanket = wmi.SetProxyBlanket(services.object);
        blanket != win::ERROR_SUCCESS) {
      return Failure{FormatMessageId(kMsgWmiSecurity, {computer}), blanket};
    }
    out.RecordOutputFile(kWmi, t.prepared.name, t.prepared.output_path);
    const platform::WmiObjectResult enumerator =
        wmi.ExecQuery(services.object, "WQL", t.query, kQueryFlags);
    const HandleGuard enumerator_guard(enumerator.object, release);
    if (enumerator.status != win::ERROR_SUCCESS) {
      return Failure{FormatMessageId(kMsgWmiQuery, {computer}), enumerator.status};
    }
    SymbolContext symbols = out.symbols();
    symbols.target = &target;
    symbols.template_name = t.prepared.name;
    const WmiValueFormat format{out.settings().secondary_delimiter,
                                out.settings().crlf_replacement};
    Row row(out, *t.prepared.file, t.columns.size());
    while (true) {
      // No more instances, a time-out and an error all end the rows quietly.
      const platform::WmiNextResult next = wmi.Next(enumerator.object, t.timeout_ms);
      if (next.status != win::ERROR_SUCCESS || !next.instance) break;
      for (std::size_t c = 0; c < t.columns.size(); ++c) {
        const std::string& column = t.columns[c];
        if (IsSymbol(column)) {
          row[c] = EvaluateSymbol(column, symbols);
          continue;
        }
        const platform::WmiGetResult got = platform::GetWmiProperty(*next.instance, column);
        if (got.status == win::ERROR_SUCCESS) {
          row[c] = FormatWmiValue(got.value, got.cim_type, format);
        }
      }
      row.Write();
    }
    return std::nullopt;
  }

  std::vector<WmiTemplate> templates_;
};

constexpr ExportType kTypes[] = {kWmi};

}  // namespace

ExporterUnit WmiQueriesUnit() {
  return {.name = "WMI queries",
          .types = kTypes,
          .opens_own_outputs = true,
          .start = StartTemplateRun<WmiQueriesRun, TemplateKind::kWmi>};
}

}  // namespace tabulon

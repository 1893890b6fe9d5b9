#include "exporters/server/computers/computers.h"

#include "engine/row.h"

#include "format/special_values.h"

namespace tabulon {

void ExportComputerRow(ExportContext& context, const tagCObjects& target) {
  RunOutput& out = context.output;
  if (out.settings().verbose_progress) {
    out.AddProgressRow(target.display_name, "Exporting Computer Information...", 1,
                       ProgressKindOfObject(target.type));
  }
  Row row(out, context.files.of(kComputers), &target);
  row[0] = target.server_name;
  row[1] = target.server_comment;
  // Printed signed ("%d"): a version of 0xFFFFFFFF reads -1.
  row[2] = std::to_string(static_cast<std::int32_t>(target.major_version));
  row[3] = std::to_string(static_cast<std::int32_t>(target.minor_version));
  const auto rows = ComputerTypes();
  for (std::uint32_t i = 0; i < rows.size(); ++i) {
    row[4 + i] = (target.server_type & rows[i].bit) != 0 ? format::kYes : format::kNo;
  }
  row.Write();
  out.LogLine(&target, ExportTypeInfo(kComputers).log_name, false, "");
}

}  // namespace tabulon

namespace tabulon {

namespace {

class ComputersRun final : public ExporterRun {
 public:
  bool Wanted(const SecurityAccessSink* /*security*/) const override { return true; }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    ExportComputerRow(context, target);
  }
  // A computer that cannot be reached still gets a row with its name.
  void TargetUnreachable(RunOutput& output, RunFiles& files, const tagCObjects& target) override {
    Row row(output, files.of(kComputers), &target);
    row[0] = target.display_name;
    row.Write();
  }
};

constexpr ExportType kTypes[] = {kComputers};

}  // namespace

ExporterUnit ComputersUnit() {
  return {.name = "computers",
          .types = kTypes,
          .start = [](const Configuration&,
                      const EnabledExports& enabled) -> std::unique_ptr<ExporterRun> {
            if (!enabled[kComputers]) return nullptr;
            return std::make_unique<ComputersRun>();
          }};
}

}  // namespace tabulon

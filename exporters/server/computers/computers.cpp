#include "exporters/server/computers/computers.h"

#include "format/special_values.h"

namespace tabulon {

void ExportComputerRow(ExportContext& context, const tagCObjects& target) {
  RunOutput& out = context.output;
  if (out.settings().verbose_progress) {
    out.AddProgressRow(target.display_name, "Exporting Computer Information...", 1, target.type);
  }
  out.value(0) = target.server_name;
  out.value(1) = target.server_comment;
  // Printed signed ("%d"): a version of 0xFFFFFFFF reads -1.
  out.value(2) = std::to_string(static_cast<std::int32_t>(target.major_version));
  out.value(3) = std::to_string(static_cast<std::int32_t>(target.minor_version));
  const auto rows = ComputerTypes();
  for (std::uint32_t i = 0; i < rows.size(); ++i) {
    out.value(4 + i) = (target.server_type & rows[i].bit) != 0 ? format::kYes : format::kNo;
  }
  out.WriteTypedRow(&target, context.files.of(kComputers), true);
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
    TypedOutput& file = files.of(kComputers);
    output.ClearValues();
    output.value(0) = target.display_name;
    output.WriteTypedRow(&target, file, true);
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

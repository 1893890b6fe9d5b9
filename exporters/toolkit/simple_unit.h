#pragma once
// Start functions of units: the unit of an export that writes one export
// type, needs no settings of its own and runs when its type is enabled, and
// that of a unit whose run reads its own settings.
#include <memory>

#include "engine/exporter_unit.h"

namespace tabulon {

using TargetExport = void (*)(ExportContext& context, const tagCObjects& target);

template <TargetExport Export>
class EnabledTypeRun final : public ExporterRun {
 public:
  explicit EnabledTypeRun(bool enabled) : enabled_(enabled) {}
  bool Wanted(const SecurityAccessSink* /*security*/) const override { return enabled_; }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    Export(context, target);
  }

 private:
  bool enabled_;
};

template <ExportType Type, TargetExport Export>
std::unique_ptr<ExporterRun> StartEnabledTypeRun(const Configuration& /*config*/,
                                                 const EnabledExports& enabled) {
  return std::make_unique<EnabledTypeRun<Export>>(enabled[Type]);
}

// The start function of a unit whose run reads its settings in its
// constructor from the configuration and the enable keys.
template <typename Run>
std::unique_ptr<ExporterRun> StartRun(const Configuration& config, const EnabledExports& enabled) {
  return std::make_unique<Run>(config, enabled);
}

}  // namespace tabulon

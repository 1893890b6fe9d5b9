#pragma once
// An exporter unit: everything the engine needs to know of one exporter. The
// engine opens the files, builds the targets and calls the units in their
// fixed order from one registration list, without knowing any of them.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "engine/configuration.h"
#include "engine/run_context.h"

namespace tabulon {

// The kinds of targets a unit runs for.
enum TargetKind : std::uint32_t {
  kComputerTargets = 1,
  kPrinterTargets = 2,
  // Directory objects of the object file, and directory computers before
  // their computer exports.
  kDirectoryTargets = 4,
};

// What a unit sees while the run is being prepared.
struct UnitSetup {
  const Configuration& config;
  const EnabledExports& enabled;
  RunOutput& output;
  RunFiles& files;
  platform::Profile& profile;

  // Loads a list file (services, groups, trustees); a missing, empty or
  // unreadable file has been reported with the file-open message and the
  // run stops.
  bool LoadListFile(std::string_view name, format::NameList& list) const;
};

// A unit's state for one run: its settings, and what it keeps between
// targets.
class ExporterRun {
 public:
  virtual ~ExporterRun() = default;

  // Opens the output files of a type the unit opens itself (templates), at
  // that type's place in the opening order. False stops the run.
  virtual bool OpenOutputs(UnitSetup& /*setup*/, ExportType /*type*/) { return true; }
  // After every file is open: list files and settings that depend on the
  // open files. False stops the run.
  virtual bool Prepare(UnitSetup& /*setup*/) { return true; }
  // The security hand-over when this unit writes the security access rows.
  virtual SecurityAccessSink* security_sink() { return nullptr; }
  // Whether the unit runs for the targets of this run; `security` is the
  // run's sink, when there is one.
  virtual bool Wanted(const SecurityAccessSink* security) const = 0;
  virtual void ExportTarget(ExportContext& context, const tagCObjects& target) = 0;
  // A computer target that did not answer the ping or its server information
  // query: the units that write something for it anyway do so here.
  virtual void TargetUnreachable(RunOutput& /*output*/, RunFiles& /*files*/,
                                 const tagCObjects& /*target*/) {}
};

struct ExporterUnit {
  std::string_view name;
  // The export types the unit writes.
  std::span<const ExportType> types;
  std::uint32_t target_kinds = kComputerTargets;
  // Whether the unit opens the files of its types itself.
  bool opens_own_outputs = false;
  // Reads the unit's settings for a run; null when the unit has nothing to
  // do in it. Whatever the unit keeps between targets (caches included)
  // lives in the run it returns, and ends with the run.
  std::unique_ptr<ExporterRun> (*start)(const Configuration& config,
                                        const EnabledExports& enabled) = nullptr;
};

using ExporterUnits = std::span<const ExporterUnit>;

}  // namespace tabulon

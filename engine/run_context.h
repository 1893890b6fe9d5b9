#pragma once
// What the run hands every exporter for one target: the target's session,
// the output side, the open files by export type, the value formats and the
// security hand-over.
#include <array>
#include <cstdint>

#include "engine/catalogue.h"
#include "engine/directory_target.h"
#include "engine/run_output.h"
#include "engine/security_handover.h"
#include "engine/setting_values.h"
#include "engine/target.h"
#include "format/name_list.h"
#include "format/settings.h"
#include "platform/session.h"

namespace tabulon {

struct TargetOptions {
  bool ping_enable = true;
  PingMethod ping_type = PingMethod::kRawSocket;
  std::int32_t ping_ttl = 30;
  std::int32_t ping_timeout = 50;
  std::int32_t ping_retry = 1;
  std::int32_t ping_retry_multiplier = 1;
  bool ping_hide_progress_errors = false;
  bool filtering_enable = false;
  std::int32_t filtering_type = 0;
  bool use_netbios_name = false;
  bool skip_enable = false;
  format::NameList skip_list;
  ComputerSource computer_source = ComputerSource::kBrowseList;
  bool merge_browse_list = true;
  bool skip_disabled = false;
};

// The enable keys of the export types.
struct EnabledExports {
  std::array<bool, kExportTypeCount> enabled{};
  bool operator[](ExportType type) const { return enabled[type]; }
};

// The open output file and column list of every export type with fields.
struct RunFiles {
  std::array<TypedOutput, kExportTypeCount> typed;
  TypedOutput& of(ExportType type) { return typed[type]; }
};

struct ExportContext {
  platform::TargetSession& session;
  RunOutput& output;
  RunFiles& files;
  const format::FormatSettings& format;
  // Null when the run exports no security access.
  SecurityAccessSink* security;
  // Who the run's sessions are and how long a call may take; where
  // directory connections go.
  const platform::SessionOptions& session_options;
  const DirectoryConnectionSettings& directory;
  // Set by the run's stop request (and by its cancel, which the sessions'
  // token carries): a long loop inside a target (a file walk, a registry
  // walk, a member expansion, a directory search) ends at its next step.
  platform::CancelToken stop = {};

  bool StopRequested() const { return stop.cancelled(); }
};

}  // namespace tabulon

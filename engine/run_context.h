#pragma once
// What the run hands every exporter: the platform, the output side, the open
// files by export type and the options read at the start of the run.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/catalogue.h"
#include "engine/run_output.h"
#include "engine/target.h"
#include "format/name_list.h"
#include "format/settings.h"
#include "platform/platform.h"

namespace tabulon {

struct TargetOptions {
  bool ping_enable = true;
  std::int32_t ping_type = 0;
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
  std::int32_t computer_source = 1;
  bool merge_browse_list = true;
  bool skip_disabled = false;
};

// Platform filter values of the services enumeration.
struct ServiceSelection {
  std::uint32_t type = 51;  // drivers and services
  std::uint32_t state = 3;  // active and inactive
  format::NameList names;   // empty: every service
};

struct ShareOptions {
  bool show_file = true;
  bool show_print = true;
  bool show_hidden = true;
  bool show_admin = true;
};

struct SecurityOptions {
  bool share = false;
  bool share_file = true;
  bool share_printer = true;
  bool share_admin = true;
  bool share_hidden = true;
  bool share_folder = true;
  bool owner = false;
  bool printer = false;
  bool service = false;
  bool registry = false;
  bool file = false;
  bool specific_trustees = false;
  format::NameList trustees;
};

struct GroupOptions {
  bool unresolved_sids = false;
  bool empty_groups = false;
  bool nested_groups = false;
  bool disabled_users = true;
  bool specific_groups = false;
  format::NameList groups;
};

// Which optional column groups the users column list selects.
struct UserColumnFacts {
  bool sid = false;
  bool remote_access = false;
  bool terminal_server = false;
};

struct DriveOptions {
  std::string mask;
  std::int32_t size_format = 1;
};

struct PhotoOptions {
  bool enable = false;
  std::string output_path;
  std::string extension = ".jpg";
};

struct RunOptions {
  std::array<bool, kExportTypeCount> enabled{};
  TargetOptions targets;
  ServiceSelection services;
  ShareOptions shares;
  SecurityOptions security;
  GroupOptions groups;
  UserColumnFacts user_columns;
  DriveOptions drives;
  PhotoOptions photos;
  bool open_output_window = true;
  std::vector<std::string> registry_templates;
  std::vector<std::string> wmi_templates;
  std::vector<std::string> file_templates;
  std::vector<std::string> directory_templates;
  // Domains are expanded and computers exported only when something needs
  // computers.
  bool computers_needed = false;

  bool is_enabled(ExportType type) const { return enabled[type]; }
};

// The open output file and column list of every export type with fields.
struct RunFiles {
  std::array<TypedOutput, kExportTypeCount> typed;
  TypedOutput& of(ExportType type) { return typed[type]; }
};

struct ExportContext {
  platform::Platform& platform;
  RunOutput& output;
  RunFiles& files;
  const RunOptions& options;
  const format::FormatSettings& format;
};

// One step of the per-target order: when `wanted` says so for this run, the
// run calls `run` for every computer target.
struct ExporterEntry {
  std::string_view name;
  bool (*wanted)(const RunOptions& options);
  void (*run)(ExportContext& context, const tagCObjects& target);
};

using ExporterTable = std::span<const ExporterEntry>;

}  // namespace tabulon

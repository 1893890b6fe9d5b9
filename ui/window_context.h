#pragma once
// What the parts of the window share: where the program keeps its files,
// the per-user settings store, and the active configuration. One context
// lives as long as the window; it is used on the window's thread only.
#include <string>

#include "engine/app_settings.h"
#include "platform/ini_file_profile.h"
#include "run/run.h"

namespace tabulon::ui {

struct WindowContext {
  explicit WindowContext(run::Locations where,
                         std::string settings_path = AppSettings::DefaultPath())
      : locations(std::move(where)), settings(profile, std::move(settings_path)) {}
  WindowContext(const WindowContext&) = delete;
  WindowContext& operator=(const WindowContext&) = delete;

  // The folder configurations and object files are looked for in when the
  // settings name none: the data directory, else the program's own.
  std::string DataFolder() const {
    return locations.data_directory.empty() ? locations.program_directory
                                            : locations.data_directory;
  }

  run::Locations locations;
  platform::IniFileProfile profile;  // configurations and the settings store
  AppSettings settings;
  // The active configuration's path; empty for a new, unsaved one.
  std::string configuration;
  // The run exports the object file the sibling tool hands over, and the
  // object list is that generated file: edits are refused (59505).
  bool handover = false;
};

}  // namespace tabulon::ui

#pragma once
// What the configuration editors share: the profile functions the
// configuration and template files are read and written with, the
// configuration's path and the program's locations, and where each
// template file of the configuration is.
#include <string>

#include "engine/configuration.h"
#include "engine/template_kinds.h"
#include "platform/profile.h"
#include "run/run.h"

namespace tabulon::ui {

struct SheetContext {
  platform::Profile& profile;
  std::string configuration;  // the configuration file's path
  run::Locations locations;

  Configuration config() const { return Configuration(profile, configuration); }
  // The file of a template kind (or of the directory schema): the
  // configuration's [General] key, its default file when empty, resolved as
  // a run resolves it (a name without a folder is in the data directory).
  std::string TemplateFile(TemplateKind kind) const;
};

}  // namespace tabulon::ui

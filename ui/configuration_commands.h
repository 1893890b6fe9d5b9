#pragma once
// The Configuration menu's commands and the start-up conversion, as the main
// window calls them. Each shows its own dialogs and messages.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/file_record.h"
#include "platform/locale.h"
#include "platform/time.h"
#include "ui/configuration_files.h"
#include "ui/object_import.h"
#include "ui/sheet_context.h"
#include "ui/window_context.h"

class QWidget;

namespace tabulon::ui {

// Each returns the configuration to open next (empty: nothing to open).
std::string NewConfiguration(QWidget* parent, WindowContext& context);
std::string ChooseConfigurationToOpen(QWidget* parent, WindowContext& context);
// What the configuration editors need to edit `configuration`.
SheetContext SheetFor(WindowContext& context, const std::string& configuration);

// True when the active configuration's settings or object file changed (the
// window refreshes).
bool ManageConfigurations(QWidget* parent, WindowContext& context);
bool AssignObjectFile(QWidget* parent, WindowContext& context, const std::string& configuration);
void GlobalSettings(QWidget* parent, WindowContext& context);
void ViewExportedFiles(QWidget* parent, WindowContext& context,
                       const std::vector<tagCOutputfile>& files);
// Objects to append, or nothing when cancelled or refused (the caller
// appends them with ObjectView::AppendImported).
std::optional<std::vector<ImportedObject>> ImportObjectFile(QWidget* parent,
                                                            WindowContext& context);
std::optional<std::vector<ImportedObject>> ImportQuollObjectFile(QWidget* parent,
                                                                 WindowContext& context);
// Start-up conversion of a Quoll object file; the configuration to open, or
// empty when it failed.
std::string ConvertQuollObjectFile(QWidget* parent, WindowContext& context,
                                   const std::string& quoll_file);

// Where one command places the names the user typed: the search folders of
// the settings, today's date, the user's locale.
class CommandPlacement {
 public:
  explicit CommandPlacement(const WindowContext& context);
  const NamePlacement& get() const { return placement_; }

 private:
  platform::SystemClock clock_;
  std::unique_ptr<platform::Locale> locale_;
  NamePlacement placement_;
};

}  // namespace tabulon::ui

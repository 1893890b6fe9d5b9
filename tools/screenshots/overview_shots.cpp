// Pictures of the configuration overview, its file locations, the column
// chooser and the option dialogs.
#include <QAction>
#include <QPushButton>
#include <vector>

#include "engine/catalogue.h"
#include "tools/screenshots/editor_shots.h"
#include "tools/screenshots/window_shot.h"
#include "ui/column_chooser.h"
#include "ui/main_window.h"
#include "ui/option_dialogs.h"

namespace tabulon::screenshots {
namespace {

// What opens a dialog that is no command of the window.
struct Opener {
  const char* file;
  std::function<void(QWidget* parent)> open;
};

std::vector<Opener> Openers() {
  return {
      {"column-chooser.png",
       [](QWidget* parent) {
         std::vector<ui::ColumnChoice> choices{{kGroups, DefaultColumnList(kGroups)},
                                               {kGroupMembers, DefaultColumnList(kGroupMembers)}};
         ui::ChooseColumns(parent, choices);
       }},
      {"group-options.png",
       [](QWidget* parent) {
         ui::GroupOptions options{1, 0};
         ui::EditGroupOptions(parent, options);
       }},
      {"user-options.png",
       [](QWidget* parent) {
         ui::ControllerOptions options{1, 0, 0, 1};
         ui::EditControllerOptions(parent, ui::AccountKind::kUser, options);
       }},
      {"computer-options.png",
       [](QWidget* parent) {
         ui::ControllerOptions options{0, 0, 0, 0};
         ui::EditControllerOptions(parent, ui::AccountKind::kComputer, options);
       }},
      {"computer-filter.png",
       [](QWidget* parent) {
         std::int32_t filter = 0x8 | 0x10 | 0x40000;
         ui::EditComputerFilter(parent, filter);
       }},
      {"photo-options.png",
       [](QWidget* parent) {
         ui::PhotoOptions options{"", ".jpg"};
         ui::EditPhotoOptions(parent, options);
       }},
  };
}

}  // namespace

bool ShootConfigurationOverview(ui::MainWindow& window, const QDir& out) {
  QAction* properties = window.action(ui::Command::kConfigurationProperties);
  bool ok = ShootDialog(
      out.filePath(QStringLiteral("configuration-properties.png")),
      [properties] { properties->trigger(); },
      [&out](QWidget* dialog) {
        auto* locations = dialog->findChild<QPushButton*>(QStringLiteral("fileLocationsButton"));
        return locations != nullptr &&
               ShootDialog(out.filePath(QStringLiteral("file-locations.png")),
                           [locations] { locations->click(); });
      });
  for (const Opener& opener : Openers()) {
    QWidget* parent = &window;
    const auto& open = opener.open;
    ok = ShootDialog(out.filePath(QString::fromLatin1(opener.file)),
                     [parent, &open] { open(parent); }) &&
         ok;
  }
  return ok;
}

}  // namespace tabulon::screenshots

// Pictures of the property sheet: one per page, and the Other page's
// "Export Properties" dialog, on the configuration the window has open.
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "engine/catalogue.h"
#include "platform/ini_file_profile.h"
#include "tools/screenshots/editor_shots.h"
#include "tools/screenshots/window_shot.h"
#include "ui/config_sheet.h"
#include "ui/main_window.h"

namespace tabulon::screenshots {
namespace {

// "sheet-3-Computers.png": spaces become dashes.
QString PageFile(int index, const QString& title) {
  QString name = title;
  name.replace(QLatin1Char(' '), QLatin1Char('-'));
  return QStringLiteral("sheet-%1-%2.png").arg(index).arg(name);
}

bool ShootPages(QWidget* sheet, const QDir& out) {
  auto* pages = sheet->findChild<QListWidget*>(QStringLiteral("pages"));
  if (pages == nullptr) return false;
  bool shot = true;
  for (int i = 0; i < pages->count(); ++i) {
    pages->setCurrentRow(i);
    shot = ShootWindow(sheet, out.filePath(PageFile(i, pages->item(i)->text()))) && shot;
    if (pages->item(i)->text() != QStringLiteral("Other")) continue;
    auto* properties = sheet->findChild<QPushButton*>(QStringLiteral("otherProperties"));
    shot = properties != nullptr &&
           ShootDialog(out.filePath(QStringLiteral("sheet-export-properties.png")),
                       [properties] { properties->click(); }) &&
           shot;
  }
  return shot;
}

}  // namespace

bool ShootSheetPages(ui::MainWindow& window, const QDir& out) {
  // The window has the sample open, from the folder the pictures are
  // taken in.
  platform::IniFileProfile profile;
  const ui::SheetContext context{
      profile, QDir::current().filePath(QStringLiteral("examples/sample.ini")).toStdString(),
      run::PrepareLocations(QCoreApplication::applicationFilePath().toStdString())};
  return ShootDialog(
      out.filePath(QStringLiteral("sheet.png")),
      [&context, &window] { ui::EditConfiguration(&window, context, kNoExportType); },
      [&out](QWidget* sheet) { return ShootPages(sheet, out); });
}

}  // namespace tabulon::screenshots

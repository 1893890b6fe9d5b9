// Pictures of the registry and file/directory template editors, the small
// editors their lists open, and a template list as a page shows it, on the
// sample configuration's templates.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QListWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <functional>

#include "run/run.h"
#include "tools/screenshots/editor_shots.h"
#include "tools/screenshots/window_shot.h"
#include "ui/main_window.h"
#include "ui/sheet_context.h"
#include "ui/template_editor.h"
#include "ui/template_list_panel.h"
#include "ui/window_context.h"

namespace tabulon::screenshots {
namespace {

// Makes row `row` of the list `list` current and clicks `button`, both in
// `dialog`, picturing what opens as `file`.
bool ShootListEditor(QWidget* dialog, const char* list, int row, const char* button,
                     const QString& path, const std::function<bool(QWidget*)>& inside = {}) {
  auto* items = dialog->findChild<QListWidget*>(QString::fromLatin1(list));
  auto* click = dialog->findChild<QAbstractButton*>(QString::fromLatin1(button));
  if (items == nullptr || click == nullptr || items->count() <= row) {
    std::fprintf(stderr, "screenshots: %s: no %s row %d or %s\n", qPrintable(path), list, row,
                 button);
    return false;
  }
  items->setCurrentRow(row);
  return ShootDialog(
      path, [click] { click->click(); }, inside);
}

bool ShootEditor(const ui::TemplateEdit& edit, const QString& path,
                 const std::function<bool(QWidget*)>& inside) {
  return ShootDialog(
      path,
      [&edit] {
        std::string saved;
        ui::EditTemplate(edit, saved);
      },
      inside);
}

}  // namespace

bool ShootRegistryAndFileEditors(ui::MainWindow& window, const QDir& out) {
  // The window's sample configuration, as the property sheet would have it.
  ui::WindowContext context(
      run::PrepareLocations(QCoreApplication::applicationFilePath().toStdString()));
  const ui::SheetContext sheet{
      context.profile,
      QDir::current().filePath(QStringLiteral("examples/sample.ini")).toStdString(),
      context.locations};
  auto shot = [&out](const char* name) { return out.filePath(QString::fromLatin1(name)); };

  const ui::TemplateEdit registry{&window, &sheet, TemplateKind::kRegistry,
                                  sheet.TemplateFile(TemplateKind::kRegistry),
                                  "Installed Software"};
  bool ok = ShootEditor(registry, shot("registry-template-editor.png"), [&](QWidget* dialog) {
    return ShootListEditor(dialog, "keyList", 0, "keyListEdit", shot("registry-key-editor.png")) &&
           ShootListEditor(
               dialog, "valueList", 2, "valueListEdit", shot("registry-value-editor.png"),
               [&](QWidget* value) {
                 auto* lookup = value->findChild<QAbstractButton*>(QStringLiteral("lookupSymbol"));
                 return lookup != nullptr && ShootDialog(shot("registry-symbol-picker.png"),
                                                         [lookup] { lookup->click(); });
               });
  });

  const ui::TemplateEdit files{&window, &sheet, TemplateKind::kFile,
                               sheet.TemplateFile(TemplateKind::kFile), "Program executables"};
  ok = ShootEditor(files, shot("file-template-editor.png"),
                   [&](QWidget* dialog) {
                     return ShootListEditor(dialog, "pathList", 0, "pathListEdit",
                                            shot("share-path-editor.png")) &&
                            ShootListEditor(dialog, "filterList", 0, "filterListEdit",
                                            shot("file-filter-editor.png"));
                   }) &&
       ok;

  // A template list as the Registry page shows it, in a window of its own.
  QDialog page(&window);
  page.setWindowTitle(QStringLiteral("Registry Templates"));
  auto* layout = new QVBoxLayout(&page);
  layout->addWidget(new ui::TemplateListPanel(sheet, TemplateKind::kRegistry));
  page.resize(460, 300);
  page.show();
  ok = ShootWindow(&page, shot("template-list.png")) && ok;
  page.hide();
  return ok;
}

}  // namespace tabulon::screenshots

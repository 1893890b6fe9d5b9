// The WMI template editor with the class browser and the where-clause
// editor, and the directory query editor, on the sample's templates.
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "exporters/templates/template_files.h"
#include "platform/ini_file_profile.h"
#include "tools/screenshots/editor_shots.h"
#include "tools/screenshots/window_shot.h"
#include "ui/template_editor.h"

namespace tabulon::screenshots {
namespace {

// The first template of a kind in the sample's template file.
bool FirstTemplate(const ui::SheetContext& context, TemplateKind kind, ui::TemplateEdit& edit) {
  edit.context = &context;
  edit.kind = kind;
  edit.file = context.TemplateFile(kind);
  const TemplateListing listing = ListTemplates(edit.file, kind);
  if (listing.names.empty()) {
    std::fprintf(stderr, "screenshots: no templates in %s\n", edit.file.c_str());
    return false;
  }
  edit.name = listing.names.front();
  return true;
}

// Clicks `button`; a message box it opens (a failure) is reported and
// closed, and the click counts as failed.
bool ClickWithoutMessage(QPushButton* button) {
  bool failed = false;
  QTimer timer;
  timer.setInterval(50);
  QObject::connect(&timer, &QTimer::timeout, [&failed] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::fprintf(stderr, "screenshots: %s\n", qPrintable(box->text()));
      failed = true;
      box->reject();
    }
  });
  timer.start();
  button->click();
  return !failed;
}

template <typename Widget>
Widget* Child(QWidget* dialog, const char* name) {
  auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
  if (widget == nullptr) std::fprintf(stderr, "screenshots: no %s\n", name);
  return widget;
}

bool ShootWmiEditor(const ui::TemplateEdit& edit, const QDir& out) {
  return ShootDialog(
      out.filePath(QStringLiteral("wmi-template.png")),
      [&edit] {
        std::string saved;
        ui::EditTemplate(edit, saved);
      },
      [&out](QWidget* dialog) {
        auto* show = Child<QPushButton>(dialog, "showProperties");
        auto* properties = Child<QListWidget>(dialog, "classProperties");
        if (show == nullptr || properties == nullptr || !ClickWithoutMessage(show)) return false;
        if (properties->count() > 0) properties->setCurrentRow(0);
        auto* where = Child<QPushButton>(dialog, "editWhere");
        auto* browse = Child<QPushButton>(dialog, "browseClasses");
        return ShootWindow(dialog, out.filePath(QStringLiteral("wmi-template-properties.png"))) &&
               where != nullptr && browse != nullptr &&
               ShootDialog(out.filePath(QStringLiteral("wmi-where-clause.png")),
                           [where] { where->click(); }) &&
               ShootDialog(out.filePath(QStringLiteral("wmi-class-browser.png")),
                           [browse] { browse->click(); });
      });
}

bool ShootDirectoryEditor(const ui::TemplateEdit& edit, const QDir& out) {
  return ShootDialog(
      out.filePath(QStringLiteral("directory-query.png")),
      [&edit] {
        std::string saved;
        ui::EditTemplate(edit, saved);
      },
      [&out](QWidget* dialog) {
        auto* category = Child<QComboBox>(dialog, "attributeCategory");
        if (category == nullptr) return false;
        category->setCurrentIndex(category->findText(QStringLiteral("User Attributes")));
        auto* filters = Child<QListWidget>(dialog, "objectTypes");
        auto* options = Child<QPushButton>(dialog, "setOptions");
        if (filters == nullptr || options == nullptr ||
            !ShootWindow(dialog, out.filePath(QStringLiteral("directory-query-users.png")))) {
          return false;
        }
        // The options of users, groups and computers (the editor is
        // cancelled afterwards, so the sample keeps its query).
        const struct {
          int filter;
          const char* file;
        } kinds[] = {{1, "directory-user-options.png"},
                     {2, "directory-group-options.png"},
                     {6, "directory-computer-options.png"}};
        for (const auto& kind : kinds) {
          filters->setCurrentRow(kind.filter);
          if (!ShootDialog(out.filePath(QString::fromLatin1(kind.file)),
                           [options] { options->click(); })) {
            return false;
          }
        }
        return true;
      });
}

}  // namespace

bool ShootWmiAndDirectoryEditors(ui::MainWindow& /*window*/, const QDir& out) {
  // The sample configuration the window opened, in the copy the pictures
  // run in (the current folder).
  platform::IniFileProfile profile;
  const ui::SheetContext context{
      profile, QDir::current().filePath(QStringLiteral("examples/sample.ini")).toStdString(),
      run::PrepareLocations(QCoreApplication::applicationFilePath().toStdString())};
  ui::TemplateEdit wmi;
  ui::TemplateEdit directory;
  return FirstTemplate(context, TemplateKind::kWmi, wmi) && ShootWmiEditor(wmi, out) &&
         FirstTemplate(context, TemplateKind::kDirectory, directory) &&
         ShootDirectoryEditor(directory, out);
}

}  // namespace tabulon::screenshots

#include "ui/file_field.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include "engine/messages.h"
#include "ui/configuration_widgets.h"
#include "ui/message_box.h"

namespace tabulon::ui {
namespace {

QString BrowseTitle(FileFieldKind kind, const QString& folder_title) {
  switch (kind) {
    case FileFieldKind::kOutputFile:
      return ToQString(MessageText(kMsgSelectOutputFile));
    case FileFieldKind::kLogFile:
      return ToQString(MessageText(kMsgSelectLogFile));
    case FileFieldKind::kFolder:
      return folder_title;
    default:
      return QObject::tr("Select File");
  }
}

std::string_view BrowseFilter(FileFieldKind kind) {
  switch (kind) {
    case FileFieldKind::kOutputFile:
    case FileFieldKind::kLogFile:
      return MessageText(kMsgOutputFilesFilter);
    case FileFieldKind::kTemplateFile:
      return MessageText(kMsgConfigurationFilesFilter);
    case FileFieldKind::kObjectFile:
      return MessageText(kMsgObjectFilesFilter);
    default:
      return {};
  }
}

}  // namespace

FileField::FileField(FileFieldKind kind, const QString& object_name, const QString& accessible_name,
                     QWidget* parent, const QString& folder_title)
    : QWidget(parent), kind_(kind), folder_title_(folder_title), edit_(new QLineEdit) {
  Named(edit_, object_name.toLatin1().constData(), accessible_name);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(edit_, 1);
  auto* browse = Named(new QPushButton(tr("...")),
                       (object_name + QStringLiteral("Browse")).toLatin1().constData(),
                       tr("Browse for %1").arg(accessible_name));
  browse->setToolTip(browse->accessibleName());
  layout->addWidget(browse);
  connect(browse, &QPushButton::clicked, this, &FileField::Browse);
  if (kind == FileFieldKind::kListFile) {
    auto* edit = Named(new QPushButton(tr("Edit")),
                       (object_name + QStringLiteral("Edit")).toLatin1().constData(),
                       tr("Edit %1").arg(accessible_name));
    layout->addWidget(edit);
    connect(edit, &QPushButton::clicked, this, [this] {
      if (edit_->text().isEmpty()) return;
      OpenInTextEditor(this, edit_->text());
    });
  }
  setFocusProxy(edit_);
  connect(edit_, &QLineEdit::textChanged, this, &FileField::textChanged);
}

QString FileField::text() const {
  return edit_->text();
}

void FileField::setText(const QString& text) {
  edit_->setText(text);
}

void FileField::Browse() {
  const QString title = BrowseTitle(kind_, folder_title_);
  QString chosen;
  // Qt's own dialogs: the same on every desktop, and reachable by tests.
  const auto options = QFileDialog::DontUseNativeDialog;
  if (kind_ == FileFieldKind::kFolder) {
    chosen = QFileDialog::getExistingDirectory(this, title, edit_->text(),
                                               options | QFileDialog::ShowDirsOnly);
  } else if (kind_ == FileFieldKind::kOutputFile || kind_ == FileFieldKind::kLogFile) {
    // An output file need not exist yet, and one that does is not replaced
    // by choosing it here.
    chosen = QFileDialog::getSaveFileName(this, title, edit_->text(),
                                          FileDialogFilter(BrowseFilter(kind_)), nullptr,
                                          options | QFileDialog::DontConfirmOverwrite);
  } else {
    chosen = QFileDialog::getOpenFileName(this, title, edit_->text(),
                                          FileDialogFilter(BrowseFilter(kind_)), nullptr, options);
  }
  if (!chosen.isEmpty()) edit_->setText(chosen);
}

QString FileDialogFilter(std::string_view windows_filter) {
  QString all = QObject::tr("All Files (*)");
  const QString text = ToQString(windows_filter);
  const qsizetype bar = text.indexOf(QLatin1Char('|'));
  if (bar < 0) return all;
  const QString pattern = text.mid(bar + 1);
  QString label = text.left(bar);
  // The label names the upper-case pattern; files on this system are
  // usually written in lower case.
  label.replace(pattern, pattern + QLatin1Char(' ') + pattern.toLower());
  return label + QStringLiteral(";;") + all;
}

bool OpenInTextEditor(QWidget* parent, const QString& path) {
  QFile file(path);
  if (!QFileInfo::exists(path) && !file.open(QIODevice::WriteOnly)) {
    ShowMessage(parent,
                ToUtf8(QObject::tr("Unable to create '%1': %2").arg(path, file.errorString())));
    return false;
  }
  file.close();
  const QString visual = qEnvironmentVariable("VISUAL");
  const QString editor = qEnvironmentVariable("EDITOR");
  QStringList command;
  if (!visual.isEmpty()) {
    command = QProcess::splitCommand(visual);
  } else if (!editor.isEmpty()) {
    // $EDITOR is by custom a terminal editor: give it a terminal.
    const QString terminal = QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
    if (!terminal.isEmpty()) command << terminal << QStringLiteral("-e");
    command << QProcess::splitCommand(editor);
  }
  if (!command.isEmpty()) {
    const QString program = command.takeFirst();
    if (QProcess::startDetached(program, command << path)) return true;
    ShowMessage(
        parent,
        ToUtf8(QObject::tr("Unable to start the editor '%1' for '%2'.").arg(program, path)));
    return false;
  }
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return true;
  ShowMessage(parent, ToUtf8(QObject::tr("No application is set to open '%1'. Set VISUAL or "
                                         "EDITOR to the editor you want.")
                                 .arg(path)));
  return false;
}

}  // namespace tabulon::ui

#include "ui/exported_files_dialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "engine/catalogue.h"
#include "ui/configuration_widgets.h"
#include "ui/icons.h"
#include "ui/message_box.h"

namespace tabulon::ui {
namespace {

constexpr int kTypeColumnWidth = 150;
constexpr int kFileColumnWidth = 400;
constexpr int kPathRole = Qt::UserRole;

}  // namespace

std::string OpenCommandLine(std::string_view command, std::string_view path) {
  std::string line;
  std::size_t start = 0;
  for (std::size_t at = command.find(kFileToken); at != std::string_view::npos;
       at = command.find(kFileToken, start)) {
    line.append(command.substr(start, at - start)).append(path);
    start = at + kFileToken.size();
  }
  line.append(command.substr(start));
  return line;
}

bool StartOpenCommand(const std::string& command_line) {
  QStringList arguments = QProcess::splitCommand(ToQString(command_line));
  if (arguments.isEmpty()) return false;
  const QString program = arguments.takeFirst();
  return QProcess::startDetached(program, arguments);
}

ExportedFilesDialog::ExportedFilesDialog(WindowContext& context, std::vector<tagCOutputfile> files,
                                         QWidget* parent)
    : QDialog(parent), context_(context), files_(std::move(files)) {
  setObjectName("exportedFilesDialog");
  setWindowTitle(tr("View Exported Files"));
  auto* layout = new QVBoxLayout(this);
  list_ = Named(new QTreeWidget, "exportedFileList", tr("Exported files"));
  list_->setHeaderLabels({tr("Export Type"), tr("File Name")});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->header()->resizeSection(0, kTypeColumnWidth);
  list_->header()->resizeSection(1, kFileColumnWidth);
  for (const tagCOutputfile& file : files_) {
    auto* item = new QTreeWidgetItem({ToQString(file.display_name), ToQString(file.path)});
    item->setIcon(0, file.type == kNoExportType ? ImageIcon(kTemplateOutputImage)
                                                : ExportTypeIcon(file.type));
    item->setData(0, kPathRole, ToQString(file.path));
    list_->addTopLevelItem(item);
  }
  if (list_->topLevelItemCount() > 0) {
    list_->setCurrentItem(list_->topLevelItem(0));
    list_->topLevelItem(0)->setSelected(true);
  }
  layout->addWidget(list_);

  auto* command_row = new QHBoxLayout;
  const QString command_label = tr("Open Command");
  command_row->addWidget(new QLabel(command_label));
  command_ = Named(new QLineEdit(ToQString(context.settings.Get("LastOpenCmd"))), "openCommand",
                   command_label);
  command_->setToolTip(
      tr("%E% stands for the file; empty opens it with the desktop's default "
         "application."));
  command_row->addWidget(command_);
  layout->addLayout(command_row);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->setObjectName("buttons");
  auto* open = Named(new QPushButton(tr("&Open")), "openButton", tr("&Open"));
  auto* open_with =
      Named(new QPushButton(tr("Open &With...")), "openWithButton", tr("Open &With..."));
  buttons->addButton(open, QDialogButtonBox::ActionRole);
  buttons->addButton(open_with, QDialogButtonBox::ActionRole);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(open, &QPushButton::clicked, this, [this] { OpenSelected(); });
  connect(open_with, &QPushButton::clicked, this, [this] { OpenSelectedWith(); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { OpenSelected(); });
  // Room for both columns at their widths.
  resize(kTypeColumnWidth + kFileColumnWidth + 60, height());
}

std::vector<std::string> ExportedFilesDialog::SelectedPaths() const {
  std::vector<std::string> paths;
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list_->topLevelItem(i);
    if (item->isSelected()) paths.push_back(ToUtf8(item->data(0, kPathRole).toString()));
  }
  return paths;
}

void ExportedFilesDialog::OpenSelected() {
  const std::string command = ToUtf8(command_->text());
  // An emptied command is remembered too: the default application then.
  context_.settings.Set("LastOpenCmd", command);
  if (!command.empty()) {
    OpenWithCommand(command);
    return;
  }
  for (const std::string& path : SelectedPaths()) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(path)))) {
      ShowOpenFailure(this, ToUtf8(windowTitle()), path, win::ERROR_FILE_NOT_FOUND);
    }
  }
}

void ExportedFilesDialog::OpenSelectedWith() {
  bool ok = false;
  const QString command = QInputDialog::getText(
      this, tr("Open With"),
      tr("Command to open the selected files with (%E% stands for the file):"), QLineEdit::Normal,
      command_->text(), &ok);
  if (!ok || command.trimmed().isEmpty()) return;
  command_->setText(command);
  OpenWithCommand(ToUtf8(command));
}

void ExportedFilesDialog::OpenWithCommand(const std::string& command) {
  context_.settings.Set("LastOpenCmd", command);
  for (const std::string& path : SelectedPaths()) {
    if (!StartOpenCommand(OpenCommandLine(command, path))) {
      ShowOpenFailure(this, ToUtf8(windowTitle()), path, win::ERROR_FILE_NOT_FOUND);
    }
  }
}

}  // namespace tabulon::ui

#include "ui/copy_messages_dialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/messages.h"
#include "ui/copy_messages_text.h"
#include "ui/message_box.h"

namespace tabulon::ui {
namespace {

constexpr std::string_view kMessageFileTitle = "Message File";

template <typename Widget>
Widget* Named(Widget* widget, const char* object_name, const QString& accessible_name) {
  widget->setObjectName(object_name);
  widget->setAccessibleName(accessible_name);
  return widget;
}

}  // namespace

CopyMessagesDialog::CopyMessagesDialog(std::vector<ProgressRow> rows, QWidget* parent)
    : QDialog(parent), rows_(std::move(rows)) {
  setObjectName("copyMessagesDialog");
  setWindowTitle(tr("Copy Selected Messages"));
  setAccessibleName(windowTitle());

  clipboard_ =
      Named(new QRadioButton(tr("Windows &Clipboard")), "clipboardOption", tr("Windows Clipboard"));
  text_file_ = Named(new QRadioButton(tr("&Text File")), "textFileOption", tr("Text File"));
  file_name_ = Named(new QLineEdit, "messageFileName", tr("Text file name"));
  auto* browse = Named(new QPushButton(tr("...")), "messageFileBrowse", tr("Choose the text file"));
  append_ = Named(new QCheckBox(tr("&Append to existing file")), "appendOption",
                  tr("Append to existing file"));
  clipboard_->setChecked(true);

  auto* destination = new QGroupBox(tr("Destination"));
  auto* destination_layout = new QVBoxLayout(destination);
  destination_layout->addWidget(clipboard_);
  destination_layout->addWidget(text_file_);
  auto* file_row = new QHBoxLayout;
  file_row->addWidget(file_name_);
  file_row->addWidget(browse);
  destination_layout->addLayout(file_row);
  destination_layout->addWidget(append_);

  tab_ = Named(new QRadioButton(tr("Ta&b")), "tabDelimiter", tr("Tab delimiter"));
  other_ = Named(new QRadioButton(tr("&Other")), "otherDelimiter", tr("Other delimiter"));
  other_text_ = Named(new QLineEdit, "otherDelimiterText", tr("Other delimiter character"));
  other_text_->setMaxLength(1);
  tab_->setChecked(true);
  auto* delimiter = new QGroupBox(tr("Field Delimiter"));
  auto* delimiter_layout = new QHBoxLayout(delimiter);
  delimiter_layout->addWidget(tab_);
  delimiter_layout->addWidget(other_);
  delimiter_layout->addWidget(other_text_);

  labels_ = Named(new QCheckBox(tr("Include field column labels in output")), "labelsOption",
                  tr("Include field column labels in output"));
  image_ids_ = Named(new QCheckBox(tr("Include icon IDs in output")), "imageIdsOption",
                     tr("Include icon IDs in output"));
  indentation_ = Named(new QCheckBox(tr("Include indentation level in output")),
                       "indentationOption", tr("Include indentation level in output"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName("copyMessagesButtons");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(destination);
  layout->addWidget(delimiter);
  layout->addWidget(labels_);
  layout->addWidget(image_ids_);
  layout->addWidget(indentation_);
  layout->addWidget(buttons);

  auto update = [this] {
    const bool to_file = text_file_->isChecked();
    file_name_->setEnabled(to_file);
    append_->setEnabled(to_file);
    other_text_->setEnabled(other_->isChecked());
  };
  connect(text_file_, &QRadioButton::toggled, this, update);
  connect(other_, &QRadioButton::toggled, this, update);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString chosen =
        QFileDialog::getSaveFileName(this, tr("Message File"), file_name_->text(), {}, nullptr,
                                     QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty()) file_name_->setText(chosen);
  });
  update();
}

void CopyMessagesDialog::accept() {
  if (text_file_->isChecked() ? CopyToFile() : CopyToClipboard()) QDialog::accept();
}

namespace {

CopyMessagesOptions OptionsOf(bool other, const QString& other_text, bool labels, bool image_ids,
                              bool indentation) {
  CopyMessagesOptions options;
  if (other) options.delimiter = FirstCharacter(other_text.toStdString());
  options.labels = labels;
  options.image_ids = image_ids;
  options.indentation = indentation;
  return options;
}

}  // namespace

bool CopyMessagesDialog::CopyToClipboard() {
  // Qt's clipboard has no separate open, empty and allocate steps that can
  // fail: a missing clipboard is the one failure it shows.
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) {
    ShowMessage(this, MessageText(kMsgClipboardOpen));
    return false;
  }
  const std::string text =
      BuildMessagesText(rows_,
                        OptionsOf(other_->isChecked(), other_text_->text(), labels_->isChecked(),
                                  image_ids_->isChecked(), indentation_->isChecked()),
                        "\r\n");
  clipboard->setText(QString::fromStdString(text));
  return true;
}

bool CopyMessagesDialog::CopyToFile() {
  const std::string path = file_name_->text().toStdString();
  const win::Status status =
      WriteMessagesFile(path, append_->isChecked(), rows_,
                        OptionsOf(other_->isChecked(), other_text_->text(), labels_->isChecked(),
                                  image_ids_->isChecked(), indentation_->isChecked()));
  if (status == win::ERROR_SUCCESS) return true;
  ShowOpenFailure(this, kMessageFileTitle, path, status);
  return false;
}

}  // namespace tabulon::ui

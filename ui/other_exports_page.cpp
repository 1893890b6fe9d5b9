#include "ui/other_exports_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/catalogue.h"
#include "ui/column_chooser.h"
#include "ui/configuration_widgets.h"
#include "ui/file_field.h"

namespace tabulon::ui {
namespace {

enum Column { kOptionColumn, kFileColumn };

bool IsOn(const KeyControl& control) {
  return SettingValue(control.key(), ProfileInteger(ToUtf8(control.Value()))) != 0;
}

void ShowRow(QTreeWidgetItem* row, const OtherExport& item) {
  row->setText(kOptionColumn, ToQString(ExportTypeInfo(item.type).settings_label));
  row->setCheckState(kOptionColumn, IsOn(*item.enable) ? Qt::Checked : Qt::Unchecked);
  // An empty name is the type's default file, shown greyed.
  const QString file = item.file->Value();
  const bool named = !file.isEmpty();
  row->setText(kFileColumn, named ? file : ToQString(ExportTypeInfo(item.type).default_file_name));
  row->setForeground(
      kFileColumn,
      QApplication::palette().brush(named ? QPalette::Active : QPalette::Disabled, QPalette::Text));
}

class ExportPropertiesDialog : public QDialog {
 public:
  ExportPropertiesDialog(const OtherExport& item, QWidget* parent)
      : QDialog(parent), item_(item), columns_(ToUtf8(item.columns->Value())) {
    setObjectName("exportPropertiesDialog");
    setWindowTitle(tr("Export Properties"));
    auto* layout = new QVBoxLayout(this);
    auto* type = new QLabel(ToQString(ExportTypeInfo(item.type).settings_label));
    type->setObjectName("exportType");
    layout->addWidget(type);
    enable_ =
        Named(new QCheckBox(tr("&Enable Exporting")), "enableExporting", tr("Enable Exporting"));
    enable_->setChecked(IsOn(*item.enable));
    layout->addWidget(enable_);
    file_ = new FileField(FileFieldKind::kOutputFile, "outputFile", tr("Output File Name"));
    file_->setText(item.file->Value());
    file_->edit()->setPlaceholderText(ToQString(ExportTypeInfo(item.type).default_file_name));
    auto* form = new QFormLayout;
    auto* file_label = new QLabel(tr("&Output File Name:"));
    file_label->setBuddy(file_->edit());
    form->addRow(file_label, file_);
    layout->addLayout(form);
    auto* columns = Named(new QPushButton(tr("Customize Output &Columns...")), "customizeColumns",
                          tr("Customize Output Columns..."));
    connect(columns, &QPushButton::clicked, this, [this] {
      std::vector<ColumnChoice> choice{{item_.type, columns_}};
      if (ChooseColumns(this, choice)) columns_ = choice.front().columns;
    });
    auto* row = new QHBoxLayout;
    row->addWidget(columns);
    row->addStretch();
    layout->addLayout(row);
    layout->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName("buttons");
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setMinimumWidth(420);
  }

  void accept() override {
    item_.enable->SetValue(enable_->isChecked() ? "1" : "0");
    item_.file->SetValue(file_->text());
    item_.columns->SetValue(ToQString(columns_));
    QDialog::accept();
  }

 private:
  OtherExport item_;
  std::string columns_;
  QCheckBox* enable_;
  FileField* file_;
};

class OtherExportsPage : public QWidget {
 public:
  explicit OtherExportsPage(std::vector<OtherExport> exports) : exports_(std::move(exports)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(tr("Other &exports:"));
    layout->addWidget(label);
    list_ = Named(new QTreeWidget, "otherExports", tr("Other exports"));
    label->setBuddy(list_);
    list_->setHeaderLabels({tr("Export Option"), tr("File Name")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    for (const OtherExport& item : exports_) ShowRow(new QTreeWidgetItem(list_), item);
    list_->header()->setSectionResizeMode(kOptionColumn, QHeaderView::ResizeToContents);
    list_->setCurrentItem(list_->topLevelItem(0));
    layout->addWidget(list_, 1);
    auto* properties =
        Named(new QPushButton(tr("&Properties...")), "otherProperties", tr("Properties..."));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(properties);
    layout->addLayout(row);

    // A tick is the type's enable key, as "Enable Exporting" is.
    connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
      if (column != kOptionColumn) return;
      exports_[Index(item)].enable->SetValue(item->checkState(kOptionColumn) == Qt::Checked ? "1"
                                                                                            : "0");
    });
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { Properties(item); });
    connect(properties, &QPushButton::clicked, this, [this] { Properties(list_->currentItem()); });
  }

 private:
  std::size_t Index(QTreeWidgetItem* row) const {
    return static_cast<std::size_t>(list_->indexOfTopLevelItem(row));
  }
  void Properties(QTreeWidgetItem* row) {
    if (row == nullptr) return;
    const OtherExport& item = exports_[Index(row)];
    if (EditOtherExport(this, item)) ShowRow(row, item);
  }

  std::vector<OtherExport> exports_;
  QTreeWidget* list_;
};

}  // namespace

QWidget* MakeOtherExportsPage(std::vector<OtherExport> exports) {
  return new OtherExportsPage(std::move(exports));
}

bool EditOtherExport(QWidget* parent, const OtherExport& item) {
  ExportPropertiesDialog dialog(item, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace tabulon::ui

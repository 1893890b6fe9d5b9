// "File/Directory Export Template Properties": a file/directory template's
// name, output file, columns, shared directory paths and file filters,
// written to its section on OK.
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "engine/catalogue.h"
#include "engine/column_list.h"
#include "ui/column_chooser.h"
#include "ui/configuration_widgets.h"
#include "ui/editable_list.h"
#include "ui/file_field.h"
#include "ui/message_box.h"
#include "ui/share_path_dialogs.h"
#include "ui/template_editor.h"

namespace tabulon::ui {
namespace {

// A new template's columns: the object, and each item's path, size and
// last write time; version columns make a scan read every file.
constexpr std::string_view kNewColumns = "1003,0,1,6";

// Where a path item keeps its entry.
constexpr int kOptionRole = Qt::UserRole + 1;
constexpr int kLevelsRole = Qt::UserRole + 2;

QString ColumnTitles(const std::string& columns) {
  if (columns.empty()) return QObject::tr("(none: nothing is exported)");
  QStringList titles;
  for (const std::uint32_t column : ParseColumnList(columns)) {
    if (const ExportSymbol* symbol = SymbolAt(column - 1000); column >= 1000 && symbol) {
      titles << ToQString(symbol->name);
    } else if (const FieldDescriptor* field = FieldOf(kFiles, column)) {
      titles << ToQString(field->title);
    } else {
      titles << QString::number(column);
    }
  }
  return titles.join(QStringLiteral(", "));
}

QString ScanText(const SharePathEntry& entry) {
  switch (entry.option) {
    case ScanOption::kTopLevel:
      return QObject::tr("top level only");
    case ScanOption::kAllLevels:
      return QObject::tr("all subdirectories");
    case ScanOption::kLevels:
      break;
  }
  return QObject::tr("%1 levels").arg(entry.levels);
}

QString KindsText(const ShareKinds& kinds) {
  QStringList names;
  if (kinds.normal) names << QObject::tr("normal");
  if (kinds.hidden) names << QObject::tr("hidden");
  if (kinds.admin) names << QObject::tr("administrative");
  return names.join(QStringLiteral(", "));
}

SharePathEntry EntryOf(const QListWidgetItem& item) {
  return {ToUtf8(item.data(Qt::UserRole).toString()),
          static_cast<ScanOption>(item.data(kOptionRole).toInt()), item.data(kLevelsRole).toInt()};
}

void ShowEntry(QListWidgetItem& item, const SharePathEntry& entry, const ShareKinds& kinds) {
  item.setData(Qt::UserRole, ToQString(entry.paths));
  item.setData(kOptionRole, static_cast<int>(entry.option));
  item.setData(kLevelsRole, entry.levels);
  QString path = ToQString(entry.paths);
  if (entry.AllShares()) path += QObject::tr(" (all %1 shares)").arg(KindsText(kinds));
  item.setText(QObject::tr("%1 \u2014 %2").arg(path, ScanText(entry)));
}

class FileTemplateDialog : public QDialog {
 public:
  explicit FileTemplateDialog(const TemplateEdit& edit) : QDialog(edit.parent), edit_(edit) {
    setObjectName(QStringLiteral("fileTemplateDialog"));
    setWindowTitle(tr("File/Directory Export Template Properties"));
    FileTemplate t;
    if (edit.name.empty()) {
      t.columns = kNewColumns;
    } else {
      t = ReadFileTemplate(edit.context->profile, edit.file, edit.name);
    }
    columns_ = t.columns;
    kinds_ = t.shares;
    enabled_ = Named(new QCheckBox(tr("Ena&bled")), "templateEnabled", tr("Enabled"));
    enabled_->setChecked(t.enabled);
    name_ = Named(new QLineEdit(ToQString(edit.name)), "templateName", tr("Template name"));
    // ";" separates the names of a configuration's list; brackets end a
    // section's name.
    name_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^;\\[\\]]*")), name_));
    output_ = new FileField(FileFieldKind::kOutputFile, QStringLiteral("outputFileName"),
                            tr("Output file name"));
    output_->setText(ToQString(t.output_file));
    output_->edit()->setPlaceholderText(tr("(none: security export only)"));
    auto* customize = Named(new QPushButton(tr("&Customize Output Columns...")), "customizeColumns",
                            tr("Customize Output Columns..."));
    customize->setAutoDefault(false);
    summary_ = Named(new QLineEdit, "columnsSummary", tr("Output columns"));
    summary_->setReadOnly(true);
    ShowColumns();
    dirs_only_ = Named(new QCheckBox(tr("Output directory &information only")), "dirsOnly",
                       tr("Output directory information only"));
    dirs_only_->setChecked(t.dirs_only);
    auto* form = new QFormLayout;
    form->addRow(enabled_);
    form->addRow(tr("Template &name:"), name_);
    form->addRow(tr("&Output file name:"), output_);
    auto* columns_row = new QHBoxLayout;
    columns_row->addWidget(customize);
    columns_row->addWidget(summary_, 1);
    form->addRow(columns_row);
    form->addRow(dirs_only_);

    paths_ = new EditableList(
        QStringLiteral("pathList"),
        {tr("Shared directory &paths:"), tr("&Add..."), tr("&Edit..."), tr("&Remove"), {}, {}},
        [this](QListWidgetItem& item, bool is_new) { return EditPath(item, is_new); });
    for (const SharePathEntry& entry : t.paths) ShowEntry(*paths_->Append({}), entry, kinds_);
    filters_ = new EditableList(
        QStringLiteral("filterList"),
        {tr("File name &filters:"), tr("A&dd..."), tr("Edi&t..."), tr("Re&move"), {}, {}},
        [this](QListWidgetItem& item, bool) {
          std::string filter = ToUtf8(item.text());
          if (!EditFileFilter(this, filter)) return false;
          item.setText(ToQString(filter));
          return true;
        });
    for (const std::string& filter : t.filters) filters_->Append(ToQString(filter));
    filters_->list()->setToolTip(tr("No filter: every file (*.*)."));
    paths_->list()->setCurrentRow(0);
    filters_->list()->setCurrentRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    auto update_ok = [this, ok] { ok->setEnabled(!name_->text().trimmed().isEmpty()); };
    connect(name_, &QLineEdit::textChanged, this, update_ok);
    update_ok();
    connect(customize, &QPushButton::clicked, this, [this] {
      std::vector<ColumnChoice> choices{{kFiles, columns_}};
      if (!ChooseColumns(this, choices)) return;
      columns_ = choices.front().columns;
      ShowColumns();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(paths_, 1);
    layout->addWidget(filters_, 1);
    layout->addWidget(buttons);
    resize(640, 600);
  }

  void accept() override {
    const QString name = name_->text().trimmed();
    if (name.isEmpty()) return;
    FileTemplate t;
    t.enabled = enabled_->isChecked();
    t.output_file = ToUtf8(output_->text());
    t.columns = columns_;
    t.dirs_only = dirs_only_->isChecked();
    t.shares = kinds_;
    for (int i = 0; i < paths_->list()->count(); ++i) {
      t.paths.push_back(EntryOf(*paths_->list()->item(i)));
    }
    for (const QString& filter : filters_->Texts()) t.filters.push_back(ToUtf8(filter));
    if (!StoreEditedTemplate(this, edit_, ToUtf8(name), FileTemplateValues(t))) return;
    saved_name_ = ToUtf8(name);
    QDialog::accept();
  }

  const std::string& saved_name() const { return saved_name_; }

 private:
  bool EditPath(QListWidgetItem& item, bool is_new) {
    bool all_shares_free = true;
    for (int i = 0; i < paths_->list()->count(); ++i) {
      QListWidgetItem* other = paths_->list()->item(i);
      if (other != &item && EntryOf(*other).AllShares()) all_shares_free = false;
    }
    SharePathEntry entry = is_new ? SharePathEntry{} : EntryOf(item);
    if (!EditSharePath(this, entry, kinds_, all_shares_free)) return false;
    ShowEntry(item, entry, kinds_);
    return true;
  }

  void ShowColumns() {
    summary_->setText(ColumnTitles(columns_));
    summary_->setToolTip(summary_->text());
    summary_->setCursorPosition(0);
  }

  const TemplateEdit& edit_;
  std::string columns_;
  ShareKinds kinds_;
  QCheckBox* enabled_;
  QLineEdit* name_;
  FileField* output_;
  QLineEdit* summary_;
  QCheckBox* dirs_only_;
  EditableList* paths_;
  EditableList* filters_;
  std::string saved_name_;
};

}  // namespace

bool EditFileTemplate(const TemplateEdit& edit, std::string& saved_name) {
  FileTemplateDialog dialog(edit);
  if (dialog.exec() != QDialog::Accepted) return false;
  saved_name = dialog.saved_name();
  return true;
}

}  // namespace tabulon::ui

#include "ui/directory_query_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/catalogue.h"
#include "exporters/templates/directory/query_settings.h"
#include "platform/text.h"
#include "ui/configuration_widgets.h"
#include "ui/file_field.h"
#include "ui/focus_default_button.h"
#include "ui/message_box.h"
#include "ui/option_dialogs.h"

namespace tabulon::ui {
namespace {

struct AttributeCategory {
  std::int32_t number;  // as in the directory schema file
  const char* label;
};

constexpr std::int32_t kSymbolCategory = 132;
constexpr std::int32_t kFirstCategory = 121;  // shown at start
constexpr AttributeCategory kCategories[] = {
    {102, "User Attributes"},
    {110, "Group Attributes"},
    {112, "Computer Attributes"},
    {121, "General Attributes"},
    {122, "Exchange 2000 Attributes"},
    {124, "Terminal Server Attributes"},
    {kSymbolCategory, "Predefined Symbols"},
};

// Tab order in reading order, which the grid's insertion order is not.
void ChainTabOrder(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* w : widgets) {
    if (previous != nullptr) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

QPushButton* Button(const QString& text, const char* object_name, const QString& spoken = {}) {
  return Named(new QPushButton(text), object_name, spoken.isEmpty() ? text : spoken);
}

QLabel* Label(const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

DirectoryQueryDialog::DirectoryQueryDialog(const TemplateEdit& edit, QWidget* parent)
    : QDialog(parent),
      edit_(edit),
      query_(ReadDirectoryQueryTemplate(edit.context->profile, edit.file, edit.name)),
      enabled_(Named(new QCheckBox(tr("&Enabled")), "enabled", tr("Enabled"))),
      name_(Named(new QLineEdit, "queryName", tr("Query Name"))),
      output_(new FileField(FileFieldKind::kOutputFile, QStringLiteral("outputFile"),
                            tr("Output File Name"))),
      one_level_(Named(new QRadioButton(tr("&Single / Current Level")), "oneLevel",
                       tr("Single / Current Level"))),
      subtree_(Named(new QRadioButton(tr("All Directory &Levels (subtrees)")), "subtree",
                     tr("All Directory Levels (subtrees)"))),
      filters_(Named(new QListWidget, "objectTypes", tr("Object Type"))),
      options_(Button(tr("Set O&ptions..."), "setOptions")),
      attributes_(Named(new QListWidget, "queryAttributes", tr("Query Attributes"))),
      up_(Button(tr("&Up"), "up")),
      down_(Button(tr("Do&wn"), "down")),
      delete_(Button(tr("&Delete"), "delete")),
      add_(Button(tr("<<< &Add"), "add", tr("Add"))),
      category_(Named(new QComboBox, "attributeCategory", tr("Attribute Category"))),
      available_(Named(new QListWidget, "categoryAttributes", tr("Attributes"))),
      other_(Named(new QLineEdit, "otherAttribute", tr("Other"))),
      ok_(nullptr) {
  setObjectName(QStringLiteral("directoryQueryDialog"));
  setWindowTitle(tr("Directory Query Properties"));
  // A schema file that cannot be read leaves its categories empty.
  ReadSchemaFile(edit.context->TemplateFile(TemplateKind::kDirectorySchema), schema_);
  enabled_->setChecked(query_.enabled);
  name_->setText(ToQString(query_.name));
  output_->setText(ToQString(query_.output_file));
  (query_.level == 1 ? subtree_ : one_level_)->setChecked(true);
  auto* scope = new QButtonGroup(this);
  scope->addButton(one_level_);
  scope->addButton(subtree_);
  for (const QueryFilter& filter : QueryFilters()) filters_->addItem(ToQString(filter.label));
  if (query_.filter >= 0 && query_.filter < filters_->count()) {
    filters_->setCurrentRow(query_.filter);
  } else {
    filters_->setToolTip(
        tr("The stored filter %1 is none of these: kept unless one is chosen.").arg(query_.filter));
  }
  for (const std::string& a : query_.attributes) attributes_->addItem(ToQString(a));
  for (const AttributeCategory& c : kCategories) category_->addItem(tr(c.label), c.number);
  category_->setCurrentIndex(category_->findData(kFirstCategory));
  available_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  BuildLayout();
  ShowCategory();
  UpdateButtons();

  connect(name_, &QLineEdit::textChanged, this, &DirectoryQueryDialog::UpdateButtons);
  connect(output_, &FileField::textChanged, this, &DirectoryQueryDialog::UpdateButtons);
  connect(filters_, &QListWidget::currentRowChanged, this, &DirectoryQueryDialog::UpdateButtons);
  connect(attributes_, &QListWidget::currentRowChanged, this, &DirectoryQueryDialog::UpdateButtons);
  connect(category_, &QComboBox::currentIndexChanged, this, &DirectoryQueryDialog::ShowCategory);
  connect(options_, &QPushButton::clicked, this, &DirectoryQueryDialog::SetOptions);
  connect(add_, &QPushButton::clicked, this, &DirectoryQueryDialog::AddAttributes);
  connect(available_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { AddAttribute(item->text()); });
  connect(up_, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
  connect(down_, &QPushButton::clicked, this, [this] { MoveCurrent(1); });
  connect(delete_, &QPushButton::clicked, this, &DirectoryQueryDialog::DeleteCurrent);
}

void DirectoryQueryDialog::BuildLayout() {
  auto* form = new QGridLayout;
  form->addWidget(enabled_, 0, 1);
  form->addWidget(Label(tr("Query &Name:"), name_), 1, 0);
  form->addWidget(name_, 1, 1);
  form->addWidget(Label(tr("&Output File Name:"), output_->edit()), 2, 0);
  form->addWidget(output_, 2, 1);
  form->setColumnStretch(1, 1);

  auto* scope_box = new QGroupBox(tr("Search Scope"));
  auto* scope_layout = new QVBoxLayout(scope_box);
  scope_layout->addWidget(one_level_);
  scope_layout->addWidget(subtree_);
  scope_layout->addStretch();
  auto* filter_box = new QGroupBox(tr("Object &Type"));
  auto* filter_layout = new QHBoxLayout(filter_box);
  filter_layout->addWidget(filters_, 1);
  filter_layout->addWidget(options_, 0, Qt::AlignTop);
  filter_box->setFocusProxy(filters_);
  filters_->setMaximumHeight(190);
  auto* top = new QHBoxLayout;
  top->addWidget(scope_box);
  top->addWidget(filter_box, 1);

  auto* query_box = new QGroupBox(tr("&Query Attributes"));
  auto* query_buttons = new QVBoxLayout;
  for (QPushButton* b : {up_, down_, delete_}) query_buttons->addWidget(b);
  query_buttons->addStretch();
  auto* query_layout = new QHBoxLayout(query_box);
  query_layout->addWidget(attributes_, 1);
  query_layout->addLayout(query_buttons);
  query_box->setFocusProxy(attributes_);

  auto* available_box = new QGroupBox(tr("Available Attributes"));
  auto* available_layout = new QGridLayout(available_box);
  available_layout->addWidget(Label(tr("&Category:"), category_), 0, 0);
  available_layout->addWidget(category_, 0, 1);
  available_layout->addWidget(available_, 1, 0, 1, 2);
  available_layout->addWidget(Label(tr("Ot&her:"), other_), 2, 0);
  available_layout->addWidget(other_, 2, 1);

  auto* add_column = new QVBoxLayout;
  add_column->addStretch();
  add_column->addWidget(add_);
  add_column->addStretch();
  auto* lists = new QHBoxLayout;
  lists->addWidget(query_box, 1);
  lists->addLayout(add_column);
  lists->addWidget(available_box, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName(QStringLiteral("buttons"));
  ok_ = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &DirectoryQueryDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  DefaultWhileFocused(other_, add_, ok_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(top);
  layout->addLayout(lists, 1);
  layout->addWidget(buttons);
  ChainTabOrder({enabled_, name_, output_->edit(), one_level_, subtree_, filters_, options_,
                 attributes_, up_, down_, delete_, add_, category_, available_, other_});
  resize(780, 640);
}

std::int32_t DirectoryQueryDialog::Filter() const {
  const int row = filters_->currentRow();
  return row >= 0 ? row : query_.filter;
}

void DirectoryQueryDialog::UpdateButtons() {
  ok_->setEnabled(!name_->text().trimmed().isEmpty() && !output_->text().trimmed().isEmpty());
  const std::int32_t filter = Filter();
  options_->setEnabled(IsGroupQueryFilter(filter) || IsAccountQueryFilter(filter));
  const int row = attributes_->currentRow();
  up_->setEnabled(row > 0);
  down_->setEnabled(row >= 0 && row + 1 < attributes_->count());
  delete_->setEnabled(row >= 0);
}

void DirectoryQueryDialog::ShowCategory() {
  available_->clear();
  const std::int32_t category = category_->currentData().toInt();
  if (category == kSymbolCategory) {
    for (const ExportSymbol& symbol : ExportSymbols()) {
      if (!symbol.registry_only) available_->addItem(ToQString(symbol.symbol));
    }
    return;
  }
  for (const SchemaLine& line : schema_) {
    if (line.category == category) available_->addItem(ToQString(line.name));
  }
}

void DirectoryQueryDialog::SetOptions() {
  const std::int32_t filter = Filter();
  if (IsGroupQueryFilter(filter)) {
    GroupOptions options{query_.group_members, query_.indirect_members};
    if (!EditGroupOptions(this, options)) return;
    query_.group_members = options.members;
    query_.indirect_members = options.indirect_members;
  } else if (IsAccountQueryFilter(filter)) {
    ControllerOptions options{query_.logon_information, query_.last_logon_type,
                              query_.skip_controllers, query_.user_groups};
    if (!EditControllerOptions(this, filter == 1 ? AccountKind::kUser : AccountKind::kComputer,
                               options)) {
      return;
    }
    query_.logon_information = options.all_controllers;
    query_.last_logon_type = options.last_logon_type;
    query_.skip_controllers = options.skip_listed;
    query_.user_groups = options.group_assignments;
  }
}

void DirectoryQueryDialog::AddAttributes() {
  for (QListWidgetItem* item : available_->selectedItems()) AddAttribute(item->text());
  const QString typed = other_->text().trimmed();
  if (!typed.isEmpty()) {
    AddAttribute(typed);
    other_->clear();
  }
}

void DirectoryQueryDialog::AddAttribute(const QString& name) {
  const std::vector<std::string> current = Attributes();
  const std::string added = ToUtf8(name);
  if (HasAttribute(current, added)) return;
  if (AddNeedsSamAccountName(current, added) &&
      AskYesNo(this, MessageText(kMsgAddSamAccountName))) {
    attributes_->addItem(QStringLiteral("samaccountname"));
  }
  attributes_->addItem(name);
  attributes_->setCurrentRow(attributes_->count() - 1);
}

void DirectoryQueryDialog::MoveCurrent(int step) {
  const int row = attributes_->currentRow();
  const int to = row + step;
  if (row < 0 || to < 0 || to >= attributes_->count()) return;
  attributes_->insertItem(to, attributes_->takeItem(row));
  attributes_->setCurrentRow(to);
}

void DirectoryQueryDialog::DeleteCurrent() {
  const int row = attributes_->currentRow();
  if (row < 0) return;
  if (RemoveRefused(Attributes(), static_cast<std::size_t>(row))) {
    ShowMessage(this, MessageText(kMsgSamAccountNameRequiredByTse), MessageIcon::kWarning);
    return;
  }
  delete attributes_->takeItem(row);
  UpdateButtons();
}

std::vector<std::string> DirectoryQueryDialog::Attributes() const {
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(attributes_->count()));
  for (int i = 0; i < attributes_->count(); ++i) {
    names.push_back(ToUtf8(attributes_->item(i)->text()));
  }
  return names;
}

void DirectoryQueryDialog::accept() {
  DirectoryQuery q = query_;
  q.enabled = enabled_->isChecked();
  q.name = ToUtf8(name_->text().trimmed());
  q.output_file = ToUtf8(output_->text().trimmed());
  if (q.name.empty() || q.output_file.empty()) return;
  // Any value but 1 searches one level: a stored one stays.
  q.level = subtree_->isChecked() ? 1 : (query_.level == 1 ? 0 : query_.level);
  q.filter = Filter();
  q.attributes = Attributes();
  if (const std::optional<MessageId> refusal = SaveRefusal(q)) {
    ShowMessage(this, MessageText(*refusal), MessageIcon::kWarning);
    return;
  }
  if (!StoreEditedTemplate(this, edit_, q.name, DirectoryQueryValues(q))) return;
  saved_name_ = q.name;
  QDialog::accept();
}

bool EditDirectoryQuery(const TemplateEdit& edit, std::string& saved_name) {
  DirectoryQueryDialog dialog(edit, edit.parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  saved_name = dialog.saved_name();
  return true;
}

}  // namespace tabulon::ui

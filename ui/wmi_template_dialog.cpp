#include "ui/wmi_template_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <thread>

#include "engine/messages.h"
#include "exporters/templates/template_files.h"
#include "platform/text.h"
#include "ui/configuration_widgets.h"
#include "ui/file_field.h"
#include "ui/focus_default_button.h"
#include "ui/message_box.h"
#include "ui/symbol_picker.h"

namespace tabulon::ui {
namespace {

// Runs `job` on a thread of its own while the window keeps painting; the
// dialog takes no input meanwhile. The session's call timeout bounds it.
template <typename Result, typename Job>
Result OffTheWindowThread(QWidget* busy, Job job) {
  busy->setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QEventLoop loop;
  Result result;
  std::thread worker([&] {
    result = job();
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  QApplication::restoreOverrideCursor();
  busy->setEnabled(true);
  return result;
}

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

QString TimeoutTip() {
  return QObject::tr("Outside %1 to %2 seconds: kept as entered.")
      .arg(kMinWmiTimeoutSeconds)
      .arg(kMaxWmiTimeoutSeconds);
}

}  // namespace

WmiTemplateDialog::WmiTemplateDialog(const TemplateEdit& edit, QWidget* parent)
    : QDialog(parent),
      edit_(edit),
      original_(ReadWmiTemplate(edit.context->profile, edit.file, edit.name)),
      enabled_(Named(new QCheckBox(tr("&Enabled")), "enabled", tr("Enabled"))),
      name_(Named(new QLineEdit, "templateName", tr("Template Name"))),
      output_(new FileField(FileFieldKind::kOutputFile, QStringLiteral("outputFile"),
                            tr("Output File Name"))),
      class_(Named(new QComboBox, "objectClass", tr("WMI Class"))),
      browse_classes_(Button(tr("..."), "browseClasses", tr("Browse WMI classes"))),
      show_properties_(Button(tr("Show &Properties"), "showProperties")),
      where_(Named(new QLineEdit, "where", tr("Where"))),
      edit_where_(Button(tr("Ed&it..."), "editWhere", tr("Edit Where clause"))),
      timeout_(Named(new QSpinBox, "timeoutSeconds", tr("WMI Query Timeout (seconds)"))),
      timeout_marker_(
          Named(new QLabel(QStringLiteral("!")), "timeoutMarker", tr("Timeout outside its range"))),
      query_properties_(Named(new QListWidget, "queryProperties", tr("Query Properties"))),
      up_(Button(tr("&Up"), "up")),
      down_(Button(tr("Do&wn"), "down")),
      remove_(Button(tr("&Remove"), "remove")),
      symbol_(Button(tr("&Symbol..."), "symbol")),
      add_(Button(tr("<<< &Add"), "add", tr("Add"))),
      class_properties_list_(Named(new QListWidget, "classProperties", tr("Class Properties"))),
      description_(Named(new QPlainTextEdit, "description", tr("Description"))),
      ok_(nullptr) {
  setObjectName(QStringLiteral("wmiTemplateDialog"));
  setWindowTitle(tr("WMI Export Template Properties"));
  enabled_->setChecked(original_.enabled);
  name_->setText(ToQString(original_.name));
  output_->setText(ToQString(original_.output_file));
  class_->setEditable(true);
  class_->setInsertPolicy(QComboBox::NoInsert);
  class_->setEditText(ToQString(original_.object_class));
  where_->setText(ToQString(original_.where));
  // A stored value outside the editor's range is shown and kept.
  timeout_->setRange(std::min(kMinWmiTimeoutSeconds, original_.timeout_seconds),
                     std::max(kMaxWmiTimeoutSeconds, original_.timeout_seconds));
  timeout_->setValue(original_.timeout_seconds);
  timeout_marker_->setToolTip(TimeoutTip());
  for (const std::string& column : original_.columns) query_properties_->addItem(ToQString(column));
  class_properties_list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  description_->setReadOnly(true);
  BuildLayout();
  ShowTimeoutMarker();
  UpdateButtons();

  connect(name_, &QLineEdit::textChanged, this, &WmiTemplateDialog::UpdateButtons);
  connect(output_, &FileField::textChanged, this, &WmiTemplateDialog::UpdateButtons);
  connect(timeout_, &QSpinBox::valueChanged, this, &WmiTemplateDialog::ShowTimeoutMarker);
  connect(browse_classes_, &QPushButton::clicked, this, &WmiTemplateDialog::BrowseClasses);
  connect(show_properties_, &QPushButton::clicked, this, &WmiTemplateDialog::ShowProperties);
  connect(edit_where_, &QPushButton::clicked, this, &WmiTemplateDialog::EditWhere);
  connect(add_, &QPushButton::clicked, this, &WmiTemplateDialog::AddProperties);
  connect(class_properties_list_, &QListWidget::itemDoubleClicked, this,
          &WmiTemplateDialog::AddProperties);
  connect(class_properties_list_, &QListWidget::currentRowChanged, this,
          &WmiTemplateDialog::ShowDescription);
  connect(symbol_, &QPushButton::clicked, this, &WmiTemplateDialog::AddSymbol);
  connect(up_, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
  connect(down_, &QPushButton::clicked, this, [this] { MoveCurrent(1); });
  connect(remove_, &QPushButton::clicked, this, &WmiTemplateDialog::RemoveCurrent);
  connect(query_properties_, &QListWidget::currentRowChanged, this,
          &WmiTemplateDialog::UpdateButtons);
  connect(class_properties_list_, &QListWidget::itemSelectionChanged, this,
          &WmiTemplateDialog::UpdateButtons);
}

void WmiTemplateDialog::BuildLayout() {
  auto* form = new QGridLayout;
  const auto label = [](const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text);
    l->setBuddy(buddy);
    return l;
  };
  form->addWidget(enabled_, 0, 1);
  form->addWidget(label(tr("Template &Name:"), name_), 1, 0);
  form->addWidget(name_, 1, 1, 1, 3);
  form->addWidget(label(tr("&Output File Name:"), output_->edit()), 2, 0);
  form->addWidget(output_, 2, 1, 1, 3);
  form->addWidget(label(tr("WMI C&lass:"), class_), 3, 0);
  form->addWidget(class_, 3, 1);
  form->addWidget(browse_classes_, 3, 2);
  form->addWidget(show_properties_, 3, 3);
  form->addWidget(label(tr("W&here:"), where_), 4, 0);
  form->addWidget(where_, 4, 1, 1, 2);
  form->addWidget(edit_where_, 4, 3);
  auto* timeout_row = new QHBoxLayout;
  timeout_row->addWidget(timeout_);
  timeout_row->addWidget(timeout_marker_);
  timeout_row->addStretch();
  form->addWidget(label(tr("WMI Query &Timeout (seconds) :"), timeout_), 5, 0);
  form->addLayout(timeout_row, 5, 1, 1, 3);
  form->setColumnStretch(1, 1);
  browse_classes_->setToolTip(browse_classes_->accessibleName());

  auto* query_box = new QGroupBox(tr("&Query Properties"));
  auto* query_buttons = new QVBoxLayout;
  for (QPushButton* b : {up_, down_, remove_, symbol_}) query_buttons->addWidget(b);
  query_buttons->addStretch();
  auto* query_layout = new QHBoxLayout(query_box);
  query_layout->addWidget(query_properties_, 1);
  query_layout->addLayout(query_buttons);
  query_box->setFocusProxy(query_properties_);

  auto* class_box = new QGroupBox(tr("&Class Properties"));
  auto* class_layout = new QVBoxLayout(class_box);
  class_layout->addWidget(class_properties_list_, 2);
  class_layout->addWidget(new QLabel(tr("Description:")));
  class_layout->addWidget(description_, 1);
  class_box->setFocusProxy(class_properties_list_);

  auto* add_column = new QVBoxLayout;
  add_column->addStretch();
  add_column->addWidget(add_);
  add_column->addStretch();
  auto* lists = new QHBoxLayout;
  lists->addWidget(query_box, 1);
  lists->addLayout(add_column);
  lists->addWidget(class_box, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->setObjectName(QStringLiteral("buttons"));
  ok_ = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &WmiTemplateDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(lists, 1);
  layout->addWidget(buttons);
  ChainTabOrder({enabled_, name_, output_->edit(), class_, browse_classes_, show_properties_,
                 where_, edit_where_, timeout_, query_properties_, up_, down_, remove_, symbol_,
                 add_, class_properties_list_, description_});
  resize(760, 560);
}

void WmiTemplateDialog::UpdateButtons() {
  ok_->setEnabled(!name_->text().trimmed().isEmpty() && !output_->text().trimmed().isEmpty());
  const int row = query_properties_->currentRow();
  up_->setEnabled(row > 0);
  down_->setEnabled(row >= 0 && row + 1 < query_properties_->count());
  remove_->setEnabled(row >= 0);
  add_->setEnabled(!class_properties_list_->selectedItems().isEmpty());
}

void WmiTemplateDialog::ShowTimeoutMarker() {
  const bool outside = !WmiTimeoutInRange(timeout_->value());
  timeout_marker_->setVisible(outside);
  timeout_->setToolTip(outside ? TimeoutTip() : QString());
}

WmiBrowser& WmiTemplateDialog::Browser() {
  if (!browser_) {
    const SheetContext& context = *edit_.context;
    browser_ = std::make_unique<WmiBrowser>(
        context.configuration,
        context.locations.data_directory.empty() ? context.locations.program_directory
                                                 : context.locations.data_directory,
        context.config().ReadText("WMI", "ReferenceComputer", ""));
  }
  return *browser_;
}

void WmiTemplateDialog::BrowseClasses() {
  const std::string chosen =
      ChooseWmiClass(this, Browser(), ToUtf8(class_->currentText().trimmed()));
  if (chosen.empty()) return;
  class_->setEditText(ToQString(chosen));
  ShowProperties();
}

bool WmiTemplateDialog::ShowProperties() {
  const std::string name = ToUtf8(class_->currentText().trimmed());
  if (name.empty()) return false;
  WmiBrowser& browser = Browser();
  const WmiPropertyListing listing = OffTheWindowThread<WmiPropertyListing>(
      this, [&browser, &name] { return browser.Properties(name); });
  class_properties_list_->clear();
  class_properties_.clear();
  description_->clear();
  if (!listing.error.empty()) {
    ShowMessage(this, listing.error);
    return false;
  }
  if (class_->findText(ToQString(name), Qt::MatchFixedString) < 0) class_->addItem(ToQString(name));
  class_description_ = listing.class_description;
  class_properties_ = listing.properties;
  for (const WmiPropertyInfo& p : class_properties_) {
    class_properties_list_->addItem(ToQString(p.name));
  }
  description_->setPlainText(ToQString(class_description_));
  UpdateButtons();
  return true;
}

void WmiTemplateDialog::ShowDescription() {
  const int row = class_properties_list_->currentRow();
  description_->setPlainText(ToQString(row >= 0 && row < static_cast<int>(class_properties_.size())
                                           ? class_properties_[row].description
                                           : class_description_));
}

void WmiTemplateDialog::EditWhere() {
  if (class_properties_.empty() && !class_->currentText().trimmed().isEmpty()) ShowProperties();
  std::string where = ToUtf8(where_->text());
  if (EditWhereClause(this, class_properties_, where)) where_->setText(ToQString(where));
}

void WmiTemplateDialog::AddProperties() {
  for (QListWidgetItem* item : class_properties_list_->selectedItems()) {
    if (query_properties_->findItems(item->text(), Qt::MatchFixedString).isEmpty()) {
      query_properties_->addItem(item->text());
    }
  }
  query_properties_->setCurrentRow(query_properties_->count() - 1);
  UpdateButtons();
}

void WmiTemplateDialog::AddSymbol() {
  if (const std::optional<std::string> symbol = PickSymbol(this, false)) {
    query_properties_->addItem(ToQString(*symbol));
    query_properties_->setCurrentRow(query_properties_->count() - 1);
  }
}

void WmiTemplateDialog::MoveCurrent(int step) {
  const int row = query_properties_->currentRow();
  const int to = row + step;
  if (row < 0 || to < 0 || to >= query_properties_->count()) return;
  query_properties_->insertItem(to, query_properties_->takeItem(row));
  query_properties_->setCurrentRow(to);
}

void WmiTemplateDialog::RemoveCurrent() {
  const int row = query_properties_->currentRow();
  if (row >= 0) delete query_properties_->takeItem(row);
  UpdateButtons();
}

WmiTemplate WmiTemplateDialog::Collected() const {
  WmiTemplate t;
  t.enabled = enabled_->isChecked();
  t.name = ToUtf8(name_->text().trimmed());
  t.output_file = ToUtf8(output_->text().trimmed());
  for (int i = 0; i < query_properties_->count(); ++i) {
    t.columns.push_back(ToUtf8(query_properties_->item(i)->text()));
  }
  t.object_class = ToUtf8(class_->currentText().trimmed());
  t.where = ToUtf8(where_->text());
  t.timeout_seconds = timeout_->value();
  return t;
}

void WmiTemplateDialog::accept() {
  const WmiTemplate t = Collected();
  if (t.name.empty() || t.output_file.empty()) return;
  if (!StoreEditedTemplate(this, edit_, t.name, WmiTemplateValues(t))) return;
  saved_name_ = t.name;
  QDialog::accept();
}

std::string ChooseWmiClass(QWidget* parent, WmiBrowser& browser, const std::string& current) {
  WmiClassListing listing;
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("wmiClassBrowser"));
  dialog.setWindowTitle(QObject::tr("WMI Classes on %1").arg(ToQString(browser.computer())));
  auto* find = Named(new QLineEdit, "findClass", QObject::tr("Find Class"));
  auto* find_label = new QLabel(QObject::tr("&Find Class:"));
  find_label->setBuddy(find);
  auto* find_button = Button(QObject::tr("F&ind"), "findButton", QObject::tr("Find"));
  auto* list = Named(new QListWidget, "classList", QObject::tr("WMI classes"));
  const auto fill = [list, &current](const std::vector<std::string>& classes) {
    list->clear();
    for (const std::string& name : classes) list->addItem(ToQString(name));
    const QList<QListWidgetItem*> at = list->findItems(ToQString(current), Qt::MatchFixedString);
    list->setCurrentItem(at.isEmpty() ? list->item(0) : at.front());
  };
  // The dialog shows at once and lists the classes when they come; a
  // failure is said and closes it.
  QTimer::singleShot(0, &dialog, [&] {
    listing =
        OffTheWindowThread<WmiClassListing>(&dialog, [&browser] { return browser.Classes(); });
    if (!listing.error.empty()) {
      ShowMessage(&dialog, listing.error);
      dialog.reject();
      return;
    }
    fill(listing.classes);
  });
  QObject::connect(find_button, &QPushButton::clicked, &dialog, [&] {
    const std::vector<std::string> found =
        FindClasses(listing.classes, ToUtf8(find->text().trimmed()));
    if (found.empty()) {
      ShowMessage(&dialog, MessageText(kMsgWmiNoClass), MessageIcon::kInformation);
      return;
    }
    fill(found);
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  DefaultWhileFocused(find, find_button, buttons->button(QDialogButtonBox::Ok));
  auto* find_row = new QHBoxLayout;
  find_row->addWidget(find_label);
  find_row->addWidget(find, 1);
  find_row->addWidget(find_button);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(find_row);
  layout->addWidget(list, 1);
  layout->addWidget(buttons);
  dialog.resize(420, 480);
  if (dialog.exec() != QDialog::Accepted || list->currentItem() == nullptr) return {};
  return ToUtf8(list->currentItem()->text());
}

bool EditWhereClause(QWidget* parent, const std::vector<WmiPropertyInfo>& properties,
                     std::string& where) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("whereClauseEditor"));
  dialog.setWindowTitle(QObject::tr("WMI 'Where Clause' Editor"));
  auto* list = Named(new QListWidget, "whereProperties", QObject::tr("Class Properties"));
  for (const WmiPropertyInfo& p : properties) list->addItem(ToQString(p.name));
  auto* list_label = new QLabel(QObject::tr("&Class Properties:"));
  list_label->setBuddy(list);
  auto* edit = Named(new QLineEdit(ToQString(where)), "whereText", QObject::tr("Where"));
  auto* edit_label = new QLabel(QObject::tr("&Where (the condition, without WHERE):"));
  edit_label->setBuddy(edit);
  auto* insert = Button(QObject::tr("&Insert"), "insertProperty", QObject::tr("Insert"));
  insert->setAutoDefault(false);
  const auto insert_current = [list, edit] {
    if (QListWidgetItem* item = list->currentItem()) {
      edit->insert(item->text());
      edit->setFocus();
    }
  };
  QObject::connect(insert, &QPushButton::clicked, &dialog, insert_current);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, insert_current);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(list_label);
  auto* list_row = new QHBoxLayout;
  list_row->addWidget(list, 1);
  list_row->addWidget(insert, 0, Qt::AlignTop);
  layout->addLayout(list_row, 1);
  layout->addWidget(edit_label);
  layout->addWidget(edit);
  layout->addWidget(buttons);
  dialog.resize(480, 420);
  edit->setFocus();
  if (dialog.exec() != QDialog::Accepted) return false;
  where = ToUtf8(edit->text());
  return true;
}

bool EditWmiTemplate(const TemplateEdit& edit, std::string& saved_name) {
  WmiTemplateDialog dialog(edit, edit.parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  saved_name = dialog.saved_name();
  return true;
}

}  // namespace tabulon::ui

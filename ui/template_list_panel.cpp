#include "ui/template_list_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

#include "engine/configuration.h"
#include "engine/messages.h"
#include "exporters/templates/template_files.h"
#include "platform/text.h"
#include "ui/configuration_widgets.h"
#include "ui/item_activation.h"
#include "ui/message_box.h"
#include "ui/template_editor.h"

namespace tabulon::ui {
namespace {

constexpr int kDeletedRole = Qt::UserRole + 1;

struct PanelText {
  const char* list_name;
  // The file's label in the editors' messages, where it differs from the
  // run's ("WMI Template", not "WMI Query File").
  std::string_view label;
  MessageId confirm_delete;
};

PanelText TextOf(TemplateKind kind) {
  switch (kind) {
    case TemplateKind::kWmi:
      return {"WMI query templates", "WMI Template", kMsgConfirmDeleteTemplate};
    case TemplateKind::kFile:
      return {"File/directory templates", {}, kMsgConfirmDeleteTemplate};
    case TemplateKind::kDirectory:
      return {"Directory query templates", {}, kMsgConfirmDeleteDirectoryQuery};
    default:
      break;
  }
  return {"Registry templates", {}, kMsgConfirmDeleteTemplate};
}

std::string NameOf(const QListWidgetItem& item) {
  return ToUtf8(item.data(Qt::UserRole).toString());
}

bool IsDeleted(const QListWidgetItem& item) {
  return item.data(kDeletedRole).toBool();
}

void MarkDeleted(QListWidgetItem& item) {
  item.setData(kDeletedRole, true);
  item.setText(ToQString(NameOf(item)) + QObject::tr(" (deleted)"));
  item.setCheckState(Qt::Unchecked);
  item.setFlags(Qt::NoItemFlags);
}

// The listing's failure with the file's label as the editors name it.
std::string EditorFailure(const std::string& failure, TemplateKind kind, const std::string& file) {
  const std::string_view label = TextOf(kind).label;
  if (failure.empty() || label.empty()) return failure;
  const std::string run_text =
      FormatMessageId(kMsgUnableToOpenFile, {TemplateKindInfo(kind).label, file});
  if (!failure.starts_with(run_text)) return failure;
  return FormatMessageId(kMsgUnableToOpenFile, {label, file}) + failure.substr(run_text.size());
}

}  // namespace

bool TemplateListNames(std::string_view list, std::string_view name) {
  const std::string listed = ";" + text::ToUpper(list) + ";";
  return listed.find(";" + text::ToUpper(name) + ";") != std::string::npos;
}

TemplateListPanel::TemplateListPanel(const SheetContext& context, TemplateKind kind,
                                     QWidget* parent)
    : QWidget(parent),
      context_(context),
      kind_(kind),
      file_(context.TemplateFile(kind)),
      list_(new QListWidget),
      failure_(new QLabel) {
  const PanelText text = TextOf(kind);
  // Named as the sheet names its controls: by the key it edits.
  setObjectName(QStringLiteral("Templates/") + ToQString(TemplateKindInfo(kind).list_key));
  Named(list_, "templateList", tr(text.list_name));
  Named(failure_, "templateListFailure", tr("Template file problem"));
  failure_->setWordWrap(true);
  failure_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  failure_->hide();
  auto* add = Named(new QPushButton(tr("&New...")), "newTemplate", tr("New..."));
  properties_ =
      Named(new QPushButton(tr("&Properties...")), "templateProperties", tr("Properties..."));
  delete_ = Named(new QPushButton(tr("&Delete")), "deleteTemplate", tr("Delete"));
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {add, properties_, delete_}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  auto* row = new QHBoxLayout;
  row->addWidget(list_, 1);
  row->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(failure_);
  layout->addLayout(row, 1);
  setFocusProxy(list_);

  connect(add, &QPushButton::clicked, this, [this] { NewTemplate(); });
  connect(properties_, &QPushButton::clicked, this, [this] { EditCurrent(); });
  connect(delete_, &QPushButton::clicked, this, [this] { DeleteCurrent(); });
  connect(list_, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
  OpenItemsWith(list_, [this] { EditCurrent(); });
  Refresh();
  list_->setCurrentRow(0);
  UpdateButtons();
}

void TemplateListPanel::Refresh() {
  struct Shown {
    Qt::CheckState tick;
    bool deleted;
  };
  std::map<std::string, Shown> shown;
  for (int i = 0; i < list_->count(); ++i) {
    const QListWidgetItem& item = *list_->item(i);
    shown.emplace(text::ToUpper(NameOf(item)), Shown{item.checkState(), IsDeleted(item)});
  }
  const std::string current = list_->currentItem() ? NameOf(*list_->currentItem()) : "";
  const std::string enabled =
      context_.config().ReadText("Templates", TemplateKindInfo(kind_).list_key, "");
  const TemplateListing listing = ListTemplates(file_, kind_);
  listed_ = listing.failure.empty();
  failure_->setText(ToQString(EditorFailure(listing.failure, kind_, file_)));
  failure_->setVisible(!listed_);

  list_->clear();
  for (const std::string& name : listing.names) {
    auto* item = new QListWidgetItem(ToQString(name), list_);
    item->setData(Qt::UserRole, ToQString(name));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    const auto known = shown.find(text::ToUpper(name));
    if (known != shown.end()) {
      item->setCheckState(known->second.tick);
      if (known->second.deleted) MarkDeleted(*item);
    } else {
      item->setCheckState(TemplateListNames(enabled, name) ? Qt::Checked : Qt::Unchecked);
    }
    if (!current.empty() && name == current) list_->setCurrentItem(item);
  }
  UpdateButtons();
}

QListWidgetItem* TemplateListPanel::Find(const std::string& name) const {
  for (int i = 0; i < list_->count(); ++i) {
    if (NameOf(*list_->item(i)) == name) return list_->item(i);
  }
  return nullptr;
}

bool TemplateListPanel::TemplateEnabled(const std::string& name) const {
  return Configuration(context_.profile, file_).ReadInt(name, "Enabled", 1) != 0;
}

void TemplateListPanel::NewTemplate() {
  std::string saved;
  if (!EditTemplate({this, &context_, kind_, file_, ""}, saved)) return;
  Refresh();
  if (QListWidgetItem* item = Find(saved)) {
    // A new template starts as its editor's "Enabled" says.
    item->setCheckState(TemplateEnabled(saved) ? Qt::Checked : Qt::Unchecked);
    list_->setCurrentItem(item);
  }
}

void TemplateListPanel::EditCurrent() {
  QListWidgetItem* item = list_->currentItem();
  if (item == nullptr || IsDeleted(*item)) return;
  const std::string name = NameOf(*item);
  const bool was_enabled = TemplateEnabled(name);
  Qt::CheckState tick = item->checkState();
  std::string saved;
  if (!EditTemplate({this, &context_, kind_, file_, name}, saved)) return;
  // The editor's "Enabled" moves the tick only when it was changed there;
  // a renamed template keeps its tick under its new name.
  const bool enabled = TemplateEnabled(saved);
  if (enabled != was_enabled) tick = enabled ? Qt::Checked : Qt::Unchecked;
  Refresh();
  if (QListWidgetItem* edited = Find(saved)) {
    edited->setCheckState(tick);
    list_->setCurrentItem(edited);
  }
}

void TemplateListPanel::DeleteCurrent() {
  QListWidgetItem* item = list_->currentItem();
  if (item == nullptr || IsDeleted(*item)) return;
  if (!AskYesNo(this, MessageText(TextOf(kind_).confirm_delete))) return;
  MarkDeleted(*item);
  UpdateButtons();
}

void TemplateListPanel::UpdateButtons() {
  const QListWidgetItem* item = list_->currentItem();
  const bool editable = item != nullptr && !IsDeleted(*item);
  properties_->setEnabled(editable);
  delete_->setEnabled(editable);
}

void TemplateListPanel::Save() {
  std::string names;
  for (int i = 0; i < list_->count(); ++i) {
    const QListWidgetItem& item = *list_->item(i);
    if (IsDeleted(item)) {
      if (!DeleteTemplate(context_.profile, file_, NameOf(item))) {
        ShowMessage(this,
                    FormatMessageId(kMsgUnableToOpenFile, {TemplateKindInfo(kind_).label, file_}));
      }
    } else if (item.checkState() == Qt::Checked) {
      names += NameOf(item) + ";";
    }
  }
  if (!listed_) return;
  context_.config().WriteText("Templates", TemplateKindInfo(kind_).list_key,
                              names.empty() ? ";" : names);
}

}  // namespace tabulon::ui

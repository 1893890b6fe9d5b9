#include "ui/symbol_picker.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/catalogue.h"
#include "ui/configuration_widgets.h"

namespace tabulon::ui {

std::optional<std::string> PickSymbol(QWidget* parent, bool with_registry_symbols) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("symbolPicker"));
  dialog.setWindowTitle(QObject::tr("Insert Export Symbol"));
  auto* list = Named(new QTreeWidget, "symbolList", QObject::tr("Export symbols"));
  list->setHeaderLabels({QObject::tr("Symbol Name"), QObject::tr("Description")});
  list->setRootIsDecorated(false);
  list->setAllColumnsShowFocus(true);
  for (const ExportSymbol& symbol : ExportSymbols()) {
    if (symbol.registry_only && !with_registry_symbols) continue;
    auto* item = new QTreeWidgetItem(list, {ToQString(symbol.name), ToQString(symbol.description)});
    item->setData(0, Qt::UserRole, ToQString(symbol.symbol));
    item->setToolTip(1, ToQString(symbol.description));
  }
  list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  list->setCurrentItem(list->topLevelItem(0));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(list, &QTreeWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(list);
  layout->addWidget(buttons);
  dialog.resize(560, 360);
  if (dialog.exec() != QDialog::Accepted || list->currentItem() == nullptr) return std::nullopt;
  return ToUtf8(list->currentItem()->data(0, Qt::UserRole).toString());
}

}  // namespace tabulon::ui

#include "ui/enabled_exports_view.h"

#include <QSize>

#include "engine/catalogue.h"
#include "ui/enabled_exports.h"
#include "ui/icons.h"

namespace tabulon::ui {
namespace {

constexpr int kExportTypeRole = Qt::UserRole;

}  // namespace

EnabledExportsView::EnabledExportsView(QWidget* parent) : QListWidget(parent) {
  setObjectName("enabledExportsList");
  setAccessibleName(tr("Enabled Exports"));
  setUniformItemSizes(true);
  // The small images, as in the other lists.
  setIconSize(QSize(16, 16));
  connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const auto type = item->data(kExportTypeRole).toUInt();
    if (type != kNoExportType) emit exportTypeActivated(type);
  });
}

void EnabledExportsView::Show(const Configuration& configuration) {
  clear();
  for (const EnabledExportRow& row : EnabledExports(configuration)) {
    auto* item = new QListWidgetItem(QString::fromStdString(row.text), this);
    if (row.export_type != kNoExportType) item->setIcon(ExportTypeIcon(row.export_type));
    item->setData(kExportTypeRole, row.export_type);
  }
}

}  // namespace tabulon::ui

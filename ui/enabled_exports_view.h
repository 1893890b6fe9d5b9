#pragma once
// The "Enabled Exports" pane: what the active configuration exports, one
// row per enabled export type and per template, "[None]" when nothing.
#include <QListWidget>

#include "engine/configuration.h"

namespace tabulon::ui {

class EnabledExportsView : public QListWidget {
  Q_OBJECT
 public:
  explicit EnabledExportsView(QWidget* parent = nullptr);
  // Rebuilds the rows from `configuration`.
  void Show(const Configuration& configuration);

 signals:
  // A row was double-clicked: the export type whose properties to open.
  void exportTypeActivated(std::uint32_t export_type);
};

}  // namespace tabulon::ui

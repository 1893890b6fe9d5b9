#pragma once
// Pictures of the configuration editors: the overview and its dialogs, every
// page of the property sheet, the option dialogs, the column chooser and the
// template editors, on the sample configuration the window has open.
#include <QDir>

namespace tabulon::ui {
class MainWindow;
}

namespace tabulon::screenshots {

// Each returns false, after saying why, when a window did not open.
bool ShootConfigurationOverview(ui::MainWindow& window, const QDir& out);
bool ShootSheetPages(ui::MainWindow& window, const QDir& out);
bool ShootRegistryAndFileEditors(ui::MainWindow& window, const QDir& out);
bool ShootWmiAndDirectoryEditors(ui::MainWindow& window, const QDir& out);

}  // namespace tabulon::screenshots

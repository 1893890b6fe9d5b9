#pragma once
// A main window over a fresh folder: the settings store, the data directory
// and the XDG folders all live in it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "support/fakes.h"
#include "support/scoped_env.h"
#include "ui/main_window.h"
#include "ui/progress_list.h"

namespace tabulon::ui {

class MainWindowTest : public ::testing::Test {
 protected:
  bool Enabled(Command command) const { return window_.action(command)->isEnabled(); }

  // The progress list as "name|status" lines.
  std::vector<std::string> Rows() {
    ProgressModel& model = window_.progress_list().model_rows();
    std::vector<std::string> rows;
    for (int i = 0; i < model.rowCount(); ++i) {
      rows.push_back(model.Row(i).name + "|" + model.Row(i).status);
    }
    return rows;
  }

  // Calls `act` with the next modal widget as soon as one is shown.
  static void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(10, [act = std::move(act)] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        act(modal);
      } else {
        WhenModal(act);
      }
    });
  }

  testing::ScratchDir dir_;
  testing::ScopedEnv config_home_{"XDG_CONFIG_HOME", dir_.path().c_str()};
  testing::ScopedEnv data_home_{"XDG_DATA_HOME", dir_.path().c_str()};
  WindowContext context_{run::Locations{dir_.path(), dir_.path()}, dir_.File("settings.ini")};
  MainWindow window_{context_};
};

}  // namespace tabulon::ui

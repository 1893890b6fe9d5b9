#pragma once
// What the configuration command tests share: a fresh folder with the
// per-user folders in it, a window context over it, and answering the next
// modal dialog from a timer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "support/fakes.h"
#include "support/scoped_env.h"
#include "ui/window_context.h"

namespace tabulon::testing {

// Calls `answer` with the next modal widget once it shows (for at most
// five seconds), so a test never blocks on a dialog's exec().
inline void WhenModal(std::function<void(QWidget*)> answer) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr && ++*tries < 500) return;
    timer->stop();
    timer->deleteLater();
    if (modal != nullptr) answer(modal);
  });
  timer->start(10);
}

class ConfigurationTest : public ::testing::Test {
 protected:
  ConfigurationTest()
      : config_home_("XDG_CONFIG_HOME", (dir_.path() + "/config").c_str()),
        data_home_("XDG_DATA_HOME", (dir_.path() + "/share").c_str()) {
    std::filesystem::create_directories(Data());
    context_ = std::make_unique<ui::WindowContext>(run::Locations{Data(), dir_.path()},
                                                   dir_.File("Tabulon.ini"));
  }

  std::string Data() const { return dir_.File("data"); }
  std::string DataFile(std::string_view name) const { return Data() + "/" + std::string(name); }
  static std::string Read(const std::string& path) { return ScratchDir::ReadFile(path); }
  static void Write(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  ScratchDir dir_;
  ScopedEnv config_home_;
  ScopedEnv data_home_;
  std::unique_ptr<ui::WindowContext> context_;
};

}  // namespace tabulon::testing

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

#ifdef TABULON_SMB_WORKER
#include "platform/samba/worker_process.h"
#endif
#ifdef TABULON_QT_TESTS
#include <QApplication>
#endif

// Every test program starts in a known locale and time zone; tests that need
// another one set it themselves.
int main(int argc, char** argv) {
#ifdef TABULON_SMB_WORKER
  // A test program that reaches real servers is its transports' worker too.
  if (tabulon::platform::samba::IsWorkerCommand(argc, argv)) {
    tabulon::platform::samba::RunWorkerProcess();
  }
#endif
#ifdef _WIN32
  ::_putenv_s("TZ", "UTC");
  ::_tzset();
#else
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  ::setenv("LC_ALL", "C.UTF-8", 1);
#endif
  std::setlocale(LC_ALL, "C");
  ::testing::InitGoogleTest(&argc, argv);
#ifdef TABULON_QT_TESTS
  // The window's tests need no display; a screenshot run chooses its own.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
#endif
  return RUN_ALL_TESTS();
}

// Runs started from the window: the export goes on a thread of its own, its
// rows reach the progress list, and Stop, a second Stop, closing the window
// and the run's questions reach it back.
#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <set>

#include "engine/messages.h"
#include "support/three_computers.h"
#include "ui/main_window_fixture.h"

namespace tabulon::ui {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr int kRunLimitMs = 20000;

class RunFromWindow : public MainWindowTest {
 protected:
  // Three computers; every call of PC1 takes `latency_ms`.
  void Prepare(int latency_ms) {
    testing::WriteThreeComputers(dir_, latency_ms);
    Configure("[Computers]\nPingEnable=0\n[Services]\nExportServices=1\nServiceColumns=0\n");
  }
  void Configure(const std::string& sections, const std::string& general = "") {
    dir_.Write("cfg.ini", "[General]\n" + general + "ConfigurationName=Sample\nOpenOutputWindow=" +
                              std::to_string(open_output_window_) + "\nObjectFile=" +
                              dir_.File("objects.dat") + "\nDefaultOutputDirectory=" + dir_.path() +
                              "\n[Platform]\nEstate=" + dir_.File("estate.json") + "\n" + sections);
    ASSERT_TRUE(window_.OpenConfiguration(dir_.File("cfg.ini")));
  }
  // Starts the run and waits until it works on its first target.
  void StartAndAwaitFirstTarget() {
    window_.action(Command::kStartExport)->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window_.statusBar()->currentMessage() == "Exporting 1 of 3: PC1"; }, 5000));
  }

  QSignalSpy finished_{&window_, &MainWindow::runFinished};
  int open_output_window_ = 0;
};

TEST_F(RunFromWindow, TheRowsReachTheListAndTheCommandsFollowTheRun) {
  Prepare(0);
  EXPECT_TRUE(Enabled(Command::kStartExport));
  EXPECT_FALSE(Enabled(Command::kStopExport));

  window_.action(Command::kStartExport)->trigger();
  EXPECT_TRUE(window_.running());
  EXPECT_FALSE(Enabled(Command::kStartExport));
  EXPECT_TRUE(Enabled(Command::kStopExport));
  EXPECT_FALSE(Enabled(Command::kOpenConfiguration));
  EXPECT_FALSE(Enabled(Command::kClearMessages));
  EXPECT_TRUE(Enabled(Command::kCopyMessages));
  ASSERT_TRUE(finished_.wait(kRunLimitMs));

  EXPECT_EQ(Rows(), (std::vector<std::string>{"PC1|Exporting...", "PC1|Exporting Services...",
                                              "PC2|Exporting...", "PC2|Exporting Services...",
                                              "PC3|Exporting...", "PC3|Exporting Services...",
                                              "Export Completed.|3 Objects Processed."}));
  EXPECT_EQ(dir_.Read("services.txt"), "ServiceName\r\nA\r\nB\r\nC\r\nD\r\n");
  ASSERT_EQ(window_.last_output_files().size(), 1u);
  EXPECT_EQ(window_.last_output_files()[0].path, dir_.File("services.txt"));
  EXPECT_TRUE(Enabled(Command::kStartExport));
  EXPECT_FALSE(Enabled(Command::kStopExport));
  EXPECT_EQ(window_.statusBar()->currentMessage(), "Ready");

  // A second run adds its rows under the first one's.
  window_.action(Command::kStartExport)->trigger();
  ASSERT_TRUE(finished_.wait(kRunLimitMs));
  EXPECT_EQ(Rows().size(), 14u);
  EXPECT_EQ(Rows().back(), "Export Completed.|3 Objects Processed.");
}

TEST_F(RunFromWindow, StopEndsTheRunAfterTheCurrentTarget) {
  Prepare(300);
  StartAndAwaitFirstTarget();
  window_.action(Command::kStopExport)->trigger();
  EXPECT_EQ(window_.statusBar()->currentMessage(),
            "Stopping: no new target starts and those under way finish; Stop Export again "
            "cancels them.");
  ASSERT_TRUE(finished_.wait(kRunLimitMs));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"PC1|Exporting...", "PC1|Exporting Services...",
                                              "Export Aborted By User.|1 Objects Processed."}));
  EXPECT_EQ(dir_.Read("services.txt"), "ServiceName\r\nA\r\nB\r\n");
}

TEST_F(RunFromWindow, ASecondStopAndClosingTheWindowCancelTheCallInFlight) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "close" : "second stop");
    Prepare(3000);
    StartAndAwaitFirstTarget();
    const auto start = steady_clock::now();
    if (close) {
      window_.close();  // waits for the run's end
    } else {
      window_.action(Command::kStopExport)->trigger();
      window_.action(Command::kStopExport)->trigger();
      EXPECT_EQ(window_.statusBar()->currentMessage(), "Cancelling the targets under way...");
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !finished_.isEmpty(); }, kRunLimitMs));
    finished_.clear();
    EXPECT_LT(steady_clock::now() - start, milliseconds(2000));
    EXPECT_EQ(Rows().back(), "Export Aborted By User.|1 Objects Processed.");
    EXPECT_EQ(dir_.Read("services.txt"), "ServiceName\r\n");  // the listing was cancelled
  }
}

TEST_F(RunFromWindow, TheRunsQuestionIsAskedInTheWindowAndItsAnswerTaken) {
  dir_.Write("estate.json",
             R"({"libraries": {"terminal_services": false}, "computers": [{"name": "TS01"}]})");
  dir_.Write("objects.dat", "1\t0\t24\t1\treserved\treserved\tTS01\t\t\\\\TS01\r\n");
  Configure("[Computers]\nPingEnable=0\n[TseSessions]\nTseExportSessions=1\n");
  QString asked;
  std::vector<std::string> rows_when_asked;
  WhenModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    asked = box->text();
    rows_when_asked = Rows();
    box->button(QMessageBox::Yes)->click();  // skip the terminal server exports
  });
  window_.action(Command::kStartExport)->trigger();
  ASSERT_TRUE(finished_.wait(kRunLimitMs));
  EXPECT_EQ(asked.toStdString(), MessageText(kMsgTseLibrariesMissing));
  EXPECT_EQ(rows_when_asked, (std::vector<std::string>{"TS01|Exporting..."}));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"TS01|Exporting...",
                                              "Export Completed.|1 Objects Processed."}));

  // A window closed while the question is shown answers it unattended
  // instead of waiting for the user, and the run ends.
  QString title_after_close;
  WhenModal([&](QWidget* modal) {
    window_.close();
    title_after_close = modal->windowTitle();
    qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
  });
  window_.action(Command::kStartExport)->trigger();
  ASSERT_TRUE(finished_.wait(kRunLimitMs));
  EXPECT_EQ(title_after_close, "Tabulon");
  // Completed or aborted, as far as the cancel reached: the run ended.
  EXPECT_TRUE(Rows().back().ends_with("|1 Objects Processed.")) << Rows().back();
}

// A run exporting several targets at once names those under way under the
// progress list, in list order, and clears the line when it ends; a run of
// one target at a time never shows it.
TEST_F(RunFromWindow, TheTargetsUnderWayAreNamedWhileSeveralGoAtOnce) {
  std::string computers;
  std::string objects;
  for (int i = 1; i <= 8; ++i) {
    const std::string name = "PC" + std::to_string(i);
    computers += std::string(i == 1 ? "" : ",") + R"({"name": ")" + name +
                 R"(", "latency_ms": 50, "services": [{"name": "S"}]})";
    objects +=
        std::to_string(i) + "\t0\t24\t1\treserved\treserved\t" + name + "\t\t\\\\" + name + "\r\n";
  }
  dir_.Write("estate.json", R"({"computers": [)" + computers + "]}");
  dir_.Write("objects.dat", objects);
  const QRegularExpression shape(R"(^Exporting: PC\d(, PC\d){0,2}( \(\+1 more\))?$)");

  for (const int at_once : {1, 4}) {
    SCOPED_TRACE(at_once);
    Configure("[Computers]\nPingEnable=0\n[Services]\nExportServices=1\nServiceColumns=0\n",
              "ParallelTargets=" + std::to_string(at_once) + "\n");
    const auto* line = window_.findChild<QLabel*>("targetsInFlight");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->accessibleName(), "Targets Being Exported");
    std::set<QString> shown;
    window_.action(Command::kStartExport)->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          if (!line->isHidden()) shown.insert(line->text());
          return !finished_.isEmpty();
        },
        kRunLimitMs));
    finished_.clear();
    EXPECT_EQ(Rows().back(), "Export Completed.|8 Objects Processed.");
    EXPECT_TRUE(line->isHidden());
    EXPECT_TRUE(line->text().isEmpty());
    if (at_once == 1) {
      EXPECT_TRUE(shown.empty()) << shown.begin()->toStdString();
      continue;
    }
    std::size_t most_names = 0;
    for (const QString& text : shown) {
      if (text.isEmpty()) continue;  // between targets, or all under way done
      EXPECT_TRUE(shape.match(text).hasMatch()) << text.toStdString();
      const QStringList names =
          text.section(' ', 1).section(" (", 0, 0).split(", ", Qt::SkipEmptyParts);
      QStringList sorted = names;
      sorted.sort();
      EXPECT_EQ(names, sorted) << text.toStdString();
      most_names = std::max(most_names, static_cast<std::size_t>(names.size()));
    }
    EXPECT_GE(most_names, 2u);
  }
}

// A configuration that asks for it shows the produced files when the run
// has ended.
TEST_F(RunFromWindow, TheProducedFilesAreShownWhenTheConfigurationAsks) {
  open_output_window_ = 1;
  Prepare(0);
  QString title;
  int rows = -1;
  WhenModal([&](QWidget* modal) {
    title = modal->windowTitle();
    if (auto* list = modal->findChild<QTreeWidget*>()) rows = list->topLevelItemCount();
    modal->close();
  });
  window_.action(Command::kStartExport)->trigger();
  ASSERT_TRUE(finished_.wait(kRunLimitMs));
  EXPECT_EQ(title, "View Exported Files");
  EXPECT_EQ(rows, 1);
}

}  // namespace
}  // namespace tabulon::ui

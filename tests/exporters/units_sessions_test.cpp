// The shape every export builds on: a unit registered only here runs end to
// end, a call that takes longer than the session allows ends with a timeout
// and a failure row, and Stop cancels a call in flight during domain
// expansion.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/row.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/simple_unit.h"
#include "exporters/units.h"
#include "platform/text.h"
#include "support/e2e.h"

namespace tabulon::testing {
namespace {

// Writes one Protocols-file row per target with the target's server comment,
// as a unit nobody registered in the program.
void ExportCommentRow(ExportContext& context, const tagCObjects& target) {
  const platform::ServerInfoResult info = context.session.server().NetServerGetInfo101(target.path);
  tabulon::Row row(context.output, context.files.of(kProtocols), &target);
  row[0] = info.info.comment;
  row.Write();
  context.output.LogLine(&target, "COMMENT", false, "");
}

ExporterUnit CommentUnit() {
  static constexpr ExportType kTypes[] = {kProtocols};
  return {.name = "comments",
          .types = kTypes,
          .start = StartEnabledTypeRun<kProtocols, ExportCommentRow>};
}

TEST(ExporterUnits, AUnitRegisteredInATestRunsEndToEnd) {
  static const ExporterUnit kUnits[] = {CommentUnit()};
  EndToEnd run(kUnits);
  run.SetEstate(R"({"computers": [{"name": "PC1", "server": {"comment": "first floor"}}]})");
  run.SetConfiguration(
      "[General]\nUnicodeOutput=1\n[Network]\nExportProtocols=1\n"
      "NetworkProtocolOutputFile=comments.txt\nNetworkProtocolColumns=0,1002\n");
  run.SetObjects({{24, "PC1", "\\\\PC1"}});
  const RunResult result = run.Run();
  ASSERT_FALSE(result.stopped_early);
  EXPECT_EQ(run.Output("comments.txt"),
            "\xFF\xFE" + text::Utf8ToUtf16Le("ProtocolName\tObject_Path\nfirst floor\t\\\\PC1\n"));
}

TEST(TargetSessions, ACallPastTheTimeoutEndsWithATimeoutAndAFailureRow) {
  EndToEnd run;
  run.SetEstate(R"({"computers": [{"name": "SLOW", "latency_ms": 60000}]})");
  run.SetConfiguration("[Platform]\nTimeout=1\n[Shares]\nExportShares=1\n");
  run.SetObjects({{24, "SLOW", "\\\\SLOW"}});
  const auto start = std::chrono::steady_clock::now();
  const RunResult result = run.Run();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  ASSERT_FALSE(result.stopped_early);
  EXPECT_EQ(run.ProgressLines(),
            (std::vector<std::string>{
                "0|52|SLOW|Unable to retrieve computer information for '\\\\SLOW'. This "
                "operation returned because the timeout period expired.",
                "0|53|Export Completed.|1 Objects Processed."}));
}

// No target is half done while the list is built, so the first stop (not
// only the second, which cancels during a target) ends the expansion at once.
TEST(TargetSessions, StopCancelsTheCallInFlightWhileADomainIsExpanded) {
  EndToEnd run;
  run.SetEstate(R"({
    "domains": [{"name": "CORP", "controller": "DC1", "browse_list": ["DC1", "PC1"]}],
    "computers": [{"name": "DC1", "domain": "CORP", "latency_ms": 60000},
                  {"name": "PC1", "domain": "CORP"}]})");
  run.SetConfiguration("[Services]\nExportServices=1\n");
  run.SetObjects({{99, "CORP", "CORP"}, {24, "PC1", "\\\\PC1"}});
  RunControl& control = run.control();
  std::thread stopper([&control] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    control.RequestStop();
  });
  const auto start = std::chrono::steady_clock::now();
  const RunResult result = run.Run();
  stopper.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_FALSE(result.stopped_early);
  EXPECT_TRUE(result.aborted_by_user);
  EXPECT_EQ(result.targets_processed, 0u);
  ASSERT_FALSE(run.ProgressLines().empty());
  EXPECT_EQ(run.ProgressLines().back(), "0|53|Export Aborted By User.|0 Objects Processed.");
}

}  // namespace
}  // namespace tabulon::testing

#include "support/e2e.h"

#include <gtest/gtest.h>

#include "engine/local_computer.h"
#include "engine/object_file.h"
#include "estate/loader.h"
#include "exporters/units.h"
#include "platform/text.h"

namespace tabulon::testing {

std::string Row(std::initializer_list<std::string_view> fields) {
  std::string row;
  bool first = true;
  for (std::string_view f : fields) {
    if (!first) row += '\t';
    first = false;
    row += f;
  }
  return row + "\r\n";
}

EndToEnd::EndToEnd(ExporterUnits units) : clock_(March5()), units_(units) {
  platform_.profile = &profile_;
  platform_.clock = &clock_;
  platform_.locale = &locale_;
  SetEstate(R"({"computers": []})");
}

void EndToEnd::SetEstate(std::string_view json) {
  estate::LoadResult loaded = estate::ParseEstate(json, "test estate");
  ASSERT_TRUE(loaded.ok) << loaded.error;
  backend_ = std::make_unique<estate::EstateBackend>(std::move(loaded.estate));
  backend_->Attach(platform_);
  backend_->call_log().SetEnabled(true);
}

void EndToEnd::SetConfiguration(std::string_view ini) {
  dir_.Write("cfg.ini", std::string(ini));
  Configuration config(profile_, dir_.File("cfg.ini"));
  if (config.ReadText("General", "ObjectFile", "").empty()) {
    config.WriteText("General", "ObjectFile", dir_.File("objects.dat"));
  }
  if (config.ReadText("General", "DefaultOutputDirectory", "").empty()) {
    config.WriteText("General", "DefaultOutputDirectory", dir_.path());
  }
  if (config.ReadText("Computers", "PingEnable", "").empty()) {
    config.WriteInt("Computers", "PingEnable", 0);
  }
}

void EndToEnd::SetObjects(const std::vector<Object>& objects) {
  std::string out = "\xFF\xFE";
  std::uint32_t line = 1;
  for (const Object& o : objects) {
    out += text::Utf8ToUtf16Le(std::to_string(line++) + "\t" + std::to_string(o.parent) + "\t" +
                               std::to_string(o.type) + "\t" + (o.active ? "1" : "0") +
                               "\treserved\treserved\t" + o.name + "\t" + o.comment + "\t" +
                               o.path + "\r\n");
  }
  dir_.Write("objects.dat", out);
}

RunResult EndToEnd::Run(bool with_progress) {
  // LOCALHOST stands in for this host, so no test depends on where it runs.
  const std::string& local = backend_->estate().local_computer;
  RunEnvironment env{platform_,
                     units_,
                     format_,
                     FileLocations{},
                     LocalComputerName(computername_, local.empty() ? "LOCALHOST" : local),
                     platform::kNoCredentials};
  observer_.Clear();
  backend_->call_log().Clear();
  env.locations.app_data_directory = dir_.path();
  request_.configuration_path = dir_.File("cfg.ini");
  request_.observer = &observer_;
  request_.control = control_.get();
  request_.progress_rows = with_progress;
  const RunResult result = ExportRun(env, request_);
  control_ = std::make_unique<RunControl>();
  return result;
}

std::vector<std::string> EndToEnd::Calls(std::string_view operation) const {
  std::vector<std::string> calls;
  for (const auto& call : backend_->call_log().Calls()) {
    if (call.operation == operation) calls.push_back(call.host + " " + call.detail);
  }
  return calls;
}

}  // namespace tabulon::testing

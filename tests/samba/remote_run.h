#pragma once
// One export run against the test smbd through the program's remote backend
// and Samba transport: configuration in, files out.
#include <memory>
#include <string>

#include "engine/export_run.h"
#include "exporters/units.h"
#include "platform/ini_file_profile.h"
#include "platform/remote/remote_backend.h"
#include "platform/samba/samba_transport.h"
#include "support/fakes.h"
#include "support/samba_server.h"

namespace tabulon::testing {

class RecordedMessages final : public MessageSink {
 public:
  void ShowError(std::string_view text) override { shown += std::string(text) + "\n"; }
  bool AskYesNo(std::string_view text, bool answer) override {
    shown += std::string(text) + "\n";
    return answer;
  }
  void ShowFailureRow(std::string_view name, std::string_view status) override {
    rows += std::string(name) + ": " + std::string(status) + "\n";
  }
  std::string shown;
  std::string rows;
};

// Runs `ini` (with the object file and output folder filled in; it should
// turn pinging off) against \\127.0.0.1 as the test user; the files land in
// `dir`.
inline RunResult RunAgainstTestServer(const ScratchDir& dir, const std::string& ini,
                                      RecordedMessages& messages) {
  dir.Write("objects.dat", "1\t0\t24\t1\treserved\treserved\tSMB\t\t\\\\127.0.0.1\r\n");
  dir.Write("cfg.ini", "[General]\nObjectFile=" + dir.File("objects.dat") +
                           "\nDefaultOutputDirectory=" + dir.path() + "\n" + ini);
  platform::IniFileProfile profile;
  FixedClock clock(March5());
  SimpleLocale locale;
  platform::remote::RemoteBackend backend(
      [](const platform::SessionOptions& options)
          -> std::unique_ptr<platform::remote::RpcTransport> {
        return std::make_unique<platform::samba::SambaTransport>(options);
      },
      nullptr);
  platform::Platform platform{&profile, &locale, &clock, nullptr, &backend};
  const ExporterUnits units = StandardExporterUnits();
  ExporterProgramStates states(units);
  platform::Credentials credentials;
  credentials.username = kSambaUser;
  credentials.password = kSambaPassword;
  RunEnvironment env{platform,        messages, units,      states, format::FormatSettings{},
                     FileLocations{}, "ADMIN",  credentials};
  env.locations.app_data_directory = dir.path();
  RunRequest request;
  request.configuration_path = dir.File("cfg.ini");
  return ExportRun(env, request);
}

}  // namespace tabulon::testing

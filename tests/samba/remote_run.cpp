#include "samba/remote_run.h"

#include "exporters/units.h"
#include "platform/ini_file_profile.h"
#include "platform/remote/remote_backend.h"
#include "platform/samba/samba_transport.h"
#include "support/samba_server.h"

namespace tabulon::testing {

std::unique_ptr<platform::remote::RpcTransport> SambaTransports(
    const platform::SessionOptions& options) {
  return std::make_unique<platform::samba::SambaTransport>(options);
}

platform::SessionOptions TestUserLogin() {
  static const platform::Credentials login{kSambaUser, platform::Secret(kSambaPassword), ""};
  platform::SessionOptions options;
  options.credentials = &login;
  return options;
}

RunResult RunAgainstRealServers(ScratchDir& dir, RecordedMessages& messages,
                                const std::string& objects, const std::string& ini,
                                const platform::Credentials& credentials,
                                platform::FileSystem* local_files, const RunHooks& hooks) {
  dir.Write("objects.dat", objects);
  dir.Write("cfg.ini", "[General]\nObjectFile=" + dir.File("objects.dat") +
                           "\nDefaultOutputDirectory=" + dir.path() + "\n" + ini);
  platform::IniFileProfile profile;
  FixedClock clock(March5());
  SimpleLocale locale;
  platform::remote::RemoteBackend backend(
      hooks.transports ? hooks.transports : platform::remote::TransportFactory(SambaTransports),
      local_files);
  platform::Platform platform{&profile, &locale, &clock, nullptr, &backend};
  const ExporterUnits units = StandardExporterUnits();
  RunEnvironment env{platform,        units,   format::FormatSettings{},
                     FileLocations{}, "ADMIN", credentials};
  env.locations.app_data_directory = dir.path();
  RunRequest request;
  request.configuration_path = dir.File("cfg.ini");
  request.observer = &messages;
  request.control = hooks.control;
  return ExportRun(env, request);
}

RunResult RunAgainstTestServer(ScratchDir& dir, const std::string& ini,
                               RecordedMessages& messages) {
  return RunAgainstRealServers(dir, messages,
                               "1\t0\t24\t1\treserved\treserved\tSMB\t\t\\\\127.0.0.1\r\n", ini,
                               *TestUserLogin().credentials);
}

}  // namespace tabulon::testing

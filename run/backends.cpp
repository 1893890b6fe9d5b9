#include "run/backends.h"

#include <cstdlib>
#include <filesystem>
#include <utility>

#include "engine/configuration.h"
#include "engine/file_names.h"
#include "engine/local_computer.h"
#include "estate/backend.h"
#include "estate/loader.h"
#include "platform/credentials_file.h"
#include "platform/ini_file_profile.h"
#include "platform/locale.h"
#include "platform/utf8_path.h"
#include "run/native_backends.h"

namespace tabulon::run {

struct Backends::State {
  platform::IniFileProfile profile;
  platform::SystemClock clock;
  std::unique_ptr<platform::Locale> locale = platform::MakeProcessLocale();
  // Real computers, as this system reaches them.
  std::unique_ptr<NativeBackends> native = MakeNativeBackends(clock);
  // The simulated network, when the configuration names one.
  std::unique_ptr<estate::EstateBackend> estate;
};

Backends::Backends() : state_(std::make_unique<State>()) {
  platform_.profile = &state_->profile;
  platform_.clock = &state_->clock;
  platform_.locale = state_->locale.get();
  platform_.icmp = &state_->native->icmp();
  platform_.sessions = &state_->native->sessions();
}

Backends::~Backends() = default;

bool Backends::Select(const std::string& configuration_path, const std::string& app_data_directory,
                      std::string& error) {
  const Configuration config(state_->profile, configuration_path);
  FileLocations locations;
  locations.app_data_directory = app_data_directory;
  auto resolve = [&](const std::string& name) {
    return ResolveFileName(name, false, locations, state_->clock, *state_->locale);
  };

  const std::string credentials = config.ReadSettingText("Platform", "Credentials");
  if (!credentials.empty()) {
    platform::CredentialsFileResult read = platform::ReadCredentialsFile(resolve(credentials));
    if (!read.ok) {
      error = read.error;
      return false;
    }
    credentials_ = std::move(read.credentials);
  }
  credentials_.use_kerberos = config.ReadSwitch("Platform", "Kerberos");
  state_->native->SetLocalShares(
      config.ReadSettingText("Platform", "LocalShares"),
      platform::Utf8Name(platform::Utf8Path(configuration_path).parent_path()));

  const std::string name = config.ReadSettingText("Platform", "Estate");
  if (name.empty()) {
    if (credentials_.empty()) logon_notice_ = state_->native->ChooseDefaultLogon(credentials_);
    return true;
  }
  estate_path_ = resolve(name);
  estate::LoadResult loaded = estate::LoadEstate(estate_path_);
  if (!loaded.ok) {
    error = "Unable to load the estate file: " + loaded.error;
    return false;
  }
  state_->estate = std::make_unique<estate::EstateBackend>(std::move(loaded.estate));
  state_->estate->Attach(platform_);
  return true;
}

std::string Backends::LocalComputerName() const {
  const char* variable = std::getenv("COMPUTERNAME");
  return tabulon::LocalComputerName(variable != nullptr ? variable : "",
                                    state_->estate ? state_->estate->estate().local_computer : "");
}

}  // namespace tabulon::run

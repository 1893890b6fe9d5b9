#include "run/backends.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "engine/configuration.h"
#include "engine/file_names.h"
#include "engine/local_computer.h"
#include "engine/messages.h"
#include "estate/backend.h"
#include "estate/loader.h"
#include "platform/ini_file_profile.h"
#include "platform/ldap/ldap_directory.h"
#include "platform/locale.h"
#include "platform/posix/credentials_file.h"
#include "platform/posix/file_system.h"
#include "platform/posix/icmp_socket.h"
#include "platform/remote/remote_backend.h"
#include "platform/samba/samba_transport.h"
#include "platform/samba/ticket_cache.h"

namespace tabulon::run {
namespace {

// Reading a ticket cache is local, but a cache kept by a daemon may not
// answer: a run does not wait longer than this to learn who it is.
constexpr std::chrono::milliseconds kTicketCacheLimit{5000};

}  // namespace

struct Backends::State {
  platform::IniFileProfile profile;
  platform::SystemClock clock;
  std::unique_ptr<platform::Locale> locale = platform::MakeProcessLocale();
  // Real backends.
  platform::SocketIcmp icmp{clock};
  platform::PosixFileSystem local_files;
  // Real computers over SMB named pipes, each session's calls in a worker
  // process of its own; directories over LDAP.
  platform::remote::RemoteBackend remote{
      [](const platform::SessionOptions& options)
          -> std::unique_ptr<platform::remote::RpcTransport> {
        return std::make_unique<platform::samba::SambaTransport>(options);
      },
      &local_files, &platform::ldap::MakeLdapDirectorySearch};
  // The simulated network, when the configuration names one.
  std::unique_ptr<estate::EstateBackend> estate;
};

Backends::Backends() : state_(std::make_unique<State>()) {
  platform_.profile = &state_->profile;
  platform_.clock = &state_->clock;
  platform_.locale = state_->locale.get();
  platform_.icmp = &state_->icmp;
  platform_.sessions = &state_->remote;
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
  state_->local_files.set_local_shares(platform::posix_fs::ParseLocalShares(
      config.ReadSettingText("Platform", "LocalShares"),
      std::filesystem::path(configuration_path).parent_path().string()));

  const std::string name = config.ReadSettingText("Platform", "Estate");
  if (name.empty()) {
    if (credentials_.empty()) ChooseDefaultLogon();
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

void Backends::ChooseDefaultLogon() {
  // As a Windows client uses the logged-on user: the caller's Kerberos
  // tickets when there are any, for SMB and LDAP alike; else anonymous.
  const std::string principal = platform::samba::FindTicketCache(kTicketCacheLimit);
  if (principal.empty()) {
    logon_notice_ = MessageText(kMsgAnonymousLogon);
    return;
  }
  credentials_.use_kerberos = true;
  logon_notice_ = FormatMessageId(kMsgTicketCacheLogon, {principal});
}

std::string Backends::LocalComputerName() const {
  const char* variable = std::getenv("COMPUTERNAME");
  return tabulon::LocalComputerName(variable != nullptr ? variable : "",
                                    state_->estate ? state_->estate->estate().local_computer : "");
}

}  // namespace tabulon::run

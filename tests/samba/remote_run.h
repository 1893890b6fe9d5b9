#pragma once
// A whole run against real servers: configuration and object file in, files
// out, through the program's remote backend and Samba transport.
#include <memory>
#include <string>

#include "engine/export_run.h"
#include "platform/credentials.h"
#include "platform/file_system.h"
#include "platform/remote/remote_backend.h"
#include "platform/remote/rpc_transport.h"
#include "support/fakes.h"

namespace tabulon::testing {

// Transports over Samba's client libraries, for a remote backend.
std::unique_ptr<platform::remote::RpcTransport> SambaTransports(
    const platform::SessionOptions& options);

// The test user's logon to the test smbd.
platform::SessionOptions TestUserLogin();

// What the run would show: message boxes and the failure rows.
class RecordedMessages final : public RunObserver {
 public:
  void ShowError(std::string_view text) override { shown += std::string(text) + "\n"; }
  bool AskYesNo(std::string_view text, bool answer) override {
    shown += std::string(text) + "\n";
    return answer;
  }
  void FailureRow(std::string_view name, std::string_view status) override {
    rows += std::string(name) + ": " + std::string(status) + "\n";
  }
  std::string shown;
  std::string rows;
};

// What a test changes about a run: the transports (none: SambaTransports)
// and the control that stops or cancels it.
struct RunHooks {
  platform::remote::TransportFactory transports;
  const RunControl* control = nullptr;
};

// Writes `objects` (object file lines) and `ini` (after a [General] section
// naming the object file and `dir` as the output folder) into `dir`, and
// runs them logged on as `credentials`; `local_files`, when given, serves
// the paths the remote backend leaves to this computer.
RunResult RunAgainstRealServers(ScratchDir& dir, RecordedMessages& messages,
                                const std::string& objects, const std::string& ini,
                                const platform::Credentials& credentials,
                                platform::FileSystem* local_files = nullptr,
                                const RunHooks& hooks = {});

// The same against the test smbd at \\127.0.0.1, as the test user.
RunResult RunAgainstTestServer(ScratchDir& dir, const std::string& ini, RecordedMessages& messages);

}  // namespace tabulon::testing

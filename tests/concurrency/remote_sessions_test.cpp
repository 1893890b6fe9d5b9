// Sessions of the remote backend on several threads at once, each with its
// own worker, against the test smbd: they answer as they do one at a time.
#include <gtest/gtest.h>

#include <fstream>

#include "concurrency/family_transcript.h"
#include "platform/posix/file_system.h"
#include "platform/remote/remote_backend.h"
#include "platform/samba/samba_transport.h"
#include "support/samba_server.h"

namespace tabulon::testing {
namespace {

constexpr std::size_t kThreads = 4;

class ConcurrentRemoteSessions : public SambaServerSuite {};

TEST_F(ConcurrentRemoteSessions, EachThreadsSessionAnswersAsASerialOneDoes) {
  ASSERT_EQ(server_->MakeTestUserAdministrator(), "");
  for (int i = 0; i < 3; ++i) {
    std::ofstream(server_->folder() + "/data/file" + std::to_string(i)) << std::string(i, 'x');
  }
  static const platform::Credentials login{kSambaUser, platform::Secret(kSambaPassword), ""};
  platform::PosixFileSystem local_files;
  platform::remote::RemoteBackend backend(
      [](const platform::SessionOptions& options) {
        return std::make_unique<platform::samba::SambaTransport>(options);
      },
      &local_files);
  const auto transcript = [&backend](std::size_t) {
    platform::SessionOptions options;
    options.credentials = &login;
    options.call_timeout_ms = 30000;
    const auto session = backend.Open("127.0.0.1", options);
    return FamilyTranscript(*session, "\\\\127.0.0.1", "\\\\127.0.0.1\\data", kSambaUser);
  };
  const std::string serial = transcript(0);
  EXPECT_NE(serial.find("server 0 "), std::string::npos) << serial;
  EXPECT_NE(serial.find("file2:2"), std::string::npos) << serial;
  for (const std::string& concurrent : OnThreads(kThreads, transcript)) {
    EXPECT_EQ(concurrent, serial);
  }
}

}  // namespace
}  // namespace tabulon::testing

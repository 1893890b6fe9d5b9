// The registry of a remote session: which server each key's calls go to,
// the keys a session closes on its way out, and the buffer sizes held to
// what the caller gave whatever the server sends.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/remote/remote_backend.h"
#include "platform/remote/sample_stubs.h"
#include "platform/remote/scripted_server.h"
#include "platform/remote/winreg_codec.h"
#include "platform/remote/winreg_stubs.h"

namespace tabulon::platform::remote {
namespace {

using testing::Sent;

// winreg answers from recorded replies; no other pipe is there.
const testing::Script& RegistryServer() {
  static const testing::Script script = {
      {"winreg",
       {{winreg::kBaseRegCloseKey, testing::CloseReply()},
        {winreg::kBaseRegQueryValue, testing::RegQueryValueReply()},
        {winreg::kBaseRegEnumKey, testing::RegEnumKeyReply()},
        {winreg::kBaseRegEnumValue, testing::RegEnumValueReply()}}}};
  return script;
}

class RemoteRegistryTest : public ::testing::Test {
 protected:
  RemoteBackend backend_{[this](const SessionOptions&) {
                           return std::make_unique<testing::ScriptedServer>(RegistryServer(), log_,
                                                                            dead_);
                         },
                         nullptr};
  std::vector<Sent> log_;
  const bool dead_ = false;
};

TEST_F(RemoteRegistryTest, KeysStayWithTheirServerAndAreClosedWhenTheSessionEnds) {
  {
    auto session = backend_.Open("\\\\FS01", {});
    Registry& registry = session->registry();
    const RegistryKeyResult hklm = registry.ConnectRegistry("\\\\FS01", kHkeyLocalMachine);
    const RegistryKeyResult software = registry.OpenKey(hklm.key, "Software", kKeyRead);
    const RegistryKeyResult users = registry.ConnectRegistry("OTHER", kHkeyUsers);
    const RegistryKeyResult profile = registry.OpenKey(users.key, ".DEFAULT", kKeyRead);
    ASSERT_NE(profile.key, 0u);
    EXPECT_EQ(registry.CloseKey(software.key), win::ERROR_SUCCESS);
    EXPECT_EQ(registry.CloseKey(software.key), win::ERROR_INVALID_HANDLE) << "closed once";
  }
  const std::vector<Sent> expected = {
      {"FS01", "winreg", winreg::kOpenLocalMachine}, {"FS01", "winreg", winreg::kBaseRegOpenKey},
      {"OTHER", "winreg", winreg::kOpenUsers},       {"OTHER", "winreg", winreg::kBaseRegOpenKey},
      {"FS01", "winreg", winreg::kBaseRegCloseKey},  {"OTHER", "winreg", winreg::kBaseRegCloseKey},
      {"OTHER", "winreg", winreg::kBaseRegCloseKey}, {"FS01", "winreg", winreg::kBaseRegCloseKey}};
  EXPECT_EQ(log_, expected);
}

// What needs no server: hives other computers do not offer, this computer's
// registry, and predefined keys, which are no open keys here.
TEST_F(RemoteRegistryTest, KeysThatNeedNoServer) {
  auto session = backend_.Open("\\\\FS01", {});
  Registry& registry = session->registry();
  EXPECT_EQ(registry.ConnectRegistry("\\\\FS01", kHkeyCurrentUser).status,
            win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(registry.ConnectRegistry("\\\\FS01", 0x80000004).status, win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(registry.ConnectRegistry("", kHkeyLocalMachine).status, win::ERROR_NOT_SUPPORTED);
  EXPECT_EQ(registry.OpenKey(kHkeyLocalMachine, "Software", kKeyRead).status,
            win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(registry.QueryValue(7, "x", 10).status, win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(registry.CloseKey(kHkeyLocalMachine), win::ERROR_SUCCESS);
  EXPECT_EQ(registry.CloseKey(7), win::ERROR_INVALID_HANDLE);
  EXPECT_TRUE(log_.empty());
}

// The server answers "Hi" (6 bytes), the subkey "NetBT" and the value
// "Domain" (a 4-byte DWORD) whatever the buffers: the sizes the caller gave
// decide ERROR_MORE_DATA, with the size needed and the name when it fits.
TEST_F(RemoteRegistryTest, BuffersAreHeldToTheCallersSizes) {
  auto session = backend_.Open("\\\\FS01", {});
  Registry& registry = session->registry();
  const RegistryKey key = registry.ConnectRegistry("\\\\FS01", kHkeyLocalMachine).key;

  const RegistryValueResult small = registry.QueryValue(key, "v", 4);
  EXPECT_EQ(small.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(small.type, kRegSz);
  EXPECT_EQ(small.data_size, 6u);
  EXPECT_TRUE(small.data.empty());
  const RegistryValueResult fits = registry.QueryValue(key, "v", 6);
  EXPECT_EQ(fits.status, win::ERROR_SUCCESS);
  EXPECT_EQ(fits.data, std::string("H\0i\0\0\0", 6));

  EXPECT_EQ(registry.EnumKey(key, 0, 5).status, win::ERROR_MORE_DATA);
  EXPECT_EQ(registry.EnumKey(key, 0, 6).name, "NetBT");

  const RegistryEnumValueResult short_name = registry.EnumValue(key, 0, 6, 100);
  EXPECT_EQ(short_name.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(short_name.name, "");
  EXPECT_EQ(short_name.data_size, 4u);
  const RegistryEnumValueResult short_data = registry.EnumValue(key, 0, 7, 3);
  EXPECT_EQ(short_data.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(short_data.name, "Domain");
  EXPECT_EQ(short_data.type, kRegDword);
  EXPECT_TRUE(short_data.data.empty());
  EXPECT_EQ(registry.EnumValue(key, 0, 7, 4).data, std::string("\1\0\0\0", 4));
}

}  // namespace
}  // namespace tabulon::platform::remote

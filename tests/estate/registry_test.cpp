// The registry of estate computers: hives reached by connecting, keys by
// path, values into the caller's buffer, enumeration by index, last-write
// times, failure injection and the .reg sources of an estate file.
#include "estate/registry.h"

#include <gtest/gtest.h>

#include "estate/loader.h"
#include "platform/text.h"
#include "sample_estate.h"
#include "support/fakes.h"

namespace tabulon::estate {
namespace {

using platform::RegistryKey;

constexpr std::string_view kEstate = R"json({
  "local_computer": "ADMIN",
  "computers": [
    {"name": "WS01", "registry": {
      "text": ["Windows Registry Editor Version 5.00",
               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\beta]",
               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Alpha]",
               "\"Short\"=\"abc\"",
               "\"Count\"=dword:00000007",
               "@=\"default\"",
               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Locked]",
               "\"Secret\"=\"x\"",
               "[HKEY_USERS\\S-1-5-21-1-2-3-1001]",
               "[HKEY_CURRENT_USER\\Console]"],
      "last_write": "2024-05-06 07:08:09",
      "key_times": {"HKU\\S-1-5-21-1-2-3-1001": "2026-03-05T08:30:00Z"},
      "failures": {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Locked": {"RegOpenKey": "ERROR_ACCESS_DENIED"},
                   "HKLM\\SOFTWARE\\Vendor": {"RegQueryInfoKey": 1722}}}},
    {"name": "DOWN", "offline": true},
    {"name": "NOREMOTE", "failures": {"RegConnectRegistry": "RPC_S_SERVER_UNAVAILABLE"}},
    {"name": "ADMIN", "registry": {"text": "REGEDIT4\n[HKEY_CURRENT_USER\\Console]\n"}}
  ]
})json";

platform::FileTime Utc(int y, int mo, int d, int h, int mi, int s) {
  platform::SystemTime t;
  t.year = y;
  t.month = mo;
  t.day = d;
  t.hour = h;
  t.minute = mi;
  t.second = s;
  return *platform::SystemTimeToFileTime(t);
}

class EstateRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = testing::BackendFrom(kEstate);
    p_ = backend_->OpenSession("");
  }
  RegistryKey Connect(std::string_view machine, RegistryKey hive = platform::kHkeyLocalMachine) {
    const platform::RegistryKeyResult r = p_->registry().ConnectRegistry(machine, hive);
    EXPECT_EQ(r.status, win::ERROR_SUCCESS) << machine;
    return r.key;
  }
  RegistryKey Open(RegistryKey parent, std::string_view path,
                   std::uint32_t access = platform::kKeyRead) {
    const platform::RegistryKeyResult r = p_->registry().OpenKey(parent, path, access);
    EXPECT_EQ(r.status, win::ERROR_SUCCESS) << path;
    return r.key;
  }
  std::unique_ptr<EstateBackend> backend_;
  std::unique_ptr<EstateSession> p_;
};

TEST_F(EstateRegistryTest, ConnectingReachesRemoteMachineAndUserHivesOnly) {
  struct Case {
    std::string_view machine;
    RegistryKey hive;
    win::Status expected;
  };
  const Case cases[] = {
      {"\\\\WS01", platform::kHkeyLocalMachine, win::ERROR_SUCCESS},
      {"ws01", platform::kHkeyUsers, win::ERROR_SUCCESS},
      {"\\\\WS01", platform::kHkeyCurrentUser, win::ERROR_INVALID_HANDLE},
      {"\\\\WS01", platform::kHkeyClassesRoot, win::ERROR_INVALID_HANDLE},
      {"\\\\WS01", 0x1234, win::ERROR_INVALID_HANDLE},
      {"", platform::kHkeyCurrentUser, win::ERROR_SUCCESS},
      {"\\\\DOWN", platform::kHkeyLocalMachine, win::ERROR_BAD_NETPATH},
      {"\\\\NOBODY", platform::kHkeyLocalMachine, win::ERROR_BAD_NETPATH},
      {"\\\\NOREMOTE", platform::kHkeyLocalMachine, win::RPC_S_SERVER_UNAVAILABLE},
  };
  for (const Case& c : cases) {
    const platform::RegistryKeyResult r = p_->registry().ConnectRegistry(c.machine, c.hive);
    EXPECT_EQ(r.status, c.expected) << c.machine << " " << c.hive;
    EXPECT_EQ(r.key != 0, c.expected == win::ERROR_SUCCESS);
    if (r.key != 0) {
      EXPECT_EQ(p_->registry().CloseKey(r.key), win::ERROR_SUCCESS);
    }
  }
  EXPECT_EQ(p_->OpenHandles(), 0u);
  EXPECT_EQ(p_->registry().CloseKey(0x4242), win::ERROR_INVALID_HANDLE);
}

TEST_F(EstateRegistryTest, ValuesFitTheBufferOrTellTheSizeNeeded) {
  const RegistryKey hklm = Connect("\\\\WS01");
  const RegistryKey alpha = Open(hklm, "software\\VENDOR\\alpha", platform::kKeyQueryValue);
  platform::RegistryValueResult r = p_->registry().QueryValue(alpha, "short", 256);
  EXPECT_EQ(r.status, win::ERROR_SUCCESS);
  EXPECT_EQ(r.type, platform::kRegSz);
  EXPECT_EQ(r.data_size, 8u);
  EXPECT_EQ(text::Utf16LeToUtf8(r.data), std::string("abc\0", 4));

  r = p_->registry().QueryValue(alpha, "Short", 7);
  EXPECT_EQ(r.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(r.data_size, 8u);
  EXPECT_TRUE(r.data.empty());
  EXPECT_EQ(p_->registry().QueryValue(alpha, "Short", 8).status, win::ERROR_SUCCESS);
  EXPECT_EQ(p_->registry().QueryValue(alpha, "", 256).data_size, 16u);
  EXPECT_EQ(p_->registry().QueryValue(alpha, "Nothing", 256).status, win::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(p_->registry().OpenKey(hklm, "SOFTWARE\\Vendor\\Gamma", platform::kKeyRead).status,
            win::ERROR_FILE_NOT_FOUND);
  // Access rights of the key decide what it can be used for.
  EXPECT_EQ(p_->registry().EnumKey(alpha, 0, 256).status, win::ERROR_ACCESS_DENIED);
  const RegistryKey enum_only = Open(hklm, "SOFTWARE", platform::kKeyEnumerateSubKeys);
  EXPECT_EQ(p_->registry().QueryValue(enum_only, "x", 256).status, win::ERROR_ACCESS_DENIED);
  EXPECT_EQ(p_->registry().QueryInfoKey(enum_only).status, win::ERROR_ACCESS_DENIED);

  for (RegistryKey k : {alpha, enum_only, hklm}) p_->registry().CloseKey(k);
  EXPECT_EQ(p_->registry().QueryValue(alpha, "Short", 256).status, win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(p_->OpenHandles(), 0u);
}

TEST_F(EstateRegistryTest, EnumerationByIndexInNameOrder) {
  const RegistryKey hklm = Connect("\\\\WS01");
  const RegistryKey vendor = Open(hklm, "SOFTWARE\\Vendor");
  std::vector<std::string> names;
  platform::RegistryEnumKeyResult sub;
  for (std::uint32_t i = 0; (sub = p_->registry().EnumKey(vendor, i, 256)).status == 0; ++i) {
    names.push_back(sub.name);
    EXPECT_EQ(sub.last_write_time, Utc(2024, 5, 6, 7, 8, 9));
  }
  EXPECT_EQ(sub.status, win::ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta"}));
  // "Alpha" and its terminator need six characters.
  EXPECT_EQ(p_->registry().EnumKey(vendor, 0, 5).status, win::ERROR_MORE_DATA);
  EXPECT_EQ(p_->registry().EnumKey(vendor, 0, 6).status, win::ERROR_SUCCESS);

  const RegistryKey alpha = Open(vendor, "Alpha");
  platform::RegistryEnumValueResult v = p_->registry().EnumValue(alpha, 1, 16, 256);
  EXPECT_EQ(v.status, win::ERROR_SUCCESS);
  EXPECT_EQ(v.name, "Count");
  EXPECT_EQ(v.type, platform::kRegDword);
  EXPECT_EQ(v.data, std::string("\x07\0\0\0", 4));
  v = p_->registry().EnumValue(alpha, 1, 16, 3);
  EXPECT_EQ(v.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(v.name, "Count");
  EXPECT_EQ(v.data_size, 4u);
  EXPECT_EQ(p_->registry().EnumValue(alpha, 1, 5, 256).status, win::ERROR_MORE_DATA);
  EXPECT_EQ(p_->registry().EnumValue(alpha, 2, 16, 256).name, "");
  EXPECT_EQ(p_->registry().EnumValue(alpha, 3, 16, 256).status, win::ERROR_NO_MORE_ITEMS);

  const platform::RegistryKeyInfo info = p_->registry().QueryInfoKey(alpha);
  EXPECT_EQ(info.status, win::ERROR_SUCCESS);
  EXPECT_EQ(info.subkeys, 0u);
  EXPECT_EQ(info.values, 3u);
  EXPECT_EQ(info.max_value_name_chars, 5u);
  EXPECT_EQ(info.max_value_data_bytes, 16u);
  for (RegistryKey k : {alpha, vendor, hklm}) p_->registry().CloseKey(k);
}

TEST_F(EstateRegistryTest, KeyTimesAndInjectedFailures) {
  const RegistryKey users = Connect("\\\\WS01", platform::kHkeyUsers);
  const platform::RegistryEnumKeyResult sid = p_->registry().EnumKey(users, 0, 260);
  EXPECT_EQ(sid.name, "S-1-5-21-1-2-3-1001");
  EXPECT_EQ(sid.last_write_time, Utc(2026, 3, 5, 8, 30, 0));

  const RegistryKey hklm = Connect("\\\\WS01");
  EXPECT_EQ(p_->registry().OpenKey(hklm, "SOFTWARE\\Locked", platform::kKeyRead).status,
            win::ERROR_ACCESS_DENIED);
  const RegistryKey vendor = Open(hklm, "SOFTWARE\\Vendor");
  EXPECT_EQ(p_->registry().QueryInfoKey(vendor).status, win::RPC_S_SERVER_UNAVAILABLE);
  // Only the key itself fails, not the keys below it.
  const RegistryKey alpha = Open(vendor, "Alpha");
  EXPECT_EQ(p_->registry().QueryInfoKey(alpha).status, win::ERROR_SUCCESS);
  for (RegistryKey k : {alpha, vendor, hklm, users}) p_->registry().CloseKey(k);
  EXPECT_EQ(p_->OpenHandles(), 0u);
}

TEST_F(EstateRegistryTest, PredefinedKeysAreTheLocalComputers) {
  backend_->call_log().SetEnabled(true);
  const RegistryKey console = Open(platform::kHkeyCurrentUser, "Console");
  EXPECT_NE(console, 0u);
  EXPECT_EQ(p_->registry().CloseKey(platform::kHkeyCurrentUser), win::ERROR_SUCCESS);
  p_->registry().CloseKey(console);
  EXPECT_EQ(p_->OpenHandles(), 0u);
  const auto& calls = backend_->call_log().Calls();
  EXPECT_EQ(calls.front(),
            (CallRecord{"RegOpenKey", "", "path=HKEY_CURRENT_USER\\Console access=0x00020019"}));
}

TEST(EstateRegistryFiles, FilesNextToTheEstateAreReadOnceAndShared) {
  tabulon::testing::ScratchDir dir;
  dir.Write("common.reg",
            "\xFF\xFE" + text::Utf8ToUtf16Le("Windows Registry Editor Version 5.00\r\n\r\n"
                                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Common]\r\n"
                                             "\"Shared\"=\"yes\"\r\n"));
  dir.Write("extra.reg", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Extra]\n\"Only\"=\"here\"\n");
  dir.Write("estate.json", R"({"computers": [
      {"name": "A", "registry": {"files": "common.reg"}},
      {"name": "B", "registry": {"files": ["common.reg"]}},
      {"name": "C", "registry": {"files": ["common.reg", "extra.reg"],
                                 "text": "Windows Registry Editor Version 5.00\n[-HKLM\\SOFTWARE\\Common]"}}
  ]})");
  const LoadResult loaded = LoadEstate(dir.File("estate.json"));
  ASSERT_TRUE(loaded.ok) << loaded.error;
  const auto& computers = loaded.estate.computers;
  EXPECT_EQ(computers[0].registry, computers[1].registry);
  const RegistryTree& c = *computers[2].registry;
  const std::uint32_t hklm = c.root(Hive::kLocalMachine);
  EXPECT_EQ(c.Find(hklm, "SOFTWARE\\Common"), RegistryTree::kNoKey);
  EXPECT_NE(c.Find(hklm, "SOFTWARE\\Extra"), RegistryTree::kNoKey);
  const RegistryTree& a = *computers[0].registry;
  EXPECT_NE(a.Find(a.root(Hive::kLocalMachine), "SOFTWARE\\Common"), RegistryTree::kNoKey);
}

TEST(EstateRegistryFiles, ProblemsNameTheFileTheLineOrTheJsonPath) {
  tabulon::testing::ScratchDir dir;
  dir.Write("bad.reg", "Windows Registry Editor Version 5.00\n\n[HKLM\\K]\n\"V\"=dword:xyz\n");
  struct Case {
    std::string estate;
    std::string error_part;
  };
  const Case cases[] = {
      {R"({"computers": [{"name": "A", "registry": {"files": "bad.reg"}}]})",
       dir.File("bad.reg") + ":4: dword: needs one to eight hexadecimal digits"},
      {R"({"computers": [{"name": "A", "registry": {"files": ["missing.reg"]}}]})",
       "computers[0].registry.files[0]: cannot open the .reg file"},
      {R"({"computers": [{"name": "A", "registry": {"text": ["REGEDIT4", "junk"]}}]})",
       "computers[0].registry.text: line 2: expected a [key] line"},
      {R"({"computers": [{"name": "A", "registry": {"text": 7}}]})",
       "computers[0].registry.text: expected an array"},
      {R"({"computers": [{"name": "A", "registry": {"last_write": "yesterday"}}]})",
       "computers[0].registry.last_write: expected a UTC time"},
      {R"({"computers": [{"name": "A", "registry": {"key_times": {"HKLM\\Nope": "2024-01-01 00:00:00"}}}]})",
       "computers[0].registry.key_times.HKLM\\Nope: no such key in the registry"},
      {R"({"computers": [{"name": "A", "registry": {"text": "REGEDIT4\n[HKLM\\K]",
          "failures": {"HKLM\\K": {"OpenSCManager": 5}}}}]})",
       "a registry key can only fail RegOpenKey"},
      {R"({"computers": [{"name": "A", "registry": []}]})",
       "computers[0].registry: expected an object"},
  };
  for (const Case& c : cases) {
    dir.Write("estate.json", c.estate);
    const LoadResult loaded = LoadEstate(dir.File("estate.json"));
    EXPECT_FALSE(loaded.ok) << c.estate;
    EXPECT_NE(loaded.error.find(c.error_part), std::string::npos)
        << loaded.error << "\nwanted: " << c.error_part;
  }
}

}  // namespace
}  // namespace tabulon::estate

// Credentials files: what they may say, and who may read them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/credentials.h"
#include "platform/posix/credentials_file.h"
#include "support/fakes.h"

namespace tabulon::platform {
namespace {

struct ParseCase {
  std::string_view text;
  bool ok;
  std::string_view username;
  std::string_view domain;
  std::string_view error;
};

TEST(Credentials, ParsesKeyValueLines) {
  const ParseCase cases[] = {
      {"username = jdoe\npassword = s3 cr=t\ndomain = CORP\n", true, "jdoe", "CORP", ""},
      {"# lab account\r\n\r\nUserName=CORP\\jdoe\r\nPassword=x\r\n", true, "jdoe", "CORP", ""},
      {"username = jdoe@corp.example\n", true, "jdoe", "corp.example", ""},
      {"domain = OTHER\nusername = CORP\\jdoe\n", true, "jdoe", "OTHER", ""},
      {"user = jdoe\n", false, "", "", "line 1: unknown key \"user\""},
      {"username jdoe\n", false, "", "", "line 1: expected \"key = value\""},
      {"password = x\n", false, "", "", "no username"},
      {"", false, "", "", "no username"},
  };
  for (const ParseCase& c : cases) {
    const CredentialsParse parsed = ParseCredentials(c.text);
    EXPECT_EQ(parsed.ok, c.ok) << c.text;
    EXPECT_EQ(parsed.error, c.error) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(parsed.credentials.username, c.username) << c.text;
    EXPECT_EQ(parsed.credentials.domain, c.domain) << c.text;
  }
  EXPECT_EQ(ParseCredentials("username=a\npassword = s3 cr=t\n").credentials.password, "s3 cr=t");
}

TEST(Credentials, FileIsRefusedUnlessOnlyItsOwnerCanReadIt) {
  testing::ScratchDir dir;
  dir.Write("creds", "username = jdoe\npassword = secret\n");
  const std::string path = dir.File("creds");

  ::chmod(path.c_str(), 0644);
  CredentialsFileResult read = ReadCredentialsFile(path);
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.error, "credentials file '" + path +
                            "': readable or writable by others; allow only its owner (chmod 600)");

  ::chmod(path.c_str(), 0600);
  read = ReadCredentialsFile(path);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.credentials.password, "secret");

  read = ReadCredentialsFile(dir.path());
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.error, "credentials file '" + dir.path() + "': not a regular file");

  read = ReadCredentialsFile(dir.File("missing"));
  EXPECT_EQ(read.error,
            "credentials file '" + dir.File("missing") + "': No such file or directory");
}

}  // namespace
}  // namespace tabulon::platform

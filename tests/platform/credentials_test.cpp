// Credentials files: what they may say, who may read them, and that no
// error about one ever quotes what it holds.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ostream>
#include <type_traits>

#include "platform/credentials.h"
#include "platform/credentials_file.h"
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

constexpr std::string_view kUnknownKey = "unknown key; the keys are username, password and domain";

TEST(Credentials, ParsesKeyValueLinesAndNeverQuotesARefusedOne) {
  const ParseCase cases[] = {
      {"username = jdoe\npassword = s3 cr=t\ndomain = CORP\n", true, "jdoe", "CORP", ""},
      {"# lab account\r\n\r\nUserName=CORP\\jdoe\r\nPassword=x\r\n", true, "jdoe", "CORP", ""},
      {"username = jdoe@corp.example\n", true, "jdoe", "corp.example", ""},
      {"domain = OTHER\nusername = CORP\\jdoe\n", true, "jdoe", "OTHER", ""},
      {"user = jdoe\n", false, "", "", kUnknownKey},
      // A colon for the separator leaves the password in the key.
      {"username = jdoe\npassword: SECRET = x\n", false, "", "", kUnknownKey},
      {"username jdoe\nSECRET\n", false, "", "", "expected \"key = value\""},
      {"password = SECRET\n", false, "", "", "no username"},
      {"", false, "", "", "no username"},
  };
  for (const ParseCase& c : cases) {
    const CredentialsParse parsed = ParseCredentials(c.text);
    EXPECT_EQ(parsed.ok, c.ok) << c.text;
    EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
    EXPECT_EQ(parsed.error.find("SECRET"), std::string::npos) << parsed.error;
    if (!c.ok) continue;
    EXPECT_EQ(parsed.credentials.username, c.username) << c.text;
    EXPECT_EQ(parsed.credentials.domain, c.domain) << c.text;
  }
  EXPECT_EQ(ParseCredentials("username=a\npassword: x\n").error,
            "line 2: expected \"key = value\"");
  EXPECT_STREQ(ParseCredentials("username=a\npassword = s3 cr=t\n").credentials.password.reveal(),
               "s3 cr=t");
}

template <typename T>
constexpr bool kPrintable = requires(std::ostream& out, const T& value) {
  out << value;
};

// A password has one owner: moved, never copied, and not printable.
TEST(Credentials, PasswordIsMovedNeverCopiedOrPrinted) {
  static_assert(!std::is_copy_constructible_v<Secret> && !std::is_copy_assignable_v<Secret>);
  static_assert(!std::is_convertible_v<Secret, std::string_view>);
  static_assert(!kPrintable<Secret> && kPrintable<std::string>);
  Secret first("s3 cr=t");
  Secret second(std::move(first));
  EXPECT_TRUE(first.empty());
  EXPECT_STREQ(first.reveal(), "");
  EXPECT_STREQ(second.reveal(), "s3 cr=t");
  second = Secret("new");
  EXPECT_EQ(second.size(), 3u);
  std::string text = "password = a password longer than any short-string buffer";
  WipeText(text);
  EXPECT_TRUE(text.empty());
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
  EXPECT_STREQ(read.credentials.password.reveal(), "secret");

  read = ReadCredentialsFile(dir.path());
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.error, "credentials file '" + dir.path() + "': not a regular file");

  read = ReadCredentialsFile(dir.File("missing"));
  EXPECT_EQ(read.error,
            "credentials file '" + dir.File("missing") + "': No such file or directory");

  // A link, even to a good file: the mode and owner checked must be the
  // file's own, not those of a link anyone could point elsewhere.
  ASSERT_EQ(::symlink(path.c_str(), dir.File("link").c_str()), 0);
  read = ReadCredentialsFile(dir.File("link"));
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.error, "credentials file '" + dir.File("link") +
                            "': a symbolic link, which is not accepted: the owner and "
                            "permissions that protect the password must be those of the file "
                            "itself, so name the file the link points to");
}

}  // namespace
}  // namespace tabulon::platform

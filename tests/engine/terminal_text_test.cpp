#include "engine/terminal_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/message_sink.h"

namespace tabulon {
namespace {

TEST(TerminalText, ControlCharactersAreEscaped) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"FS01", "FS01"},
      {"FS\x1b[2J\r\n", "FS\\x1B[2J\\x0D\\x0A"},
      {"a\x7f"
       "b",
       "a\\x7Fb"},
      {"CSI \xc2\x9b"
       "2J",
       "CSI \\x9B2J"},                                   // U+009B
      {"caf\xc3\xa9 \xc2\xa0", "caf\xc3\xa9 \xc2\xa0"},  // letters and NBSP stay
  };
  for (const Case& c : cases) EXPECT_EQ(EscapeControls(c.in), c.out) << c.in;
}

TEST(TerminalText, FailureRowsAreOneEscapedLineEach) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  StreamMessages messages(file);
  messages.ShowFailureRow("FS\x1b[2J", "Unable to access service A.\nAccess was denied.");
  std::rewind(file);
  char buffer[256] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  EXPECT_EQ(std::string(buffer, n),
            "tabulon: FS\\x1B[2J: Unable to access service A.\\x0AAccess was denied.\n");
}

}  // namespace
}  // namespace tabulon

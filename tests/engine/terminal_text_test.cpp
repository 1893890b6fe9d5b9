#include "engine/terminal_text.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace tabulon

#pragma once
// Text is UTF-8 inside the program. These helpers convert at the edges
// (8-bit and UTF-16LE files) and give the case-insensitive comparisons that
// Windows names and keys need.
#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon::text {

bool IsValidUtf8(std::string_view s);

// Reads one code point at `pos` and advances it; malformed input yields
// U+FFFD and skips one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);

std::string Latin1ToUtf8(std::string_view bytes);
// 8-bit bytes as the system code page would read them: UTF-8 when the bytes
// are valid UTF-8, otherwise Latin-1.
std::string EightBitToUtf8(std::string_view bytes);
std::string Utf16LeToUtf8(std::string_view bytes);
std::string Utf8ToUtf16Le(std::string_view s);

inline constexpr char kUnmappableEightBit = '?';
// U+0000-U+00FF become one byte each; any other character becomes '?'.
std::string Utf8ToLatin1(std::string_view s);

std::size_t CountCodePoints(std::string_view s);
// Keeps at most `max_chars` code points.
std::string TruncateCodePoints(std::string_view s, std::size_t max_chars);

char32_t FoldCase(char32_t cp);
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
bool EndsWithNoCase(std::string_view s, std::string_view suffix);

// White space as the C runtime's isspace sees it in the C locale.
bool IsSpace(char c);
std::string_view TrimRight(std::string_view s);
std::string_view TrimLeft(std::string_view s);
std::string_view Trim(std::string_view s);

// Leading-decimal parsing: optional white space, optional sign, digits up to
// the first non-digit; no digits gives 0. Saturates instead of overflowing.
long long ParseLeadingInteger(std::string_view s);

}  // namespace tabulon::text

#include "platform/text.h"

#include <limits>

namespace tabulon::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

char32_t ToUpperCp(char32_t cp) {
  if (cp >= 'a' && cp <= 'z') return cp - 32;
  if ((cp >= 0xE0 && cp <= 0xFE && cp != 0xF7)) return cp - 32;
  if (cp == 0xFF) return 0x178;
  if (cp >= 0x100 && cp <= 0x17F && cp != 0x130 && cp != 0x131 && cp != 0x138 && cp != 0x149) {
    // Latin Extended-A pairs: upper case on the even (or odd) member.
    const bool odd_upper = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
    if (odd_upper) return (cp % 2 == 0) ? cp - 1 : cp;
    return (cp % 2 == 1) ? cp - 1 : cp;
  }
  if (cp >= 0x3B1 && cp <= 0x3C9 && cp != 0x3C2) return cp - 32;  // Greek
  if (cp >= 0x430 && cp <= 0x44F) return cp - 32;                 // Cyrillic
  if (cp >= 0x450 && cp <= 0x45F) return cp - 80;
  return cp;
}

char32_t ToLowerCp(char32_t cp) {
  if (cp >= 'A' && cp <= 'Z') return cp + 32;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
  if (cp == 0x178) return 0xFF;
  if (cp >= 0x100 && cp <= 0x17F && cp != 0x130 && cp != 0x131 && cp != 0x138 && cp != 0x149) {
    const bool odd_upper = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
    if (odd_upper) return (cp % 2 == 1) ? cp + 1 : cp;
    return (cp % 2 == 0) ? cp + 1 : cp;
  }
  if (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) return cp + 32;
  if (cp >= 0x410 && cp <= 0x42F) return cp + 32;
  if (cp >= 0x400 && cp <= 0x40F) return cp + 80;
  return cp;
}

template <typename F>
std::string MapCodePoints(std::string_view s, F map) {
  std::string out;
  out.reserve(s.size());
  std::size_t pos = 0;
  while (pos < s.size()) {
    const auto c = static_cast<unsigned char>(s[pos]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(map(c)));
      ++pos;
      continue;
    }
    AppendUtf8(out, map(NextCodePoint(s, pos)));
  }
  return out;
}

}  // namespace

char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  if (b0 < 0x80) {
    ++pos;
    return b0;
  }
  int extra = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    cp = b0 & 0x1F;
    min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    cp = b0 & 0x0F;
    min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    cp = b0 & 0x07;
    min = 0x10000;
  } else {
    ++pos;
    return kReplacement;
  }
  if (pos + static_cast<std::size_t>(extra) >= s.size()) {
    ++pos;
    return kReplacement;
  }
  for (int i = 1; i <= extra; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + static_cast<std::size_t>(i)]);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kReplacement;
  }
  pos += static_cast<std::size_t>(extra) + 1;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool IsValidUtf8(std::string_view s) {
  std::size_t pos = 0;
  while (pos < s.size()) {
    const auto b = static_cast<unsigned char>(s[pos]);
    if (b < 0x80) {
      ++pos;
      continue;
    }
    const std::size_t before = pos;
    const char32_t cp = NextCodePoint(s, pos);
    if (cp == kReplacement && pos == before + 1) return false;
  }
  return true;
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

std::string EightBitToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Latin1ToUtf8(bytes);
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() / 2);
  const std::size_t units = bytes.size() / 2;
  auto unit = [&](std::size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  };
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      const char16_t low = unit(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

std::string Utf8ToUtf16Le(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  auto put = [&](char32_t u) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>((u >> 8) & 0xFF));
  };
  std::size_t pos = 0;
  while (pos < s.size()) {
    const char32_t cp = NextCodePoint(s, pos);
    if (cp >= 0x10000) {
      const char32_t v = cp - 0x10000;
      put(0xD800 + (v >> 10));
      put(0xDC00 + (v & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t pos = 0;
  while (pos < s.size()) {
    const char32_t cp = NextCodePoint(s, pos);
    out.push_back(cp <= 0xFF ? static_cast<char>(cp) : kUnmappableEightBit);
  }
  return out;
}

std::size_t CountCodePoints(std::string_view s) {
  std::size_t n = 0;
  std::size_t pos = 0;
  while (pos < s.size()) {
    NextCodePoint(s, pos);
    ++n;
  }
  return n;
}

std::string TruncateCodePoints(std::string_view s, std::size_t max_chars) {
  if (s.size() <= max_chars) return std::string(s);
  std::size_t pos = 0;
  for (std::size_t n = 0; n < max_chars && pos < s.size(); ++n) NextCodePoint(s, pos);
  return std::string(s.substr(0, pos));
}

char32_t FoldCase(char32_t cp) {
  return ToLowerCp(cp);
}

std::string ToUpper(std::string_view s) {
  return MapCodePoints(s, ToUpperCp);
}
std::string ToLower(std::string_view s) {
  return MapCodePoints(s, ToLowerCp);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[j]);
    if (ca < 0x80 && cb < 0x80) {
      if (ca != cb && (ca | 0x20) != (cb | 0x20)) return false;
      if (ca != cb && ((ca | 0x20) < 'a' || (ca | 0x20) > 'z')) return false;
      ++i;
      ++j;
      continue;
    }
    if (ToLowerCp(NextCodePoint(a, i)) != ToLowerCp(NextCodePoint(b, j))) return false;
  }
  return i == a.size() && j == b.size();
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  const std::size_t n = CountCodePoints(prefix);
  const std::string head = TruncateCodePoints(s, n);
  return CountCodePoints(head) == n && EqualsNoCase(head, prefix);
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  const std::size_t n = CountCodePoints(suffix);
  const std::size_t total = CountCodePoints(s);
  if (n > total) return false;
  std::size_t pos = 0;
  for (std::size_t k = 0; k < total - n; ++k) NextCodePoint(s, pos);
  return EqualsNoCase(s.substr(pos), suffix);
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view Trim(std::string_view s) {
  return TrimRight(TrimLeft(s));
}

long long ParseLeadingInteger(std::string_view s) {
  s = TrimLeft(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  constexpr long long kMax = std::numeric_limits<long long>::max();
  long long value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    const int digit = c - '0';
    if (value > (kMax - digit) / 10) {
      value = kMax;
    } else {
      value = value * 10 + digit;
    }
  }
  return negative ? -value : value;
}

}  // namespace tabulon::text

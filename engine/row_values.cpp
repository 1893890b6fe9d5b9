#include "engine/row_values.h"

#include <algorithm>
#include <cstring>

#include "platform/text.h"

namespace tabulon {
namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::uint64_t kLow = 0x7F7F7F7F7F7F7F7FULL;

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// Where the character that ends at `end` starts.
std::size_t LastCharacterStart(std::string_view text, std::size_t end) {
  std::size_t at = end - 1;
  while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
  return at;
}

std::size_t FirstCharacterLength(std::string_view text) {
  std::size_t length = 1;
  while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
    ++length;
  }
  return length;
}

// True when `a` and `b` agree on their common length.
bool Agree(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  return a.substr(0, n) == b.substr(0, n);
}

bool AgreeAtEnd(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  return a.substr(a.size() - n) == b.substr(b.size() - n);
}

}  // namespace

RowValueRules::RowValueRules(const OutputSettings& settings)
    : keep_rows_whole_(settings.keep_rows_whole),
      spreadsheet_safe_(settings.spreadsheet_safe),
      delimiter_(settings.delimiter),
      crlf_replacement_(settings.crlf_replacement),
      line_terminator_(settings.line_terminator) {
  if (!crlf_replacement_.empty()) {
    std::size_t end = 0;
    text::NextCodePoint(crlf_replacement_, end);
    line_break_ = crlf_replacement_.substr(0, end);
  }
  if (!delimiter_.empty()) separators_.push_back(delimiter_);
  // A terminator with a line break cannot occur in a value whose line
  // breaks are replaced.
  if (!line_terminator_.empty() && !HasLineBreak(line_terminator_) &&
      line_terminator_ != delimiter_) {
    separators_.push_back(line_terminator_);
  }
  for (const char candidate : {' ', '_', '?', '#'}) {
    blank_ = candidate;
    if (std::none_of(separators_.begin(), separators_.end(), [candidate](const std::string& s) {
          return s.find(candidate) != std::string::npos;
        })) {
      break;
    }
  }
  // Line breaks and TABs are control characters, which every byte is
  // checked for; a separator that starts otherwise is looked for as well.
  separator_firsts_.fill(kOnes * '\t');
  for (std::size_t i = 0; i < separators_.size(); ++i) {
    const auto first = static_cast<unsigned char>(separators_[i].front());
    separator_firsts_[i] = kOnes * first;
    if (first >= 0x20) printable_separator_ = true;
  }
  delimiter_watched_ = WatchedBytes(delimiter_);
  WatchFirstBytes();
  for (std::size_t b = 0; b < first_bytes_.size(); ++b) {
    first_bytes_[b] = (keep_rows_whole_ && watched_first_[b]) ||
                      (spreadsheet_safe_ && StartsLikeFormula(static_cast<char>(b)));
    if (first_bytes_[b]) check_first_bytes_ = true;
  }
}

namespace {

// Bit 7 of exactly the bytes of `w` that are no control character (line
// breaks and TABs are) and, with `Separators`, differ from the byte repeated
// in each of `firsts`. No carry crosses a byte, so the bits can be counted;
// the bytes found are the rest.
template <bool Separators>
std::uint64_t Misses(std::uint64_t w, const std::array<std::uint64_t, 2>& firsts) {
  std::uint64_t misses = (((w & kLow) + kOnes * 0x60) | w) & kHighBits;
  if constexpr (Separators) {
    for (const std::uint64_t first : firsts) {
      const std::uint64_t x = w ^ first;
      misses &= ((x & kLow) + kLow) | x;
    }
  }
  return misses;
}

// The bytes of `text` that are control characters or, with `Separators`,
// the first byte of a separator.
template <bool Separators>
std::size_t CountHits(std::string_view text, const std::array<std::uint64_t, 2>& firsts) {
  const char* in = text.data();
  std::size_t n = text.size();
  std::size_t hits = 0;
  // Blocks of a fixed size, one byte at a time: a loop that compilers turn
  // into vector instructions.
  constexpr std::size_t kBlock = 64;
  const auto first0 = static_cast<unsigned char>(firsts[0]);
  const auto first1 = static_cast<unsigned char>(firsts[1]);
  for (; n >= kBlock; in += kBlock, n -= kBlock) {
    unsigned char block_hits = 0;
    for (std::size_t i = 0; i < kBlock; ++i) {
      const auto c = static_cast<unsigned char>(in[i]);
      bool hit = c < 0x20;
      if constexpr (Separators) hit = hit || c == first0 || c == first1;
      block_hits = static_cast<unsigned char>(block_hits + (hit ? 1 : 0));
    }
    hits += block_hits;
  }
  if (n == 0) return hits;
  // The rest, eight bytes at a time.
  const auto lanes_total = [](std::uint64_t lanes) {
    return static_cast<std::size_t>(((lanes >> 7) * kOnes) >> 56);
  };
  if (text.size() < 8) {
    // After bytes that are never found: no separator starts with a UTF-8
    // continuation byte.
    std::uint64_t w = kOnes * 0x80;
    std::memcpy(&w, in, n);
    return 8 - lanes_total(Misses<Separators>(w, firsts));
  }
  std::size_t misses = 0;
  const std::size_t rest = n;
  for (; n >= 8; in += 8, n -= 8) {
    std::uint64_t w;
    std::memcpy(&w, in, 8);
    misses += lanes_total(Misses<Separators>(w, firsts));
  }
  if (n > 0) {
    // The last eight bytes, without those counted already.
    std::uint64_t w;
    std::memcpy(&w, in + n - 8, 8);
    misses += lanes_total(Misses<Separators>(w, firsts) & (~std::uint64_t{0} << (8 * (8 - n))));
  }
  return hits + rest - misses;
}

}  // namespace

std::size_t RowValueRules::WatchedBytes(std::string_view text) const {
  return printable_separator_ ? CountHits<true>(text, separator_firsts_)
                              : CountHits<false>(text, separator_firsts_);
}

bool RowValueRules::NeedsWork(std::string_view value) const {
  if (value.empty()) return false;
  if (spreadsheet_safe_ && StartsLikeFormula(value[0])) return true;
  return keep_rows_whole_ &&
         (watched_first_[static_cast<unsigned char>(value[0])] || WatchedBytes(value) > 0);
}

void RowValueRules::AppendValue(std::string& row, std::string_view value) const {
  if (NeedsWork(value)) {
    AppendChanged(row, value, spreadsheet_safe_);
  } else {
    row += value;
  }
}

void RowValueRules::AppendLogField(std::string& line, std::string_view value) const {
  if (keep_rows_whole_ && !value.empty() &&
      (watched_first_[static_cast<unsigned char>(value[0])] || WatchedBytes(value) > 0)) {
    AppendChanged(line, value, false);
  } else {
    line += value;
  }
}

void RowValueRules::WatchFirstBytes() {
  for (const std::string& y : separators_) {
    for (std::size_t m = 1; m < y.size(); ++m) {
      const bool begun_before =
          std::any_of(separators_.begin(), separators_.end(), [&](const std::string& x) {
            return x != y && AgreeAtEnd(x, std::string_view(y).substr(0, m));
          });
      if (begun_before) watched_first_[static_cast<unsigned char>(y[m])] = true;
    }
    if (y == delimiter_) continue;
    for (std::size_t k = 1; k + 1 < y.size(); ++k) {
      watched_first_[static_cast<unsigned char>(y[k])] = true;
    }
  }
}

std::string RowValueRules::Whole(std::string_view value) const {
  std::string out;
  out.reserve(value.size());
  for (const char c : value) {
    if (c == '\r' || c == '\n') {
      out += line_break_;
    } else if (c == '\t') {
      out += blank_;
    } else {
      out += c;
    }
  }
  // Each separator left becomes one blank. The blank is in no separator, so
  // no new one can form around it.
  for (const std::string& separator : separators_) {
    std::size_t at = out.find(separator);
    if (at == std::string::npos) continue;
    std::string replaced;
    replaced.reserve(out.size());
    std::size_t from = 0;
    for (; at != std::string::npos; at = out.find(separator, from)) {
      replaced.append(out, from, at - from);
      replaced += blank_;
      from = at + separator.size();
    }
    replaced.append(out, from);
    out = std::move(replaced);
  }
  return out;
}

void RowValueRules::GuardEdges(std::string& value) const {
  if (value.empty()) return;
  bool blank_last = false;
  bool blank_first = false;
  for (const std::string& y : separators_) {
    for (std::size_t m = 1; m < y.size(); ++m) {
      // A separator that starts in the value's last characters and goes on
      // into the separator after it.
      if (!blank_last && value.ends_with(std::string_view(y).substr(0, m))) {
        blank_last = std::any_of(separators_.begin(), separators_.end(), [&](const auto& x) {
          return Agree(std::string_view(y).substr(m), x);
        });
      }
      // One that starts in the separator before the value and ends in its
      // first characters; a reader that splits at that same separator has
      // already taken the one before.
      if (!blank_first && value.starts_with(std::string_view(y).substr(m))) {
        blank_first = std::any_of(separators_.begin(), separators_.end(), [&](const auto& x) {
          return x != y && AgreeAtEnd(x, std::string_view(y).substr(0, m));
        });
      }
    }
    // A terminator that holds the whole value between the delimiters around
    // it (the delimiter itself is found at the earlier one first).
    if (y != delimiter_) {
      const std::size_t inside = y.find(value, 1);
      if (inside != std::string::npos && inside + value.size() < y.size()) blank_first = true;
    }
  }
  if (blank_last) {
    const std::size_t at = LastCharacterStart(value, value.size());
    value.replace(at, value.size() - at, 1, blank_);
  }
  if (blank_first && !value.empty()) value.replace(0, FirstCharacterLength(value), 1, blank_);
}

void RowValueRules::AppendChanged(std::string& row, std::string_view value,
                                  bool spreadsheet_safe) const {
  std::string changed = keep_rows_whole_ ? Whole(value) : std::string(value);
  if (spreadsheet_safe && !changed.empty() && StartsLikeFormula(changed[0]) &&
      !IsPlainNumber(changed)) {
    changed.insert(changed.begin(), '\'');
  }
  if (keep_rows_whole_ && !separators_.empty()) {
    const bool long_separator = std::any_of(separators_.begin(), separators_.end(),
                                            [](const std::string& s) { return s.size() > 1; });
    if (long_separator) GuardEdges(changed);
    // An apostrophe that is itself a separator.
    if (changed.starts_with('\'') &&
        std::find(separators_.begin(), separators_.end(), "'") != separators_.end()) {
      changed[0] = blank_;
    }
  }
  row += changed;
}

bool RowValueRules::IsPlainNumber(std::string_view value) {
  std::size_t at = 0;
  if (at < value.size() && (value[at] == '-' || value[at] == '+')) ++at;
  bool digits = false;
  for (; at < value.size(); ++at) {
    const char c = value[at];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c != '.' && c != ',') {
      break;
    }
  }
  if (!digits) return false;
  if (at < value.size() && (value[at] == 'e' || value[at] == 'E')) {
    ++at;
    if (at < value.size() && (value[at] == '-' || value[at] == '+')) ++at;
    const std::size_t exponent = at;
    while (at < value.size() && value[at] >= '0' && value[at] <= '9') ++at;
    if (at == exponent) return false;
  }
  return at == value.size();
}

}  // namespace tabulon

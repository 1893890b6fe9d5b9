#include "estate/ldif_reader.h"

#include <optional>

#include "estate/base64.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

// One logical line: folded continuations joined, with the number of its
// first physical line.
struct LogicalLine {
  std::string text;
  std::size_t number = 0;
};

class LdifParser {
 public:
  LdifParser(std::string_view text, std::string_view origin) : text_(text), origin_(origin) {}

  LdifResult Run() {
    LdifResult result;
    std::vector<LogicalLine> record;
    LogicalLine line;
    bool first_record = true;
    while (NextLine(line)) {
      if (!line.text.empty()) {
        record.push_back(std::move(line));
        continue;
      }
      if (!record.empty() && !TakeRecord(record, first_record, result)) return Failed(result);
      record.clear();
    }
    if (!error_.empty()) return Failed(result);
    if (!record.empty() && !TakeRecord(record, first_record, result)) return Failed(result);
    result.ok = true;
    return result;
  }

 private:
  LdifResult& Failed(LdifResult& result) {
    result.ok = false;
    result.entries.clear();
    result.error = error_;
    return result;
  }

  bool Fail(std::size_t line, std::string_view why) {
    error_ = std::string(origin_) + ":" + std::to_string(line) + ": " + std::string(why);
    return false;
  }

  // The next logical line; comments are dropped with their continuations and
  // an empty text marks a record separator. False at the end or on error.
  bool NextLine(LogicalLine& out) {
    out = {};
    while (pos_ < text_.size()) {
      const std::size_t number = ++physical_;
      std::string_view raw = Physical();
      if (raw.starts_with('#')) {
        SkipContinuations();
        continue;
      }
      if (raw.starts_with(' ')) return Fail(number, "a continuation line follows no line");
      out.number = number;
      out.text.assign(raw);
      while (pos_ < text_.size() && text_[pos_] == ' ') {
        ++physical_;
        out.text.append(Physical().substr(1));
        if (out.text.size() > 2 * kMaxLdifValueBytes) return Fail(number, "the line is too long");
      }
      return true;
    }
    return false;
  }

  std::string_view Physical() {
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end < text_.size() ? end + 1 : end;
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
  }

  void SkipContinuations() {
    while (pos_ < text_.size() && text_[pos_] == ' ') {
      ++physical_;
      Physical();
    }
  }

  struct AttrVal {
    std::string name;
    std::string value;
  };

  std::optional<AttrVal> Split(const LogicalLine& line) {
    const std::size_t colon = line.text.find(':');
    if (colon == std::string::npos || colon == 0) {
      Fail(line.number, "expected 'name: value'");
      return std::nullopt;
    }
    AttrVal out{line.text.substr(0, colon), {}};
    for (const char c : out.name) {
      const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == ';' || c == '.';
      if (!ok) {
        Fail(line.number, "'" + out.name + "' is not an attribute description");
        return std::nullopt;
      }
    }
    std::string_view rest = std::string_view(line.text).substr(colon + 1);
    if (rest.starts_with('<')) {
      Fail(line.number, "values by URL (':<') are not read");
      return std::nullopt;
    }
    const bool base64 = rest.starts_with(':');
    if (base64) rest.remove_prefix(1);
    while (rest.starts_with(' ')) rest.remove_prefix(1);
    if (base64) {
      std::optional<std::string> decoded = DecodeBase64(rest);
      if (!decoded) {
        Fail(line.number, "the base64 value of '" + out.name + "' is not valid");
        return std::nullopt;
      }
      out.value = std::move(*decoded);
    } else {
      out.value.assign(rest);
    }
    if (out.value.size() > kMaxLdifValueBytes) {
      Fail(line.number, "the value of '" + out.name + "' is too large");
      return std::nullopt;
    }
    return out;
  }

  bool TakeRecord(const std::vector<LogicalLine>& lines, bool& first_record, LdifResult& result) {
    std::size_t i = 0;
    if (first_record) {
      first_record = false;
      if (text::StartsWithNoCase(lines[0].text, "version:")) {
        if (text::Trim(std::string_view(lines[0].text).substr(8)) != "1") {
          return Fail(lines[0].number, "only LDIF version 1 is read");
        }
        if (++i == lines.size()) return true;
      }
    }
    std::optional<AttrVal> dn = Split(lines[i]);
    if (!dn) return false;
    if (!text::EqualsNoCase(dn->name, "dn")) {
      return Fail(lines[i].number, "a record must start with 'dn:'");
    }
    if (result.entries.size() == kMaxLdifEntries) {
      return Fail(lines[i].number, "the file holds too many entries");
    }
    platform::DirectoryEntry entry;
    entry.dn = std::move(dn->value);
    for (++i; i < lines.size(); ++i) {
      std::optional<AttrVal> attr = Split(lines[i]);
      if (!attr) return false;
      if (text::EqualsNoCase(attr->name, "changetype") ||
          text::EqualsNoCase(attr->name, "control")) {
        return Fail(lines[i].number, "change records are not read: the estate is a snapshot");
      }
      if (text::EqualsNoCase(attr->name, "dn")) {
        return Fail(lines[i].number, "a blank line must separate records");
      }
      platform::DirectoryAttribute* target = nullptr;
      for (platform::DirectoryAttribute& existing : entry.attributes) {
        if (text::EqualsNoCase(existing.name, attr->name)) target = &existing;
      }
      if (target == nullptr) {
        target = &entry.attributes.emplace_back();
        target->name = std::move(attr->name);
      }
      target->values.push_back(std::move(attr->value));
    }
    result.entries.push_back(std::move(entry));
    return true;
  }

  std::string_view text_;
  std::string_view origin_;
  std::size_t pos_ = 0;
  std::size_t physical_ = 0;
  std::string error_;
};

}  // namespace

LdifResult ParseLdif(std::string_view text, std::string_view origin) {
  return LdifParser(text, origin).Run();
}

}  // namespace tabulon::estate

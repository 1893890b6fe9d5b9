#include "engine/symbols.h"

#include "engine/catalogue.h"
#include "platform/text.h"

namespace tabulon {
namespace {

enum Symbol : std::uint32_t {
  kKeyName = 0,
  kKeyPath = 1,
  kObjectPath = 2,
  kObjectName = 3,
  kObjectComment = 4,
  kObjectType = 5,
  kObjectDomain = 6,
  kTemplateName = 7,
  kLastKeyWriteTime = 10,
  kComputerVersionMajor = 12,
  kComputerVersionMinor = 13,
  kComputerType = 14,
  kExportDateTime = 15,
  kSidName = 16,
};

std::string ComputerTypeNames(std::uint32_t bits, std::string_view delimiter) {
  std::string out;
  for (const ComputerTypeRow& row : ComputerTypes()) {
    if ((bits & row.bit) == 0) continue;
    if (!out.empty()) out += delimiter;
    out += row.type_name;
  }
  return out;
}

std::string SidName(const SymbolContext& c) {
  std::string_view path = c.key_path;
  while (true) {
    const std::size_t slash = path.find('\\');
    const std::string_view part = path.substr(0, slash);
    if (part.substr(0, 2) == "S-") {
      std::string text(part);
      if (c.sid_to_account) c.sid_to_account(c.target ? c.target->path : std::string(), text);
      return text;
    }
    if (slash == std::string_view::npos) return {};
    path.remove_prefix(slash + 1);
  }
}

}  // namespace

std::string EvaluateSymbol(std::string_view symbol, const SymbolContext& c) {
  std::uint32_t n = 0;
  for (; n < kExportSymbolCount; ++n) {
    if (text::EqualsNoCase(SymbolAt(n)->symbol, symbol)) break;
  }
  return EvaluateSymbolAt(n, c);
}

std::string EvaluateSymbolAt(std::uint32_t n, const SymbolContext& c) {
  static const tagCObjects kNoTarget{};
  const tagCObjects& t = c.target != nullptr ? *c.target : kNoTarget;
  switch (n) {
    case kKeyPath:
      return std::string(c.key_path);
    case kKeyName: {
      const std::size_t slash = c.key_path.rfind('\\');
      return slash == std::string_view::npos ? std::string()
                                             : std::string(c.key_path.substr(slash + 1));
    }
    case kObjectPath:
      return t.path;
    case kObjectName:
      return t.display_name;
    case kObjectComment:
      return t.comment;
    case kObjectType:
      return std::to_string(t.type);
    case kObjectDomain:
      return t.domain;
    case kTemplateName:
      return std::string(c.template_name);
    case kLastKeyWriteTime:
      return std::string(c.last_write_time);
    case kComputerVersionMajor:
      return std::to_string(t.major_version);
    case kComputerVersionMinor:
      return std::to_string(t.minor_version);
    case kComputerType:
      return ComputerTypeNames(t.server_type, c.secondary_delimiter);
    case kExportDateTime:
      return std::string(c.export_date_time);
    case kSidName:
      return SidName(c);
    default:
      return {};
  }
}

}  // namespace tabulon

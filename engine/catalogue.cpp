#include "engine/catalogue.h"

#include "engine/catalogue_data.h"
#include "platform/text.h"

namespace tabulon {
namespace {

// Local users offer their 19 terminal-server columns without selecting them.
constexpr std::uint32_t kUsersUnselectedColumns = 19;

constexpr ExportTypeDescriptor kNoTypeDescriptor{0, "", "", false, 0, 0, "", "", "", 0, "", "", ""};

constexpr ExportType kOpenOrder[kExportTypeCount] = {
    kSecurity,  kServices,    kTasks,        kTasksNew,  kComputers, kPrinters,
    kDirectory, kRegistry,    kWmi,          kFiles,     kShares,    kShareConnections,
    kSessions,  kTseSessions, kTseProcesses, kOpenFiles, kGroups,    kGroupMembers,
    kUsers,     kUserGroups,  kNetwork,      kProtocols, kRights,    kPolicies,
    kLoggedOn,  kDrives,
};

}  // namespace

std::span<const ExportType, kExportTypeCount> OutputOpenOrder() {
  return kOpenOrder;
}

std::span<const ExportTypeDescriptor, kExportTypeCount> ExportTypes() {
  return catalogue_data::kExportTypes;
}
std::span<const FieldDescriptor, kFieldCatalogueSize> FieldCatalogue() {
  return catalogue_data::kFieldCatalogue;
}
std::span<const ExportSymbol, kExportSymbolCount> ExportSymbols() {
  return catalogue_data::kExportSymbols;
}
std::span<const ComputerTypeRow, kComputerTypeCount> ComputerTypes() {
  return catalogue_data::kComputerTypes;
}

const ExportTypeDescriptor& ExportTypeInfo(std::uint32_t type) {
  if (type >= kExportTypeCount) return kNoTypeDescriptor;
  return catalogue_data::kExportTypes[type];
}

const FieldDescriptor* FieldOf(std::uint32_t type, std::uint32_t column) {
  const ExportTypeDescriptor& t = ExportTypeInfo(type);
  if (column >= t.field_count) return nullptr;
  return &catalogue_data::kFieldCatalogue[catalogue_data::kFirstCatalogueRow[type] + column];
}

std::string DefaultColumnList(std::uint32_t type) {
  std::uint32_t n = ExportTypeInfo(type).field_count;
  if (type == kUsers) n -= kUsersUnselectedColumns;
  std::string list = "1002";
  for (std::uint32_t c = 0; c < n; ++c) list += "," + std::to_string(c);
  return list;
}

bool IsSymbol(std::string_view text) {
  return !text.empty() && text.front() == '%' && text.back() == '%';
}

std::string SymbolTitle(std::string_view text) {
  for (const ExportSymbol& s : catalogue_data::kExportSymbols) {
    if (text::EqualsNoCase(s.symbol, text)) return std::string(s.name);
  }
  while (!text.empty() && text.front() == '%') text.remove_prefix(1);
  while (!text.empty() && text.back() == '%') text.remove_suffix(1);
  return std::string(text);
}

const ExportSymbol* SymbolAt(std::uint32_t n) {
  if (n >= kExportSymbolCount) return nullptr;
  return &catalogue_data::kExportSymbols[n];
}

}  // namespace tabulon

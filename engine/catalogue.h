#pragma once
// The static vocabulary of every export: the export type table, the field
// catalogue, the export symbol table and the computer type table. All four
// are constant data compiled into the program.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tabulon {

inline constexpr std::uint32_t kExportTypeCount = 26;
inline constexpr std::uint32_t kFieldCatalogueSize = 310;
inline constexpr std::uint32_t kExportSymbolCount = 17;
inline constexpr std::uint32_t kComputerTypeCount = 25;
// Placeholder type where a list needs an entry that is no export type; also
// the type index recorded for the log file.
inline constexpr std::uint32_t kNoExportType = 99;
inline constexpr std::uint32_t kSymbolColumnBase = 1000;

enum ExportType : std::uint32_t {
  kServices = 0,
  kComputers = 1,
  kShares = 2,
  kRegistry = 3,
  kDrives = 4,
  kNetwork = 5,
  kProtocols = 6,
  kPrinters = 7,
  kGroups = 8,
  kGroupMembers = 9,
  kUsers = 10,
  kUserGroups = 11,
  kTasks = 12,
  kRights = 13,
  kSecurity = 14,
  kWmi = 15,
  kFiles = 16,
  kDirectory = 17,
  kPolicies = 18,
  kLoggedOn = 19,
  kSessions = 20,
  kOpenFiles = 21,
  kTseSessions = 22,
  kTseProcesses = 23,
  kShareConnections = 24,
  kTasksNew = 25,
};

struct ExportTypeDescriptor {
  std::uint32_t field_count;  // the type's block of the field catalogue
  std::string_view display_name;
  std::string_view log_name;
  bool has_columns;
  std::uint32_t image_index;
  std::uint32_t page_index;
  std::string_view section;  // empty for template types
  std::string_view enable_key;
  std::string_view settings_label;
  std::uint32_t group;  // 1: own configuration page; 2: other-exports list
  std::string_view output_file_key;
  std::string_view default_file_name;
  std::string_view columns_key;  // configuration key of the column list
};

struct FieldDescriptor {
  std::string_view key;    // shown in title rows
  std::string_view title;  // shown when choosing columns
};

struct ExportSymbol {
  std::string_view symbol;  // "%OBJECT_PATH%"
  std::string_view name;    // title-row name, "Object_Path"
  std::string_view description;
  bool registry_only;
};

struct ComputerTypeRow {
  std::uint32_t bit;
  std::string_view type_name;  // "WORKSTATION"
  std::string_view field_key;  // Computers export field 4 + row
};

std::span<const ExportTypeDescriptor, kExportTypeCount> ExportTypes();
std::span<const FieldDescriptor, kFieldCatalogueSize> FieldCatalogue();
std::span<const ExportSymbol, kExportSymbolCount> ExportSymbols();
std::span<const ComputerTypeRow, kComputerTypeCount> ComputerTypes();

// The order in which a run opens the output files of the export types, every
// type once; template types stand for all templates of their kind.
std::span<const ExportType, kExportTypeCount> OutputOpenOrder();

// Descriptor of type 0-25; the placeholder type 99 and any other number give
// an empty descriptor whose page index is 0.
const ExportTypeDescriptor& ExportTypeInfo(std::uint32_t type);
// Field of column `column` of `type`; null when the type has no such column.
const FieldDescriptor* FieldOf(std::uint32_t type, std::uint32_t column);
// "1002" and the type's columns; local users stop at column 24.
std::string DefaultColumnList(std::uint32_t type);

// True when the first and the last character are both '%'.
bool IsSymbol(std::string_view text);
// Title-row name of a symbol: the table's name, else the text without its
// leading and trailing '%'.
std::string SymbolTitle(std::string_view text);
// Symbol n of the table; null when n is out of range.
const ExportSymbol* SymbolAt(std::uint32_t n);

}  // namespace tabulon

#include "exporters/templates/wmi/wmi_query_text.h"

#include "engine/catalogue.h"

namespace tabulon {

std::string BuildWmiQuery(const std::vector<std::string>& columns, std::string_view object_class,
                          std::string_view where) {
  std::string query = "SELECT ";
  bool first = true;
  for (const std::string& column : columns) {
    if (IsSymbol(column)) continue;
    if (!first) query += ",";
    first = false;
    query += column;
  }
  query += " FROM ";
  query += object_class;
  if (!where.empty()) {
    query += " WHERE ";
    query += where;
  }
  return query;
}

std::string WmiComputerPart(std::string_view target_path) {
  return target_path.starts_with('\\') ? std::string(target_path)
                                       : "\\\\" + std::string(target_path);
}

std::string WmiNamespacePath(std::string_view target_path) {
  return WmiComputerPart(target_path) + "\\root\\CIMV2";
}

WmiStatusTexts WmiStatusTextsOf(win::Status status) {
  const std::uint32_t facility = (status >> 16) & 0x1FFF;
  const std::uint32_t code = status & 0xFFFF;
  WmiStatusTexts texts;
  // WMI's own results sit in the interface facility from 0x1000 on.
  if (facility == 4 && code >= 0x1000 && code < 0x5000) {
    texts.facility = "WMI";
  } else {
    static constexpr struct {
      std::uint32_t facility;
      std::string_view name;
    } kFacilities[] = {{0, "Null"}, {1, "RPC"},   {2, "Dispatch"}, {3, "Storage"},
                       {4, "ITF"},  {7, "Win32"}, {8, "Windows"}};
    for (const auto& known : kFacilities) {
      if (known.facility == facility) texts.facility = known.name;
    }
  }
  texts.error = WindowsErrorText(status);
  return texts;
}

}  // namespace tabulon

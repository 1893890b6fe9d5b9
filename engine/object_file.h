#pragma once
// The object file: one target per line, nine TAB-separated fields, UTF-16LE
// with FF FE as written, 8-bit text otherwise. Include files are read the
// same way, one name per line.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tabulon {

inline constexpr std::uint32_t kObjectWorkstation = 24;
inline constexpr std::uint32_t kObjectServer = 33;
inline constexpr std::uint32_t kObjectGrouping = 51;
inline constexpr std::uint32_t kObjectNtDomain = 99;
inline constexpr std::uint32_t kObjectDirectoryDomain = 101;
inline constexpr std::uint32_t kObjectDirectoryUser = 102;
inline constexpr std::uint32_t kObjectDirectoryObject = 104;
inline constexpr std::uint32_t kObjectDirectoryGroup = 110;
inline constexpr std::uint32_t kObjectDirectoryComputer = 112;
inline constexpr std::uint32_t kObjectContainer = 114;
inline constexpr std::uint32_t kObjectDirectoryContact = 123;
inline constexpr std::uint32_t kObjectDirectoryShare = 128;
inline constexpr std::uint32_t kObjectDirectoryPrinter = 129;
inline constexpr std::uint32_t kObjectPrinter = 9;
inline constexpr std::uint32_t kObjectComputerInclude = 52;
inline constexpr std::uint32_t kObjectDirectoryInclude = 54;
inline constexpr std::uint32_t kObjectDomainController = 31;
inline constexpr std::uint32_t kObjectBackupController = 32;

struct ObjectTypeName {
  std::uint32_t code;
  std::string_view name;
};
// The types the object editor offers, in its order.
std::span<const ObjectTypeName> EditableObjectTypes();

struct ObjectLine {
  std::uint32_t line_number = 0;
  std::uint32_t parent = 0;
  std::uint32_t type = 0;
  bool active = false;
  std::string display_name;
  std::string comment;
  std::string path;
};

// Calls `line` for every line of a text file: UTF-16LE after FF FE (lines of
// at most 4095 characters) or 8-bit (at most 2047 bytes); a longer line comes
// in pieces, as a fixed read buffer would give it. Trailing white space is
// removed. Returns the status of opening the file; one that opens but cannot
// be read (a directory) fails as well.
win::Status ForEachTextLine(const std::string& path,
                            const std::function<void(std::string_view line)>& line);

ObjectLine ParseObjectLine(std::string_view line);

// An object of the object list as the main window holds it: groupings carry
// their children.
struct ObjectListItem {
  std::uint32_t type = 0;
  bool active = true;
  std::string display_name;
  std::string comment;
  std::string path;
  std::vector<ObjectListItem> children;
};

// Writes FF FE and one line per object, groupings followed by their children.
// The previous file is kept as path + ".BACKUP".
win::Status WriteObjectFile(const std::string& path, const std::vector<ObjectListItem>& items);
// Reads the object file back into a tree (groupings with their children).
win::Status ReadObjectList(const std::string& path, std::vector<ObjectListItem>& items);

}  // namespace tabulon

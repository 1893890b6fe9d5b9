#pragma once
// Objects an import command brings into the object list: each is appended
// at the end of the top level, or under the last top-level object of the
// list when it is a child in the file it came from.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/object_file.h"

namespace tabulon::ui {

struct ImportedObject {
  ObjectListItem item;
  bool child_of_last_top_level = false;
};

// Lines of an imported file are read in pieces of at most this many bytes.
inline constexpr std::size_t kImportLineBytes = 1023;

// Calls `line` for every line of an 8-bit text file, trailing white space
// removed; a line longer than kImportLineBytes comes in pieces. The status
// of opening the file.
win::Status ForEachImportLine(const std::string& path,
                              const std::function<void(std::string_view line)>& line);

// A text list: one object per non-empty line, "name[TAB comment[TAB path]]",
// all of `type`, active, at the top level. An empty path is the name;
// "ldap://" becomes "LDAP://".
win::Status ReadTextObjectList(const std::string& path, std::uint32_t type,
                               std::vector<ImportedObject>& objects);

// One line of the sibling tool's object file, after its type was mapped.
struct QuollObjectLine {
  std::int32_t number = 0;  // field 1
  std::int32_t level = 0;   // field 2: 0 for a top-level object
  std::uint32_t type = 0;   // field 3, mapped to this program's code
  std::string display_name;
  std::string comment;
  std::string path;  // the display name when the file has none
};

// The lines of the sibling tool's object file this program takes: the
// types it has no use for are left out.
win::Status ReadQuollObjectLines(const std::string& path, std::vector<QuollObjectLine>& lines);
// The same as objects of the list: all active, children under the last
// top-level object.
std::vector<ImportedObject> QuollObjects(const std::vector<QuollObjectLine>& lines);
// The object-file line the start-up conversion appends for `line` (8-bit,
// inactive, CR LF).
std::string ConvertedObjectLine(const QuollObjectLine& line);

}  // namespace tabulon::ui

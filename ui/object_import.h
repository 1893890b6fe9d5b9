#pragma once
// Objects an import command brings into the object list: each is appended
// at the end of the top level, or under the last top-level object of the
// list when it is a child in the file it came from.
#include <vector>

#include "engine/object_file.h"

namespace tabulon::ui {

struct ImportedObject {
  ObjectListItem item;
  bool child_of_last_top_level = false;
};

}  // namespace tabulon::ui

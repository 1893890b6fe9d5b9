#pragma once
// The small editors of a file/directory template's lists: "Shared
// Directory Path Properties" for one path entry and "File Properties" for
// file name filters.
#include <string>

#include "ui/file_template.h"

class QWidget;

namespace tabulon::ui {

// Edits one entry; `kinds` are the template's share kinds, which the
// "%SHARE_NAME%" entry chooses. `all_shares_free` is false when another
// entry already retrieves all shares (there can be only one). Refuses an
// all-shares entry without a kind (59524) and fewer than two levels
// (59546). True when closed with OK.
bool EditSharePath(QWidget* parent, SharePathEntry& entry, ShareKinds& kinds, bool all_shares_free);

// One filter, or several separated by "|". True when closed with OK.
bool EditFileFilter(QWidget* parent, std::string& filter);

}  // namespace tabulon::ui

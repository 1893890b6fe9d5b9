#pragma once
// Opening a list's item with a double-click or with Enter. A view passes
// Enter on to its dialog, whose default button would then close the dialog
// behind the item's own editor; here the list keeps it.
#include <functional>

class QAbstractItemView;

namespace tabulon::ui {

// Calls `open` on a double-click on an item, and on Enter or Return while
// the view has a current item.
void OpenItemsWith(QAbstractItemView* view, std::function<void()> open);

}  // namespace tabulon::ui

#pragma once
// "Insert Export Symbol": the export symbols with their names and
// descriptions; the registry value editor offers all of them, the WMI
// template editor only those that are not registry-only.
#include <optional>
#include <string>

class QWidget;

namespace tabulon::ui {

// The chosen symbol's text ("%OBJECT_NAME%"); none when cancelled.
std::optional<std::string> PickSymbol(QWidget* parent, bool with_registry_symbols);

}  // namespace tabulon::ui

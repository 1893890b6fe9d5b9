#pragma once
// The two small editors of a registry template's lists: "Registry Export
// Key Properties" for one key entry and "Registry Export Value Properties"
// for one column (a value name or an export symbol).
#include <string>

class QWidget;

namespace tabulon::ui {

// Shows `entry` parsed into its parts; on OK it holds the entry composed
// from them. True when closed with OK.
bool EditRegistryKey(QWidget* parent, std::string& entry);

// An empty name stands for the key's default (unnamed) value.
bool EditRegistryValue(QWidget* parent, std::string& name);

}  // namespace tabulon::ui

#pragma once
// How a template editor stores its template: every key of the kind in the
// template's section, a key rewritten only when its text changes (the file
// is shared by configurations, and one opened and closed unchanged stays as
// it was), and a renamed template moved to its new section.
#include <string>
#include <string_view>
#include <vector>

#include "engine/template_kinds.h"
#include "platform/profile.h"

namespace tabulon::ui {

struct TemplateValue {
  std::string_view key;
  std::string text;
};

enum class TemplateStored { kStored, kNameTaken, kWriteFailed };

struct TemplateTarget {
  TemplateKind kind;
  std::string path;      // the template file
  std::string old_name;  // empty for a new template
  std::string name;      // as it is to be stored
};

// Refuses a name that another template of the file already has (sections
// are found without regard to case). A rename writes the new section and
// then removes the old one.
TemplateStored StoreTemplate(platform::Profile& profile, const TemplateTarget& target,
                             const std::vector<TemplateValue>& values);

// The user's text for a refused store, naming the template and the file.
std::string TemplateStoreFailure(TemplateStored stored, const TemplateTarget& target);

// A list key's items joined by its separator; empty items stay, as a run
// keeps them.
std::string JoinTemplateItems(const std::vector<std::string>& items, char separator);

// A template's integer key as the editors keep it: "1" or "0".
inline std::string SwitchText(bool on) {
  return on ? "1" : "0";
}

}  // namespace tabulon::ui

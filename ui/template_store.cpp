#include "ui/template_store.h"

#include "engine/configuration.h"
#include "engine/messages.h"
#include "exporters/templates/template_files.h"
#include "platform/text.h"

namespace tabulon::ui {
namespace {

// A default no stored value can equal, so that a missing key is written.
constexpr std::string_view kMissing = "\x01";

bool NameTaken(const TemplateTarget& target) {
  for (const std::string& listed : ListTemplates(target.path, target.kind).names) {
    if (text::EqualsNoCase(listed, target.name) && !text::EqualsNoCase(listed, target.old_name)) {
      return true;
    }
  }
  return false;
}

bool WriteChanged(platform::Profile& profile, const TemplateTarget& target,
                  const std::vector<TemplateValue>& values) {
  for (const TemplateValue& value : values) {
    const std::string stored =
        profile.GetString(target.path, target.name, value.key, kMissing, kTextBufferChars);
    if (stored == value.text) continue;
    if (!profile.WriteString(target.path, target.name, value.key, value.text)) return false;
  }
  return true;
}

}  // namespace

TemplateStored StoreTemplate(platform::Profile& profile, const TemplateTarget& target,
                             const std::vector<TemplateValue>& values) {
  if (NameTaken(target)) return TemplateStored::kNameTaken;
  const bool renamed = !target.old_name.empty() && target.old_name != target.name;
  // A change of case only is the same section: it is written anew so that
  // the header carries the new spelling.
  if (renamed && text::EqualsNoCase(target.old_name, target.name) &&
      !profile.DeleteSection(target.path, target.old_name)) {
    return TemplateStored::kWriteFailed;
  }
  if (!WriteChanged(profile, target, values)) return TemplateStored::kWriteFailed;
  if (renamed && !text::EqualsNoCase(target.old_name, target.name) &&
      !profile.DeleteSection(target.path, target.old_name)) {
    return TemplateStored::kWriteFailed;
  }
  return TemplateStored::kStored;
}

std::string TemplateStoreFailure(TemplateStored stored, const TemplateTarget& target) {
  if (stored == TemplateStored::kNameTaken) {
    return "A template named '" + target.name + "' already exists in " + target.path +
           ". Choose another name.";
  }
  return FormatMessageId(kMsgUnableToOpenFile, {TemplateKindInfo(target.kind).label, target.path});
}

std::string JoinTemplateItems(const std::vector<std::string>& items, char separator) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += separator;
    text += items[i];
  }
  return text;
}

}  // namespace tabulon::ui

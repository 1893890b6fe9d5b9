#pragma once
// A WMI query template as its editor holds it: read from the template's
// section of the WMI query file, and written back with every key of the
// kind, in the order the editor writes them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "ui/template_store.h"

namespace tabulon::ui {

// The editor's range of TimeoutSeconds; the run takes any value.
inline constexpr std::int32_t kMinWmiTimeoutSeconds = 5;
inline constexpr std::int32_t kMaxWmiTimeoutSeconds = 300;
inline constexpr std::int32_t kDefaultWmiTimeoutSeconds = 10;

struct WmiTemplate {
  bool enabled = true;
  std::string name;
  std::string output_file;
  std::vector<std::string> columns;  // property names and symbols
  std::string object_class;
  std::string where;
  std::int32_t timeout_seconds = kDefaultWmiTimeoutSeconds;
};

// An empty `name` gives a new template.
WmiTemplate ReadWmiTemplate(platform::Profile& profile, const std::string& file,
                            const std::string& name);
// Enabled, OutputFileName, OutputColumns, ObjectClass, Where,
// TimeoutSeconds, as StoreTemplate writes them.
std::vector<TemplateValue> WmiTemplateValues(const WmiTemplate& wmi_template);

bool WmiTimeoutInRange(std::int32_t seconds);

}  // namespace tabulon::ui

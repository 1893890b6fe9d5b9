#include "estate/wmi_classes.h"

#include "platform/text.h"

namespace tabulon::estate {

const WmiClass* WmiNamespace::FindClass(std::string_view name) const {
  for (const WmiClass& c : classes) {
    if (text::EqualsNoCase(c.name, name)) return &c;
  }
  return nullptr;
}

}  // namespace tabulon::estate

#include "platform/wmi.h"

#include "platform/text.h"

namespace tabulon::platform {

std::uint16_t VariantTypeOfCim(std::uint16_t cim_type) {
  const std::uint16_t array = cim_type & kCimFlagArray;
  switch (cim_type & ~kCimFlagArray) {
    case kCimSint8:
    case kCimSint16:
    case kCimChar16:
      return array | kVtI2;
    case kCimUint8:
      return array | kVtUi1;
    case kCimUint16:
    case kCimSint32:
    case kCimUint32:
      return array | kVtI4;
    case kCimReal32:
      return array | kVtR4;
    case kCimReal64:
      return array | kVtR8;
    case kCimBoolean:
      return array | kVtBool;
    case kCimObject:
      return array | kVtUnknown;
    default:  // strings, 64-bit integers, datetimes, references
      return array | kVtBstr;
  }
}

WmiGetResult GetWmiProperty(const WmiInstance& instance, std::string_view name) {
  WmiGetResult result;
  if (text::EqualsNoCase(name, "__CLASS")) {
    result.cim_type = kCimString;
    result.value = {kVtBstr, {instance.class_name}, 0};
    return result;
  }
  for (const WmiProperty& property : instance.properties) {
    if (text::EqualsNoCase(property.name, name)) {
      result.value = property.value;
      result.cim_type = property.cim_type;
      return result;
    }
  }
  result.status = win::WBEM_E_NOT_FOUND;
  return result;
}

}  // namespace tabulon::platform

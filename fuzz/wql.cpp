// The WQL parser and evaluator: any text is answered with a status, and a
// query that binds runs over a class with every kind of value without
// fault.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "estate/wql.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tabulon;
  using platform::WmiVariant;
  static const estate::WmiNamespace names = [] {
    estate::WmiClass c;
    c.name = "C";
    c.properties = {
        {"s", platform::kCimString},  {"n", platform::kCimUint32},
        {"b", platform::kCimBoolean}, {"r", platform::kCimReal64},
        {"l", platform::kCimUint64},  {"a", platform::kCimString | platform::kCimFlagArray},
        {"o", platform::kCimObject}};
    const WmiVariant null{platform::kVtNull, {}, 0};
    c.instances = {{WmiVariant{platform::kVtBstr, {std::string("A\xC3\xA9%_[")}, 0},
                    WmiVariant{platform::kVtI4, {std::int64_t{-1}}, 0},
                    WmiVariant{platform::kVtBool, {std::int64_t{-1}}, 0},
                    WmiVariant{platform::kVtR8, {0.5}, 0},
                    WmiVariant{platform::kVtBstr, {std::string("18446744073709551615")}, 0},
                    WmiVariant{platform::kVtBstr | platform::kVtArray, {std::string("x")}, 0},
                    WmiVariant{platform::kVtUnknown, {std::string("Obj")}, 0}},
                   {null, null, null, null, null, null, null}};
    estate::WmiNamespace n;
    n.classes.push_back(std::move(c));
    return n;
  }();
  const estate::WqlAnswer answer =
      estate::RunWql(std::string_view(reinterpret_cast<const char*>(data), size), names);
  if (answer.status == win::ERROR_SUCCESS && answer.wmi_class == nullptr) std::abort();
  return 0;
}

#pragma once
// Schema queries of the estate's WMI: "SELECT ... FROM meta_class" answers
// with the namespace's class definitions instead of instances. The WHERE
// clause sees each class as an instance of "meta_class" with the one
// property "__CLASS", so it is evaluated like any other query.
#include <string_view>

#include "estate/wmi_classes.h"
#include "platform/wmi.h"

namespace tabulon::estate {

bool IsSchemaQuery(std::string_view query);

// The class "meta_class": one instance per class of `names`, in their order.
WmiNamespace SchemaNamespace(const WmiNamespace& names);

// A class definition as WMI hands it out: its properties with VT_NULL
// values, and with `amended` its "Description" qualifiers.
platform::WmiInstance ClassDefinition(const WmiClass& wmi_class, bool amended);

}  // namespace tabulon::estate

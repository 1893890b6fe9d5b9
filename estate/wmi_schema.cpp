#include "estate/wmi_schema.h"

#include "estate/wql.h"
#include "platform/text.h"

namespace tabulon::estate {

bool IsSchemaQuery(std::string_view query) {
  const WqlParse parsed = ParseWql(query);
  return parsed.ok && text::EqualsNoCase(parsed.query.class_name, platform::kWmiMetaClass);
}

WmiNamespace SchemaNamespace(const WmiNamespace& names) {
  WmiClass meta;
  meta.name = std::string(platform::kWmiMetaClass);
  meta.properties.push_back({"__CLASS", platform::kCimString});
  for (const WmiClass& c : names.classes) {
    meta.instances.push_back({platform::WmiVariant{platform::kVtBstr, {c.name}, 0}});
  }
  WmiNamespace schema;
  schema.classes.push_back(std::move(meta));
  return schema;
}

platform::WmiInstance ClassDefinition(const WmiClass& wmi_class, bool amended) {
  platform::WmiInstance definition;
  definition.class_name = wmi_class.name;
  if (amended) definition.description = wmi_class.description;
  for (std::size_t i = 0; i < wmi_class.properties.size(); ++i) {
    platform::WmiProperty& p = definition.properties.emplace_back();
    p.name = wmi_class.properties[i].name;
    p.cim_type = wmi_class.properties[i].cim_type;
    p.value.vt = platform::kVtNull;
    if (amended && i < wmi_class.property_descriptions.size()) {
      p.description = wmi_class.property_descriptions[i];
    }
  }
  return definition;
}

}  // namespace tabulon::estate

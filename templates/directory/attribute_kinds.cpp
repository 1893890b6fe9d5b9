#include "templates/directory/attribute_kinds.h"

#include "engine/object_file.h"
#include "platform/text.h"
#include "templates/directory/entry_cells.h"

namespace tabulon {

platform::AttributeKinds ReadSchemaFileKinds(const std::string& path) {
  platform::AttributeKinds kinds;
  ForEachTextLine(path, [&](std::string_view line) {
    line = text::Trim(line);
    const std::size_t first = line.find('\t');
    if (first == std::string_view::npos) return;
    const std::string_view rest = line.substr(first + 1);
    const std::size_t second = rest.find('\t');
    if (second == std::string_view::npos) return;
    const std::string_view name = text::Trim(rest.substr(0, second));
    const platform::DirectoryValueKind kind =
        platform::KindOfSyntax(text::Trim(rest.substr(second + 1)));
    if (!name.empty() && kind != platform::DirectoryValueKind::kUnknown) {
      kinds[text::ToLower(name)] = kind;
    }
  });
  return kinds;
}

const platform::AttributeKinds& AttributeKindCache::For(
    platform::DirectorySearch& directory, const platform::DirectoryOpenOptions& options) {
  const std::string domain = DomainDnOf(options.base);
  const std::string key = text::ToLower(options.server) + "|" + text::ToLower(domain);
  if (const auto it = by_server_.find(key); it != by_server_.end()) return it->second;
  platform::AttributeKinds kinds;
  const platform::DirectoryStatus read =
      platform::ReadAttributeKinds(directory, "CN=Schema,CN=Configuration," + domain, kinds);
  if (!read.ok() || kinds.empty()) kinds = ReadSchemaFileKinds(schema_file_);
  return by_server_.emplace(key, std::move(kinds)).first->second;
}

}  // namespace tabulon

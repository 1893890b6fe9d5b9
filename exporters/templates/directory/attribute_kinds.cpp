#include "exporters/templates/directory/attribute_kinds.h"

#include "exporters/templates/directory/entry_cells.h"
#include "exporters/templates/template_files.h"
#include "platform/text.h"

namespace tabulon {

platform::AttributeKinds ReadSchemaFileKinds(const std::string& path) {
  platform::AttributeKinds kinds;
  std::vector<SchemaLine> lines;
  ReadSchemaFile(path, lines);  // an unreadable file knows no syntax
  for (const SchemaLine& line : lines) {
    const platform::DirectoryValueKind kind = platform::KindOfSyntax(line.syntax);
    if (!line.name.empty() && kind != platform::DirectoryValueKind::kUnknown) {
      kinds[text::ToLower(line.name)] = kind;
    }
  }
  return kinds;
}

const platform::AttributeKinds& AttributeKindCache::FileKinds() {
  {
    const std::lock_guard lock(mutex_);
    if (file_kinds_) return *file_kinds_;
  }
  platform::AttributeKinds kinds = ReadSchemaFileKinds(schema_file_);
  const std::lock_guard lock(mutex_);
  if (!file_kinds_) file_kinds_ = std::move(kinds);
  return *file_kinds_;
}

const platform::AttributeKinds& AttributeKindCache::For(
    platform::DirectorySearch& directory, const platform::DirectoryOpenOptions& options) {
  const std::string domain = DomainDnOf(options.base);
  const std::string key = text::ToLower(options.server) + "|" + text::ToLower(domain);
  {
    const std::lock_guard lock(mutex_);
    if (const auto it = by_server_.find(key); it != by_server_.end()) return it->second;
  }
  platform::AttributeKinds kinds;
  const platform::DirectoryStatus read =
      platform::ReadAttributeKinds(directory, "CN=Schema,CN=Configuration," + domain, kinds);
  if (!read.ok()) return FileKinds();
  // A server whose schema lists nothing is answered by the file for good.
  if (kinds.empty()) kinds = ReadSchemaFileKinds(schema_file_);
  const std::lock_guard lock(mutex_);
  return by_server_.emplace(key, std::move(kinds)).first->second;
}

}  // namespace tabulon

#pragma once
// The value kinds of a directory's attributes, read from the server's
// schema once per server and run. When the schema cannot be read, the
// directory schema file stands in: its lines "category TAB name" may carry
// the attribute's syntax ("2.5.5.17") as a third, TAB-separated field.
#include <map>
#include <string>

#include "platform/directory_search.h"

namespace tabulon {

// "category TAB name TAB syntax" lines of a schema file; lines without a
// syntax are skipped. Empty when the file cannot be read.
platform::AttributeKinds ReadSchemaFileKinds(const std::string& path);

class AttributeKindCache {
 public:
  explicit AttributeKindCache(std::string schema_file) : schema_file_(std::move(schema_file)) {}

  // The kinds of the directory `directory` has open, on the server and in
  // the domain `options` name.
  const platform::AttributeKinds& For(platform::DirectorySearch& directory,
                                      const platform::DirectoryOpenOptions& options);

 private:
  std::string schema_file_;
  std::map<std::string, platform::AttributeKinds> by_server_;
};

}  // namespace tabulon

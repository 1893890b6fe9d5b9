#pragma once
// The value kinds of a directory's attributes, read from the server's
// schema once per server and run. When the schema cannot be read, the
// directory schema file stands in: its lines "category TAB name" may carry
// the attribute's syntax ("2.5.5.17") as a third, TAB-separated field.
//
// The cache lives for one run and keys on the server and the domain asked:
// a schema is the same for every target that reaches it, so a hit gives the
// kinds a fresh read would. A failed read is not remembered: the next
// target asks the server again, and until one read succeeds each target
// formats with the schema file, whichever target came first.
//
// Targets exported at once share it: the lock guards the map only, never a
// read of the schema, and two targets that miss together both read it; the
// first answer is kept, which is the one the other would have kept.
#include <map>
#include <mutex>
#include <optional>
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
  // The schema file's kinds, read (outside the lock) at the first failure.
  const platform::AttributeKinds& FileKinds();

  std::string schema_file_;
  std::mutex mutex_;
  // Entries are never replaced or removed, so references to them stay good.
  std::optional<platform::AttributeKinds> file_kinds_;
  std::map<std::string, platform::AttributeKinds> by_server_;
};

}  // namespace tabulon

#include "engine/failed_targets.h"

#include "platform/writable_file.h"

namespace tabulon {

void FailedTargets::Add(const tagCObjects& target) {
  // The path the object file or the expansion gave: a directory computer
  // is found again through its directory entry.
  items_.push_back({.type = target.type,
                    .active = true,
                    .display_name = target.display_name,
                    .comment = target.comment,
                    .path = target.source_path.empty() ? target.path : target.source_path,
                    .children = {}});
}

win::Status FailedTargets::WriteOrRemove(const std::string& path) const {
  // An earlier file is replaced, not kept as a backup: it is the previous
  // run's list, of no use once this run has ended.
  const win::Status removed = platform::RemoveFile(path);
  if (items_.empty() || removed != win::ERROR_SUCCESS) return removed;
  return WriteObjectFile(path, items_);
}

}  // namespace tabulon

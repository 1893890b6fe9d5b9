#pragma once
// The targets of a run that failed — did not answer the ping, gave no
// server information, or an export failed for them — written at the end of
// the run as an object file, so that a configuration whose ObjectFile=
// names it exports only them again.
#include <string>
#include <vector>

#include "engine/object_file.h"
#include "engine/target.h"
#include "platform/status.h"

namespace tabulon {

class FailedTargets {
 public:
  // In the order the run committed them: the target list's order.
  void Add(const tagCObjects& target);
  bool empty() const { return items_.empty(); }
  const std::vector<ObjectListItem>& items() const { return items_; }

  // Writes the object file at `path` when a target failed; removes one
  // left at `path` by an earlier run when none did, so that the file never
  // names targets this run exported.
  win::Status WriteOrRemove(const std::string& path) const;

 private:
  std::vector<ObjectListItem> items_;
};

}  // namespace tabulon

#pragma once
// The path check before the first file of a run is opened. While planning,
// opening an output or the log only claims its path, loading a list file
// claims it as an input, and failure messages are held back (the real
// opening shows them). A claim of a file claimed before, when either use
// writes it, is a collision: the first one is kept as its message.
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_identity.h"

namespace tabulon {

class PathPlan {
 public:
  void set_planning(bool planning) { planning_ = planning; }
  bool planning() const { return planning_; }
  // `use` names the file in a collision message.
  void ClaimInput(std::string_view use, const std::string& path) { Claim(use, path, false); }
  void ClaimOutput(std::string_view use, const std::string& path) { Claim(use, path, true); }
  const std::string& collision() const { return collision_; }

 private:
  struct PathClaim {
    std::string use;
    std::string path;
    platform::FileIdentity identity;
    bool output;
  };
  void Claim(std::string_view use, const std::string& path, bool output);

  bool planning_ = false;
  std::vector<PathClaim> claims_;
  std::string collision_;
};

}  // namespace tabulon

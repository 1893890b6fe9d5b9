#include "engine/path_plan.h"

#include "engine/messages.h"

namespace tabulon {
namespace {

constexpr std::string_view kSameFile =
    "The %s %s and the %s %s are the same file. Give each its own file.";

}  // namespace

void PathPlan::Claim(std::string_view use, const std::string& path, bool output) {
  if (path.empty()) return;
  PathClaim claim{std::string(use), path, platform::IdentifyFile(path), output};
  if (collision_.empty() && !claim.identity.special) {
    for (const PathClaim& earlier : claims_) {
      if ((output || earlier.output) && platform::SameFile(earlier.identity, claim.identity)) {
        collision_ = FillMessage(kSameFile, {earlier.use, earlier.path, claim.use, claim.path});
        break;
      }
    }
  }
  claims_.push_back(std::move(claim));
}

}  // namespace tabulon

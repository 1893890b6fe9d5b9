#include "estate/resources.h"

#include "platform/text.h"

namespace tabulon::estate {

const Share* ServerResources::FindShare(std::string_view name) const {
  for (const Share& share : shares) {
    if (text::EqualsNoCase(share.info.netname, name)) return &share;
  }
  return nullptr;
}

const Disk* ServerResources::FindDisk(char letter) const {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  for (const Disk& disk : disks) {
    if (disk.letter == letter) return &disk;
  }
  return nullptr;
}

}  // namespace tabulon::estate

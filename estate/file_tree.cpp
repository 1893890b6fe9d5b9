#include "estate/file_tree.h"

#include "platform/text.h"

namespace tabulon::estate {

const FileNode* FileNode::Child(std::string_view name) const {
  for (const FileNode& c : children) {
    if (text::EqualsNoCase(c.data.name, name)) return &c;
  }
  return nullptr;
}

FileNode* FileNode::Child(std::string_view name) {
  return const_cast<FileNode*>(static_cast<const FileNode&>(*this).Child(name));
}

const FileNode* FindFileNode(const FileNode& root, std::string_view windows_path) {
  const FileNode* node = &root;
  std::size_t at = 0;
  while (at < windows_path.size()) {
    std::size_t end = windows_path.find_first_of("\\/", at);
    if (end == std::string_view::npos) end = windows_path.size();
    if (end > at) {
      node = node->Child(windows_path.substr(at, end - at));
      if (node == nullptr) return nullptr;
    }
    at = end + 1;
  }
  return node;
}

}  // namespace tabulon::estate

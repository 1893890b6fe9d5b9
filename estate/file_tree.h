#pragma once
// The files and directories of an estate computer: one tree per computer
// whose top level holds its drives ("C:", "D:"). A file may take its bytes
// from a real file next to the estate, so that real executables can be read.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace tabulon::estate {

struct FileNode {
  platform::FindData data;  // name, attributes, times, size
  // A real file whose bytes this file has; empty: its size in zero bytes.
  std::string bytes_path;
  std::vector<FileNode> children;  // directories only, sorted as listed

  bool is_directory() const { return (data.attributes & platform::kFileAttributeDirectory) != 0; }
  // The child named `name` (without regard to case), or null.
  const FileNode* Child(std::string_view name) const;
  FileNode* Child(std::string_view name);
};

// The node a Windows path ("D:\Apps\bin", either separator, trailing ones
// ignored) names below `root`, or null.
const FileNode* FindFileNode(const FileNode& root, std::string_view windows_path);

}  // namespace tabulon::estate

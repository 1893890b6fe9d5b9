#pragma once
// Registry editor export files (.reg): the text form an estate gives a
// computer's registry in. Both headers, "Windows Registry Editor Version
// 5.00" and "REGEDIT4", are read; UTF-16LE text with FF FE as the editor
// writes it, UTF-8 with or without its mark, and other 8-bit text.
//
// Key lines "[HKEY_LOCAL_MACHINE\...]" create keys with their parents, and
// "[-...]" removes a key with its subkeys. Value lines are "name"= or @=
// followed by "text", dword:, hex: (binary), hex(2): (expandable text),
// hex(7): (multi-text), hex(b): (qword) or any hex(n):; "=-" removes the
// value. A "\" at the end of a hex line continues it on the next line;
// lines starting with ";" are comments.
#include <cstddef>
#include <string>
#include <string_view>

#include "estate/registry_tree.h"

namespace tabulon::estate {

struct RegFileResult {
  bool ok = true;
  std::size_t line = 0;  // 1-based line of the problem; 0: the text as a whole
  std::string message;
};

// Applies the file's keys and values to `tree`, in file order. On a
// problem the keys and values before it stay applied.
RegFileResult ApplyRegFile(std::string_view bytes, RegistryTree& tree);

}  // namespace tabulon::estate

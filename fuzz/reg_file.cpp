// The registry editor file reader: any bytes apply or fail cleanly, and the
// tree they leave is consistent: subkeys in order, every value found by its
// name.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "estate/reg_file.h"
#include "estate/registry_tree.h"

namespace {

using tabulon::estate::RegistryTree;

void Check(const RegistryTree& tree, std::uint32_t key) {
  const auto& node = tree.node(key);
  for (const auto& value : node.values) {
    if (tree.FindValue(key, value.name) != &value) std::abort();
  }
  for (std::size_t i = 0; i < node.subkeys.size(); ++i) {
    if (i > 0 && !(tree.node(node.subkeys[i - 1]).sort_key < tree.node(node.subkeys[i]).sort_key)) {
      std::abort();
    }
    Check(tree, node.subkeys[i]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  RegistryTree tree(0);
  const auto result = tabulon::estate::ApplyRegFile(
      std::string_view(reinterpret_cast<const char*>(data), size), tree);
  if (!result.ok && result.message.empty()) std::abort();
  for (std::size_t hive = 0; hive < tabulon::estate::kHiveCount; ++hive) {
    Check(tree, tree.root(static_cast<tabulon::estate::Hive>(hive)));
  }
  return 0;
}

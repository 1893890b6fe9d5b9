// The estate loader: any text loads or fails with a message. Inputs that
// ask for a synthetic estate (sized on purpose, up to hundreds of thousands
// of computers) or name .reg files on disk are passed over: they measure
// the generator and the file system, not the reader.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <nlohmann/json.hpp>

#include "estate/loader.h"

namespace {

bool OutOfScope(std::string_view text) {
  const nlohmann::json root = nlohmann::json::parse(text, nullptr, false);
  if (!root.is_object()) return false;
  if (root.contains("synthetic")) return true;
  const auto computers = root.find("computers");
  if (computers == root.end() || !computers->is_array()) return false;
  for (const auto& computer : *computers) {
    if (!computer.is_object()) continue;
    const auto registry = computer.find("registry");
    if (registry != computer.end() && registry->is_object() && registry->contains("files")) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (OutOfScope(text)) return -1;  // not added to the corpus
  const auto result = tabulon::estate::ParseEstate(text, "fuzz.json");
  if (!result.ok && result.error.empty()) std::abort();
  return 0;
}

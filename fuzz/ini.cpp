// The INI reader: any bytes parse, and a key set in the parsed document
// reads back the same after the document is written and read again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/memory_file.h"
#include "platform/ini_document.h"
#include "platform/ini_file_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tabulon::platform::IniDocument;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  IniDocument doc = IniDocument::Parse(bytes);
  (void)doc.Get("Settings", "DefaultOutputDirectory");
  (void)doc.Get("", "");
  doc.Set("Fuzz", "Key", "Value");
  const IniDocument again = IniDocument::Parse(doc.Serialize());
  if (again.encoding() != doc.encoding() || again.Get("fuzz", "KEY") != "Value") std::abort();

  // The profile functions over a file, with a short buffer.
  static tabulon::fuzz::MemoryFile file;
  const std::string path = file.Hold(data, size);
  tabulon::platform::IniFileProfile profile;
  (void)profile.GetString(path, "Settings", "DefaultOutputDirectory", "default", 8);
  return 0;
}

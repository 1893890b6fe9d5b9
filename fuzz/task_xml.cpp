// The task XML reader: any bytes give a definition or fail with a message
// that names the origin and a line, and a definition's trigger masks stay
// within the bits their lists name.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "estate/task_xml.h"
#include "estate/xml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const tabulon::estate::XmlDocument document = tabulon::estate::ParseXml(bytes, "fuzz");
  if (!document.ok && !document.error.starts_with("fuzz:")) std::abort();
  tabulon::estate::TaskXml task;
  std::string error;
  if (!tabulon::estate::ReadTaskXml(bytes, "fuzz", task, error)) {
    if (!error.starts_with("fuzz:")) std::abort();
    return 0;
  }
  if (!document.ok) std::abort();
  for (const auto& trigger : task.definition.triggers.value) {
    if (trigger.days_of_week.value > 0x7F || trigger.months_of_year.value > 0xFFF ||
        trigger.weeks_of_month.value > 0xF || (trigger.days_of_month.value >> 31) != 0) {
      std::abort();
    }
  }
  return 0;
}

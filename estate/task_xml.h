#pragma once
// A registered task's definition from the XML that Windows keeps for it:
// registration information, principal and triggers, and the settings that
// decide whether the task is enabled and hidden.
#include <string>
#include <string_view>

#include "platform/task_service.h"

namespace tabulon::estate {

struct TaskXml {
  platform::TaskDefinition definition;
  bool enabled = true;
  bool hidden = false;
};

// False with `error` ("origin:line: message") when the bytes are not a
// well-formed task document.
bool ReadTaskXml(std::string_view bytes, std::string_view origin, TaskXml& out, std::string& error);

}  // namespace tabulon::estate

#pragma once
// Facts about the computer and the process the program runs in.
#include <cstdint>
#include <optional>
#include <string>

namespace tabulon::platform {

// The computer's host name; nothing when the system does not say.
std::optional<std::string> LocalHostName();

// The running process's id, unique among the processes running now.
std::uint32_t CurrentProcessId();

}  // namespace tabulon::platform

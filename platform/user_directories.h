#pragma once
// Where the user's configuration and application data belong.
#include <string>

namespace tabulon::platform {

// The base directories for per-user configuration and data; empty when the
// environment names none.
std::string UserConfigHome();
std::string UserDataHome();

}  // namespace tabulon::platform

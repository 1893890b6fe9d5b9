#pragma once
// The notes of --help that every system's program shares.
#include <string_view>

namespace tabulon::app {

inline constexpr std::string_view kFailedTargetsText =
    "When a target fails (no answer to the ping, no server information, an export that failed), "
    "the run writes the failed targets as an object file beside the log (<log>.failed.dat), or "
    "without a log in the output directory (<configuration name>.failed.dat); ObjectFile= "
    "pointed at it exports only them. A run in which no target failed removes an old one of that "
    "name.\n\n"
    "Before anything is opened, the run checks that no two outputs (and the log) are the same "
    "file, and that none of them is an input: the configuration, the object, include, list, "
    "estate or template files.";

}  // namespace tabulon::app

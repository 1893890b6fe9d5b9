#pragma once
// Windows status numbers. The platform layer reports every failure with the
// number a Windows system would give, so that error texts and the behaviour
// that depends on a status (paging, level fallback) stay the same everywhere.
// The constants come from the status list; status_table.h looks them up.
#include <cstdint>

namespace tabulon::win {

using Status = std::uint32_t;

#define TABULON_WIN_STATUS(name, code, text) inline constexpr Status name = code;
#include "platform/status_list.h"
#undef TABULON_WIN_STATUS

// The status a Windows system would report for a C library errno value.
Status StatusFromErrno(int error);

}  // namespace tabulon::win

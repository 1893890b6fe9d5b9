#pragma once
// The status of a call that reported failure: its last error, or, when it
// set none (a stub does that), ERROR_NOT_SUPPORTED, so that a failure is
// never taken for a success.
#include "platform/status.h"

namespace tabulon::platform::win32 {

win::Status FailureStatus();

}  // namespace tabulon::platform::win32

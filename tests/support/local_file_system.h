#pragma once
// The file system of the computer the tests run on, whichever it is.
#ifdef _WIN32
#include "platform/win32/file_system.h"
#else
#include "platform/posix/file_system.h"
#endif

namespace tabulon::testing {

#ifdef _WIN32
using LocalFileSystem = platform::Win32FileSystem;
#else
using LocalFileSystem = platform::PosixFileSystem;
#endif

}  // namespace tabulon::testing

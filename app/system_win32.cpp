// The project's headers come before <windows.h>, whose ERROR_* macros would
// replace the names of the status table.
#include "app/system.h"
#include "app/usage.h"
#include "platform/win32/core_dumps.h"
#include "platform/win32/wide.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tabulon::app {
namespace {

// The console's control handler runs on a thread of its own: it touches
// only this pointer and the control's atomic flags.
std::atomic<RunControl*> g_control{nullptr};

BOOL WINAPI OnConsoleControl(DWORD event) {
  RunControl* control = g_control.load();
  if (control == nullptr) return FALSE;
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      control->Escalate();
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      // The system ends the process soon after: stop and cancel at once, so
      // that the files end after their last complete row.
      control->Escalate();
      control->Escalate();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::string DisableCrashDumps() {
  return platform::DisableCoreDumps();
}

// A program started without standard handles (from a service or a
// scheduled task) would hand numbers 0 to 2 to the first files it opens.
void ReserveStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::_get_osfhandle(fd) != -1) continue;
    const int opened = ::_open("NUL", _O_RDWR | _O_BINARY);
    if (opened < 0) std::_Exit(kExitUsage);
    if (opened != fd) {
      ::_dup2(opened, fd);
      ::_close(opened);
    }
  }
}

// A console that understands the terminal sequences the progress line uses.
bool StandardErrorIsTerminal() {
  const HANDLE handle = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || !::GetConsoleMode(handle, &mode)) return false;
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
         ::SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

std::string ProgramPath(const char* argv0) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return argv0;
    if (length < path.size()) {
      path.resize(length);
      return platform::win32::ToUtf8(path);
    }
    path.resize(path.size() * 2);
  }
}

StopRequests::StopRequests(RunControl& control) {
  g_control.store(&control);
  ::SetConsoleCtrlHandler(&OnConsoleControl, TRUE);
}

StopRequests::~StopRequests() {
  ::SetConsoleCtrlHandler(&OnConsoleControl, FALSE);
  g_control.store(nullptr);
}

}  // namespace tabulon::app

// The arguments arrive as UTF-16; inside, everything is UTF-8, and so is
// what the console shows.
int wmain(int argc, wchar_t** argv) {
  ::SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> arguments;
  arguments.reserve(static_cast<std::size_t>(argc));
  for (int i = 0; i < argc; ++i) arguments.push_back(tabulon::platform::win32::ToUtf8(argv[i]));
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  return tabulon::app::Main(argc, pointers.data());
}

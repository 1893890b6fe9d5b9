#include "platform/win32/core_dumps.h"

#include <windows.h>

#include <cstdio>

// mingw's <werapi.h> does not compile (it lacks HREPORT), so the one call is
// declared here (kernel32).
extern "C" {
HRESULT WINAPI WerSetFlags(DWORD flags);
}

namespace tabulon::platform {
namespace {

// WER_FAULT_REPORTING_FLAG_NOHEAP: a report collects no heap.
constexpr DWORD kWerNoHeap = 0x1;

// A crash ends the process at once, before the system's default handler
// can start error reporting, which would write the process's memory to a
// dump file.
LONG WINAPI EndWithoutReport(EXCEPTION_POINTERS* exception) {
  ::TerminateProcess(::GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

std::string DisableCoreDumps() {
  // No "program has stopped working" box that would wait for a click to send
  // a report, and no box for a missing disk; children inherit this mode.
  ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  ::SetUnhandledExceptionFilter(&EndWithoutReport);
  // A report made anyway (a fail-fast exit bypasses the filter) carries no
  // heap. Nothing is written to the registry: the program leaves no trace
  // of this setting.
  if (const HRESULT hr = ::WerSetFlags(kWerNoHeap); FAILED(hr)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    return std::string("cannot keep the heap out of error reports: HRESULT ") + code;
  }
  return {};
}

}  // namespace tabulon::platform

#pragma once
// Texts for the status values the platform reports: Windows error numbers,
// directory-service results and WMI results.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/directory_search.h"
#include "platform/nt_status.h"
#include "platform/status.h"

namespace tabulon {

// The system message for the code, trailing white space removed; empty when
// the system has none.
std::string WindowsErrorText(win::Status code);

// The text of an NTSTATUS, as the LSA calls return them: no Windows message
// exists for one, so its own text from the status list; for a status that
// carries a Windows error (facility 7), that error's text; empty for a
// status the list does not know.
std::string NtStatusText(nt::Status status);

// The extended error the directory interface reports after a failure.
struct DirectoryExtendedError {
  std::uint32_t code = 0;
  std::string text;
  std::string provider;
};

std::string DirectoryErrorText(std::int32_t status,
                               const std::optional<DirectoryExtendedError>& extended);
// The same for a failed call of the directory search family.
std::string DirectoryErrorText(const platform::DirectoryStatus& status);

// The facility and error texts the WMI status-text service gives.
struct WmiStatusTexts {
  std::string facility;
  std::string error;
};

std::string WmiErrorText(std::int32_t status, const WmiStatusTexts& texts);

}  // namespace tabulon

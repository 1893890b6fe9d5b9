#include "platform/nt_status.h"

#include <array>

namespace tabulon::nt {
namespace {

struct Mapping {
  Status status;
  win::Status error;
};

// The pairs the LSA calls meet; the first row of an error is its status.
constexpr std::array<Mapping, 11> kMappings{{
    {STATUS_SUCCESS, win::ERROR_SUCCESS},
    {STATUS_NO_MORE_ENTRIES, win::ERROR_NO_MORE_ITEMS},
    {STATUS_INVALID_INFO_CLASS, win::ERROR_INVALID_PARAMETER},
    {STATUS_INVALID_HANDLE, win::ERROR_INVALID_HANDLE},
    {STATUS_INVALID_PARAMETER, win::ERROR_INVALID_PARAMETER},
    {STATUS_ACCESS_DENIED, win::ERROR_ACCESS_DENIED},
    {STATUS_NO_SUCH_PRIVILEGE, win::ERROR_NO_SUCH_PRIVILEGE},
    {STATUS_NOT_SUPPORTED, win::ERROR_NOT_SUPPORTED},
    {STATUS_CANCELLED, win::ERROR_CANCELLED},
    {STATUS_IO_TIMEOUT, win::ERROR_SEM_TIMEOUT},
    {RPC_NT_SERVER_UNAVAILABLE, win::RPC_S_SERVER_UNAVAILABLE},
}};

constexpr Status kWin32Facility = 0xC0070000;
constexpr Status kFacilityMask = 0xFFFF0000;

}  // namespace

win::Status LsaNtStatusToWinError(Status status) {
  for (const Mapping& m : kMappings) {
    if (m.status == status) return m.error;
  }
  if ((status & kFacilityMask) == kWin32Facility) return status & ~kFacilityMask;
  return win::ERROR_MR_MID_NOT_FOUND;
}

Status FromWinError(win::Status error) {
  for (const Mapping& m : kMappings) {
    if (m.error == error) return m.status;
  }
  return kWin32Facility | (error & ~kFacilityMask);
}

}  // namespace tabulon::nt

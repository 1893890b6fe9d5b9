#pragma once
// A property value as WMI hands it over (a VARIANT, arrays as a
// one-dimensional SAFEARRAY) converted to the Wmi interface's WmiVariant.
// Kept free of <windows.h>: a VARIANT is a struct tagVARIANT.
#include <cstddef>

#include "platform/status.h"
#include "platform/wmi.h"

struct tagVARIANT;

namespace tabulon::platform::win32 {

// Bounds on what one value may hold; a value beyond them is refused with
// ERROR_INVALID_DATA rather than copied.
inline constexpr std::size_t kMaxWmiTextChars = std::size_t{1} << 20;  // UTF-16 units
inline constexpr std::size_t kMaxWmiArrayElements = 65536;

struct WmiVariantResult {
  win::Status status = win::ERROR_SUCCESS;
  WmiVariant value;
};

// VT_EMPTY and VT_NULL have no element; integers (VT_BOOL's -1 included),
// reals and strings one each, a NULL BSTR being ""; an embedded object
// (VT_UNKNOWN) is its class name, "" when it has none. A SAFEARRAY must
// have one dimension and elements of the VARIANT's type. Other types
// (VT_VARIANT arrays, VT_DISPATCH, by-reference values) are ERROR_INVALID_DATA.
WmiVariantResult WmiVariantOf(const tagVARIANT& variant);

}  // namespace tabulon::platform::win32

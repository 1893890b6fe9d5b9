#include "platform/win32/wmi_values.h"

#include "platform/win32/com_holders.h"

#include <wbemcli.h>

#include <cstdint>
#include <string>

namespace tabulon::platform::win32 {
namespace {

// The size a SAFEARRAY element of `vt` has; 0 for a type WMI never sends.
std::size_t ElementSize(VARTYPE vt) {
  switch (vt) {
    case VT_I1:
    case VT_UI1:
      return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
      return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
      return 8;
    case VT_BSTR:
      return sizeof(BSTR);
    case VT_UNKNOWN:
      return sizeof(IUnknown*);
    default:
      return 0;
  }
}

bool TextOf(const wchar_t* text, std::size_t length, WmiElement& out) {
  if (length > kMaxWmiTextChars) return false;
  out = text == nullptr ? std::string() : ToUtf8(std::wstring_view(text, length));
  return true;
}

// The __CLASS of an embedded object; "" when it is not a WMI object.
std::string ClassNameOf(IUnknown* unknown) {
  if (unknown == nullptr) return {};
  ComPtr<IWbemClassObject> object;
  if (FAILED(unknown->QueryInterface(IID_IWbemClassObject, object.put_void()))) return {};
  Variant name;
  if (FAILED(object->Get(L"__CLASS", 0, name.put(), nullptr, nullptr)) ||
      name.get().vt != VT_BSTR || name.get().bstrVal == nullptr) {
    return {};
  }
  const BSTR text = name.get().bstrVal;
  const std::size_t length = ::SysStringLen(text);
  return length > kMaxWmiTextChars ? std::string() : ToUtf8(std::wstring_view(text, length));
}

// One element of type `vt` stored at `data`.
bool ElementOf(VARTYPE vt, const void* data, WmiElement& out) {
  switch (vt) {
    case VT_I1:
      out = std::int64_t{*static_cast<const signed char*>(data)};
      return true;
    case VT_UI1:
      out = std::int64_t{*static_cast<const unsigned char*>(data)};
      return true;
    case VT_I2:
    case VT_BOOL:
      out = std::int64_t{*static_cast<const SHORT*>(data)};
      return true;
    case VT_UI2:
      out = std::int64_t{*static_cast<const USHORT*>(data)};
      return true;
    case VT_I4:
    case VT_INT:
      out = std::int64_t{*static_cast<const LONG*>(data)};
      return true;
    case VT_UI4:
    case VT_UINT:
      out = std::int64_t{*static_cast<const ULONG*>(data)};
      return true;
    case VT_I8:
      out = std::int64_t{*static_cast<const LONGLONG*>(data)};
      return true;
    case VT_UI8:
      out = static_cast<std::int64_t>(*static_cast<const ULONGLONG*>(data));
      return true;
    case VT_R4:
      out = double{*static_cast<const FLOAT*>(data)};
      return true;
    case VT_R8:
      out = *static_cast<const DOUBLE*>(data);
      return true;
    case VT_BSTR: {
      const BSTR text = *static_cast<const BSTR*>(data);
      return TextOf(text, text == nullptr ? 0 : ::SysStringLen(text), out);
    }
    case VT_UNKNOWN:
      out = ClassNameOf(*static_cast<IUnknown* const*>(data));
      return true;
    default:
      return false;
  }
}

// Where a VARIANT keeps its scalar of type `vt`.
const void* ScalarData(const VARIANT& v) {
  switch (v.vt) {
    case VT_I1:
      return &v.cVal;
    case VT_UI1:
      return &v.bVal;
    case VT_I2:
      return &v.iVal;
    case VT_BOOL:
      return &v.boolVal;
    case VT_UI2:
      return &v.uiVal;
    case VT_I4:
      return &v.lVal;
    case VT_INT:
      return &v.intVal;
    case VT_UI4:
      return &v.ulVal;
    case VT_UINT:
      return &v.uintVal;
    case VT_I8:
      return &v.llVal;
    case VT_UI8:
      return &v.ullVal;
    case VT_R4:
      return &v.fltVal;
    case VT_R8:
      return &v.dblVal;
    case VT_BSTR:
      return &v.bstrVal;
    case VT_UNKNOWN:
      return &v.punkVal;
    default:
      return nullptr;
  }
}

}  // namespace

WmiVariantResult WmiVariantOf(const tagVARIANT& variant) {
  WmiVariantResult result;
  result.value.vt = variant.vt;
  if (variant.vt == VT_EMPTY || variant.vt == VT_NULL) return result;
  result.status = ERROR_INVALID_DATA;
  if ((variant.vt & VT_ARRAY) == 0) {
    const void* data = ScalarData(variant);
    if (data == nullptr || !ElementOf(variant.vt, data, result.value.elements.emplace_back())) {
      result.value.elements.clear();
      return result;
    }
    result.status = ERROR_SUCCESS;
    return result;
  }
  const VARTYPE element = variant.vt & ~VT_ARRAY;
  const SAFEARRAY* array = variant.parray;
  const std::size_t size = ElementSize(element);
  if ((variant.vt & VT_BYREF) != 0 || array == nullptr || array->cDims != 1 || size == 0 ||
      array->cbElements != size) {
    return result;
  }
  const std::size_t count = array->rgsabound[0].cElements;
  if (count > kMaxWmiArrayElements || (count != 0 && array->pvData == nullptr)) return result;
  result.value.lower_bound = array->rgsabound[0].lLbound;
  result.value.elements.reserve(count);
  const auto* bytes = static_cast<const unsigned char*>(array->pvData);
  for (std::size_t i = 0; i < count; ++i) {
    if (!ElementOf(element, bytes + i * size, result.value.elements.emplace_back())) {
      result.value.elements.clear();
      return result;
    }
  }
  result.status = ERROR_SUCCESS;
  return result;
}

}  // namespace tabulon::platform::win32

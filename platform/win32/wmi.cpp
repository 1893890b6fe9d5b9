#include "platform/win32/wmi.h"
#include "platform/win32/wmi_values.h"

#include "platform/win32/com_holders.h"

#include <wbemcli.h>

#include <string>
#include <utility>

namespace tabulon::platform::win32 {
namespace {

enum Kind : int { kLocator = 1, kServices, kEnumerator };

template <typename T>
ComPtr<T> Acquire(ComObjects& objects, WmiObject id, Kind kind) {
  return ComPtr<T>(static_cast<T*>(objects.Acquire(id, kind)));
}

// The blanket that makes the proxy call as the worker thread's
// impersonated identity (cloaking) with encrypted packets. An object that
// is no proxy (an in-process provider) has no blanket to set.
HRESULT SetBlanket(IUnknown* proxy) {
  const HRESULT hr = ::CoSetProxyBlanket(
      proxy, RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_DEFAULT, COLE_DEFAULT_PRINCIPAL,
      RPC_C_AUTHN_LEVEL_PKT_PRIVACY, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_DYNAMIC_CLOAKING);
  return hr == E_NOINTERFACE ? S_OK : hr;
}

std::string TextOf(BSTR text) {
  if (text == nullptr) return {};
  const std::size_t length = ::SysStringLen(text);
  return length > kMaxWmiTextChars ? std::string() : ToUtf8(std::wstring_view(text, length));
}

// The "Description" qualifier of a qualifier set; "" when there is none.
std::string DescriptionOf(IWbemQualifierSet* qualifiers) {
  Variant value;
  if (qualifiers == nullptr || FAILED(qualifiers->Get(L"Description", 0, value.put(), nullptr)) ||
      value.get().vt != VT_BSTR) {
    return {};
  }
  return TextOf(value.get().bstrVal);
}

// An instance or class definition as a record: its class, its own
// (non-system) properties in the object's order and, of a class
// definition, the descriptions its qualifiers carry.
WmiNextResult RecordOf(IWbemClassObject* object) {
  WmiNextResult result;
  WmiInstance& record = result.instance.emplace();
  Variant value;
  if (SUCCEEDED(object->Get(L"__CLASS", 0, value.put(), nullptr, nullptr)) &&
      value.get().vt == VT_BSTR) {
    record.class_name = TextOf(value.get().bstrVal);
  }
  const bool definition = SUCCEEDED(object->Get(L"__GENUS", 0, value.put(), nullptr, nullptr)) &&
                          value.get().vt == VT_I4 && value.get().lVal == WBEM_GENUS_CLASS;
  if (definition) {
    ComPtr<IWbemQualifierSet> qualifiers;
    if (SUCCEEDED(object->GetQualifierSet(qualifiers.put()))) {
      record.description = DescriptionOf(qualifiers.get());
    }
  }
  HRESULT hr = object->BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY);
  while (SUCCEEDED(hr)) {
    Bstr name;
    CIMTYPE type = 0;
    hr = object->Next(0, name.put(), value.put(), &type, nullptr);
    if (hr == WBEM_S_NO_MORE_DATA || FAILED(hr)) break;
    const WmiVariantResult converted = WmiVariantOf(value.get());
    if (converted.status != ERROR_SUCCESS || record.properties.size() >= kMaxWmiProperties ||
        name.get() == nullptr || ::SysStringLen(name.get()) > kMaxWmiTextChars) {
      hr = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
      break;
    }
    WmiProperty& property = record.properties.emplace_back();
    property.name = TextOf(name.get());
    property.cim_type = static_cast<std::uint16_t>(type);
    property.value = converted.value;
    ComPtr<IWbemQualifierSet> qualifiers;
    if (definition && SUCCEEDED(object->GetPropertyQualifierSet(name.get(), qualifiers.put()))) {
      property.description = DescriptionOf(qualifiers.get());
    }
  }
  object->EndEnumeration();
  if (FAILED(hr)) {
    result.instance.reset();
    result.status =
        hr == HRESULT_FROM_WIN32(ERROR_INVALID_DATA) ? ERROR_INVALID_DATA : StatusOf(hr);
  }
  return result;
}

}  // namespace

Win32Wmi::Win32Wmi(BoundedCalls& calls) : calls_(calls), objects_(std::make_shared<ComObjects>()) {}

Win32Wmi::~Win32Wmi() {
  calls_.Release([objects = objects_] { objects->ReleaseAll(); });
}

WmiObjectResult Win32Wmi::CreateLocator() {
  return calls_.Run<WmiObjectResult>([objects = objects_] {
    WmiObjectResult result;
    ComPtr<IWbemLocator> locator;
    const HRESULT hr =
        ::CoCreateInstance(CLSID_WbemLocator, nullptr,
                           CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
                           IID_IWbemLocator, locator.put_void());
    result.status = StatusOf(hr);
    if (SUCCEEDED(hr)) result.object = objects->Add(locator.detach(), kLocator);
    return result;
  });
}

WmiObjectResult Win32Wmi::ConnectServer(WmiObject locator, std::string_view namespace_path) {
  return calls_.Run<WmiObjectResult>(
      [objects = objects_, locator, path = std::string(namespace_path)] {
        WmiObjectResult result;
        const ComPtr<IWbemLocator> owner = Acquire<IWbemLocator>(*objects, locator, kLocator);
        if (!owner) {
          result.status = StatusOf(E_INVALIDARG);
          return result;
        }
        // No user or password: the call goes as the thread's identity.
        // WBEM_FLAG_CONNECT_USE_MAX_WAIT bounds the connection to two minutes.
        const Bstr resource(path);
        ComPtr<IWbemServices> services;
        const HRESULT hr =
            owner->ConnectServer(resource.get(), nullptr, nullptr, nullptr,
                                 WBEM_FLAG_CONNECT_USE_MAX_WAIT, nullptr, nullptr, services.put());
        result.status = StatusOf(hr);
        if (SUCCEEDED(hr)) result.object = objects->Add(services.detach(), kServices);
        return result;
      });
}

win::Status Win32Wmi::SetProxyBlanket(WmiObject services) {
  return calls_.Run<win::Status>([objects = objects_, services] {
    const ComPtr<IWbemServices> proxy = Acquire<IWbemServices>(*objects, services, kServices);
    return StatusOf(proxy ? SetBlanket(proxy.get()) : E_INVALIDARG);
  });
}

WmiObjectResult Win32Wmi::ExecQuery(WmiObject services, std::string_view language,
                                    std::string_view query, std::uint32_t flags) {
  return calls_.Run<WmiObjectResult>([objects = objects_, services,
                                      language = std::string(language), query = std::string(query),
                                      flags] {
    WmiObjectResult result;
    const ComPtr<IWbemServices> owner = Acquire<IWbemServices>(*objects, services, kServices);
    if (!owner) {
      result.status = StatusOf(E_INVALIDARG);
      return result;
    }
    const Bstr language_text(language);
    const Bstr query_text(query);
    ComPtr<IEnumWbemClassObject> enumerator;
    HRESULT hr = owner->ExecQuery(language_text.get(), query_text.get(), static_cast<LONG>(flags),
                                  nullptr, enumerator.put());
    // The enumerator is a proxy of its own and takes the same blanket.
    if (SUCCEEDED(hr)) hr = SetBlanket(enumerator.get());
    result.status = StatusOf(hr);
    if (SUCCEEDED(hr)) result.object = objects->Add(enumerator.detach(), kEnumerator);
    return result;
  });
}

WmiNextResult Win32Wmi::Next(WmiObject enumerator, std::uint32_t timeout_ms) {
  return calls_.Run<WmiNextResult>([objects = objects_, enumerator, timeout_ms] {
    WmiNextResult result;
    const ComPtr<IEnumWbemClassObject> owner =
        Acquire<IEnumWbemClassObject>(*objects, enumerator, kEnumerator);
    if (!owner) {
      result.status = StatusOf(E_INVALIDARG);
      return result;
    }
    ComPtr<IWbemClassObject> object;
    ULONG returned = 0;
    const HRESULT hr = owner->Next(static_cast<LONG>(timeout_ms), 1, object.put(), &returned);
    if (hr != WBEM_S_NO_ERROR) {
      result.status = StatusOf(hr);
      return result;
    }
    if (returned != 1 || !object) {
      result.status = ERROR_INVALID_DATA;
      return result;
    }
    return RecordOf(object.get());
  });
}

void Win32Wmi::Release(WmiObject object) {
  calls_.Release([objects = objects_, object] { objects->Remove(object); });
}

}  // namespace tabulon::platform::win32

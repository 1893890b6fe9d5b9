#include "platform/win32/network_logon.h"

#include <objbase.h>
#include <windows.h>

#include <string>

#include "platform/secret.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide.h"

namespace tabulon::platform::win32 {
namespace {

// Wipes a converted password before its buffer is freed.
struct WideSecret {
  explicit WideSecret(const Secret& secret) : text(ToWide(secret.reveal())) {}
  ~WideSecret() { WipeBytes(text.data(), text.size() * sizeof(wchar_t)); }
  WideSecret(const WideSecret&) = delete;
  WideSecret& operator=(const WideSecret&) = delete;
  std::wstring text;
};

}  // namespace

NetworkLogon LogOnForNetwork(const Credentials& credentials) {
  if (credentials.username.empty() || credentials.use_kerberos) return {};
  const std::wstring user = ToWide(credentials.username);
  const std::wstring domain = ToWide(credentials.domain);
  const WideSecret password(credentials.password);
  HANDLE token = nullptr;
  // LOGON32_LOGON_NEW_CREDENTIALS checks nothing here: the servers check
  // the account when a call first reaches them, and a wrong password shows
  // as that call's ERROR_LOGON_FAILURE or ERROR_ACCESS_DENIED.
  if (!::LogonUserW(user.c_str(), domain.empty() ? nullptr : domain.c_str(), password.text.c_str(),
                    LOGON32_LOGON_NEW_CREDENTIALS, LOGON32_PROVIDER_WINNT50, &token)) {
    return {static_cast<win::Status>(::GetLastError()), nullptr};
  }
  return {ERROR_SUCCESS, std::make_shared<Handle>(token)};
}

WorkerScope SessionWorkerScope(NetworkLogon logon) {
  if (logon.status != ERROR_SUCCESS) {
    const win::Status failed = logon.status;
    return {[failed] { return failed; }, {}};
  }
  std::shared_ptr<Handle> token = logon.token;
  auto enter = [token]() -> win::Status {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(com)) return static_cast<win::Status>(HRESULT_CODE(com));
    if (token != nullptr && !::ImpersonateLoggedOnUser(token->get())) {
      const auto status = static_cast<win::Status>(::GetLastError());
      ::CoUninitialize();
      return status;
    }
    return ERROR_SUCCESS;
  };
  auto leave = [token] {
    if (token != nullptr) ::RevertToSelf();
    ::CoUninitialize();
  };
  return {enter, leave};
}

}  // namespace tabulon::platform::win32

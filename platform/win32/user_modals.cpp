#include "platform/win32/user_modals.h"

#include <string>

#include "platform/win32/account_records.h"
#include "platform/win32/native_sid.h"
#include "platform/win32/net_buffer.h"

namespace tabulon::platform::win32 {
namespace {

// NetUserModalsGet at `level` into `result`: `take` converts the one record
// when the buffer holds it.
template <typename Record, typename Result, typename Take>
Result ModalsGet(BoundedCalls& calls, std::string_view server, DWORD level, Take take) {
  return calls.Run<Result>([server = std::string(server), level, take] {
    NetName name(server);
    NetBuffer buffer;
    Result result;
    result.status = ::NetUserModalsGet(name.get(), level, buffer.bytes_out());
    if (result.status != NERR_Success) return result;
    const auto records = RecordsIn<Record>(buffer, 1);
    if (records.empty() || !take(records[0], result)) {
      result = Result{};
      result.status = ERROR_INVALID_DATA;
    }
    return result;
  });
}

}  // namespace

UserModals0Result Win32UserModals::NetUserModalsGet0(std::string_view server) {
  return ModalsGet<USER_MODALS_INFO_0, UserModals0Result>(
      calls_, server, 0, [](const USER_MODALS_INFO_0& r, UserModals0Result& result) {
        result.info = ModalsOf(r);
        return true;
      });
}

UserModals2Result Win32UserModals::NetUserModalsGet2(std::string_view server) {
  return ModalsGet<USER_MODALS_INFO_2, UserModals2Result>(
      calls_, server, 2, [](const USER_MODALS_INFO_2& r, UserModals2Result& result) {
        const auto sid = SidOf(r.usrmod2_domain_id);
        if (!sid) return false;  // a database always has its domain's SID
        result.domain_name = NetText(r.usrmod2_domain_name);
        result.domain_id = *sid;
        return true;
      });
}

UserModals3Result Win32UserModals::NetUserModalsGet3(std::string_view server) {
  return ModalsGet<USER_MODALS_INFO_3, UserModals3Result>(
      calls_, server, 3, [](const USER_MODALS_INFO_3& r, UserModals3Result& result) {
        result.info = ModalsOf(r);
        return true;
      });
}

}  // namespace tabulon::platform::win32

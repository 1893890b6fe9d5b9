#include "platform/win32/schedule_service.h"

#include <string>

#include "platform/win32/net_buffer.h"
#include "platform/win32/netapi_records.h"

namespace tabulon::platform::win32 {

ScheduleJobEnumResult Win32ScheduleService::NetScheduleJobEnum(std::string_view server,
                                                               std::uint32_t preferred_max_length,
                                                               std::uint32_t resume_handle) {
  return calls_.Run<ScheduleJobEnumResult>(
      [server = std::string(server), preferred_max_length, resume_handle] {
        NetName name(server);
        NetBuffer buffer;
        DWORD read = 0, total = 0, resume = resume_handle;
        const NET_API_STATUS status = ::NetScheduleJobEnum(
            name.get(), buffer.bytes_out(), preferred_max_length, &read, &total, &resume);
        ScheduleJobEnumResult result;
        TakePage<AT_ENUM>(result, status, buffer, read, total, resume,
                          [](const AT_ENUM& job) { return AtEnumOf(job); });
        return result;
      });
}

}  // namespace tabulon::platform::win32

#pragma once
// What every NetAPI32 call shares: the buffer it allocates, released with
// NetApiBufferFree on every return path; the records in it, never more
// than the buffer holds whatever count the call reports; its strings, read
// to a bound. Kept free of <windows.h>: the buffer is a pointer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::platform::win32 {

// The most UTF-16 units read of one string a call returns: more than any
// name, path or comment Windows keeps (UNICODE_STRING counts in 16 bits).
inline constexpr std::size_t kMaxNetTextUnits = 32767;

class NetBuffer {
 public:
  NetBuffer() = default;
  NetBuffer(const NetBuffer&) = delete;
  NetBuffer& operator=(const NetBuffer&) = delete;
  ~NetBuffer();

  // Where the call writes its buffer: PVOID* or LPBYTE* as it declares.
  void** out() { return &buffer_; }
  unsigned char** bytes_out() { return reinterpret_cast<unsigned char**>(&buffer_); }
  const void* get() const { return buffer_; }
  // The bytes NetApiBufferSize reports; 0 without a buffer.
  std::size_t bytes() const;

 private:
  void* buffer_ = nullptr;
};

// The first `count` records of type `Record` that `buffer` holds: a count
// beyond the buffer is cut to what it holds (NetApiBufferSize's size).
template <typename Record>
std::span<const Record> RecordsIn(const NetBuffer& buffer, std::uint32_t count) {
  if (buffer.get() == nullptr) return {};
  const std::size_t held = buffer.bytes() / sizeof(Record);
  return {static_cast<const Record*>(buffer.get()), std::min<std::size_t>(count, held)};
}

// The two statuses that come with records (NERR_Success, ERROR_MORE_DATA)
// and the one for a reply that does not hold what it says
// (ERROR_INVALID_DATA), named here for files that include <windows.h> first.
inline constexpr std::uint32_t kNetSuccess = 0;
inline constexpr std::uint32_t kNetMoreData = 234;
inline constexpr std::uint32_t kNetInvalidData = 13;

// The `count` records of `buffer` converted into `out`; false, with nothing
// added, when the buffer does not hold that many.
template <typename Record, typename Entry, typename Convert>
bool TakeRecords(std::vector<Entry>& out, const NetBuffer& buffer, std::uint32_t count,
                 Convert convert) {
  const std::span<const Record> records = RecordsIn<Record>(buffer, count);
  if (records.size() < count) return false;
  for (const Record& record : records) out.push_back(convert(record));
  return true;
}

// One page of an enumeration into `result` (entries, total_entries,
// resume_handle): its records only with ERROR_SUCCESS or ERROR_MORE_DATA,
// any other status alone.
template <typename Record, typename Result, typename Convert>
void TakePage(Result& result, std::uint32_t status, const NetBuffer& buffer, std::uint32_t read,
              std::uint32_t total, std::uint32_t resume, Convert convert) {
  result.status = status;
  if (status != kNetSuccess && status != kNetMoreData) return;
  if (!TakeRecords<Record>(result.entries, buffer, read, convert)) {
    result.status = kNetInvalidData;
    return;
  }
  result.total_entries = total;
  result.resume_handle = resume;
}

// A string the API returned, as UTF-8: NULL is empty, and only the first
// kMaxNetTextUnits units (or `max_units`) are read.
std::string NetText(const wchar_t* text, std::size_t max_units = kMaxNetTextUnits);

// A server or name argument: empty stays NULL, which the calls read as this
// computer or no filter.
class NetName {
 public:
  explicit NetName(std::string_view utf8);
  wchar_t* get() { return empty_ ? nullptr : wide_.data(); }

 private:
  std::wstring wide_;
  bool empty_;
};

}  // namespace tabulon::platform::win32

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
// beyond the buffer is cut to what it holds.
template <typename Record>
std::span<const Record> RecordsIn(const NetBuffer& buffer, std::uint32_t count) {
  if (buffer.get() == nullptr) return {};
  const std::size_t held = buffer.bytes() / sizeof(Record);
  return {static_cast<const Record*>(buffer.get()), std::min<std::size_t>(count, held)};
}

// The two statuses that come with records: NERR_Success and
// ERROR_MORE_DATA, named here for files that include <windows.h> first.
inline constexpr std::uint32_t kNetSuccess = 0;
inline constexpr std::uint32_t kNetMoreData = 234;

// One page of an enumeration into `result` (entries, total_entries,
// resume_handle): its records only with ERROR_SUCCESS or ERROR_MORE_DATA,
// any other status alone.
template <typename Record, typename Result, typename Convert>
void TakePage(Result& result, std::uint32_t status, const NetBuffer& buffer, std::uint32_t read,
              std::uint32_t total, std::uint32_t resume, Convert convert) {
  result.status = status;
  if (status != kNetSuccess && status != kNetMoreData) return;
  for (const Record& record : RecordsIn<Record>(buffer, read)) {
    result.entries.push_back(convert(record));
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

#pragma once
// Deterministic stand-ins for the clock and the locale, and a scratch
// directory that disappears with the test.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "platform/locale.h"
#include "platform/time.h"
#include "platform/utf8_path.h"

namespace tabulon::testing {

class FixedClock final : public platform::Clock {
 public:
  explicit FixedClock(platform::SystemTime local) : local_(local) {}
  platform::SystemTime LocalNow() override { return local_; }
  platform::SystemTime UtcNow() override { return local_; }
  std::uint32_t TickCount() override { return 1000; }
  void set(platform::SystemTime t) { local_ = t; }

 private:
  platform::SystemTime local_;
};

// 2026-03-05 14:07:09, a Thursday.
inline platform::SystemTime March5() {
  platform::SystemTime t;
  t.year = 2026;
  t.month = 3;
  t.day = 5;
  t.day_of_week = 4;
  t.hour = 14;
  t.minute = 7;
  t.second = 9;
  return t;
}

// Month-first dates "M/D/YYYY", times "H:MM:SS" on a 24-hour clock.
class SimpleLocale final : public platform::Locale {
 public:
  std::string DateOrderCode() override { return "0"; }
  std::string DateSeparator() override { return "/"; }
  std::optional<std::string> FormatDate(const platform::SystemTime& t,
                                        std::string_view /*picture*/) override {
    if (!platform::IsValidSystemTime(t)) return std::nullopt;
    return std::to_string(t.month) + "/" + std::to_string(t.day) + "/" + std::to_string(t.year);
  }
  std::optional<std::string> FormatTime(const platform::SystemTime& t,
                                        std::string_view /*picture*/) override {
    if (!platform::IsValidSystemTime(t)) return std::nullopt;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", t.hour, t.minute, t.second);
    return std::string(buf);
  }
  std::optional<std::string> FormatNumber(std::string_view digits) override {
    return std::string(digits);
  }
  std::string WeekdayName(int day) override {
    static const char* kNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                   "Thursday", "Friday", "Saturday"};
    return kNames[day % 7];
  }
};

class ScratchDir {
 public:
  // A new folder of random name (create_directory refuses one that exists,
  // so two tests never share one), with a letter outside ASCII so that
  // every test that reads or writes files there goes through UTF-8 names.
  ScratchDir() {
    std::random_device random;
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    while (true) {
      const std::filesystem::path candidate =
          temp / std::filesystem::path(u8"tabulon-test-\u00e9-" +
                                       std::u8string(reinterpret_cast<const char8_t*>(
                                           std::to_string(random()).c_str())));
      std::error_code ec;
      if (std::filesystem::create_directory(candidate, ec)) {
        const std::u8string name = candidate.generic_u8string();
        path_.assign(name.begin(), name.end());
        return;
      }
      if (ec) std::abort();
    }
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(platform::Utf8Path(path_), ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }
  void Write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(platform::Utf8Path(File(name)), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Read(std::string_view name) const { return ReadFile(File(name)); }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(platform::Utf8Path(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return std::move(s).str();
  }

 private:
  std::string path_;
};

}  // namespace tabulon::testing

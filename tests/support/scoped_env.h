#pragma once
// Changes an environment variable for one test and puts it back afterwards;
// TZ changes are applied at once.
#include <stdlib.h>

#include <ctime>
#include <optional>
#include <string>

namespace tabulon::testing {

class ScopedEnv {
 public:
  // A null value removes the variable.
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedEnv() { Set(old_ ? old_->c_str() : nullptr); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Set(const char* value) {
#ifdef _WIN32
    // An empty value removes a variable on Windows.
    ::_putenv_s(name_.c_str(), value == nullptr ? "" : value);
    if (name_ == "TZ") ::_tzset();
#else
    if (value == nullptr) {
      ::unsetenv(name_.c_str());
    } else {
      ::setenv(name_.c_str(), value, 1);
    }
    if (name_ == "TZ") ::tzset();
#endif
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace tabulon::testing

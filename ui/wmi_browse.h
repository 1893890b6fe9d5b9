#pragma once
// Browsing the WMI classes of a reference computer for the WMI template
// editor: the classes of its root\CIMV2 namespace, a class's properties and
// their descriptions. It goes through the backend a run of the
// configuration would use, with the configuration's call timeout; every
// failure is the message a user sees, with the WMI error text.
#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "run/backends.h"

namespace tabulon::ui {

struct WmiClassListing {
  std::string error;                 // empty on success
  std::vector<std::string> classes;  // sorted without regard to case
};

struct WmiPropertyInfo {
  std::string name;
  std::string description;  // as shown (WmiDescription)
};

struct WmiPropertyListing {
  std::string error;  // empty on success
  std::string class_description;
  std::vector<WmiPropertyInfo> properties;
};

class WmiBrowser {
 public:
  // `reference_computer` is the WMI page's computer; blank is "." (the
  // computer the program runs on, an estate's own computer).
  WmiBrowser(const std::string& configuration, const std::string& data_folder,
             const std::string& reference_computer);
  WmiBrowser(const WmiBrowser&) = delete;
  WmiBrowser& operator=(const WmiBrowser&) = delete;

  // "\\NAME" as the messages name it.
  const std::string& computer() const { return computer_; }
  WmiClassListing Classes();
  WmiPropertyListing Properties(const std::string& class_name);
  void Cancel() { cancel_.store(1); }

 private:
  struct Connection;
  // Locator, connection and security; false with `error` set.
  bool Connect(Connection& connection, std::string& error);

  run::Backends backends_;
  std::string error_;  // why the backend could not be chosen
  std::string computer_;
  std::uint32_t timeout_ms_ = 0;
  std::atomic<int> cancel_{0};
};

// The names of `classes` containing `typed`, without regard to case.
std::vector<std::string> FindClasses(const std::vector<std::string>& classes,
                                     std::string_view typed);

// What the editor shows for a class or property: "__" names are WMI's own,
// else the Description qualifier with CR LF as LF, else that there is none.
std::string WmiDescription(std::string_view name, std::string_view description, bool is_class);

}  // namespace tabulon::ui

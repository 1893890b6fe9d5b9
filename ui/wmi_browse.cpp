#include "ui/wmi_browse.h"

#include <algorithm>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/run_settings.h"
#include "exporters/templates/wmi/wmi_query_text.h"
#include "format/settings.h"
#include "platform/session.h"
#include "platform/text.h"

namespace tabulon::ui {
namespace {

constexpr std::uint32_t kSchemaFlags = platform::kWbemFlagReturnImmediately |
                                       platform::kWbemFlagForwardOnly |
                                       platform::kWbemFlagUseAmendedQualifiers;

// The message followed by the WMI error text of the failing status.
std::string Failure(const std::string& message, win::Status status) {
  return message + WmiErrorText(static_cast<std::int32_t>(status), WmiStatusTextsOf(status));
}

// A WQL string literal: quotes and backslashes escaped.
std::string Quoted(std::string_view text) {
  std::string out = "'";
  for (const char c : text) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
}

bool LessNoCase(const std::string& a, const std::string& b) {
  return text::ToUpper(a) < text::ToUpper(b);
}

}  // namespace

// One connection's objects, released in reverse order when it ends.
struct WmiBrowser::Connection {
  std::unique_ptr<platform::TargetSession> session;
  std::vector<platform::WmiObject> objects;
  platform::WmiObject services = 0;

  platform::Wmi& wmi() { return session->wmi(); }
  platform::WmiObject Keep(platform::WmiObject object) {
    if (object != 0) objects.push_back(object);
    return object;
  }
  ~Connection() {
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) wmi().Release(*it);
  }
};

WmiBrowser::WmiBrowser(const std::string& configuration, const std::string& data_folder,
                       const std::string& reference_computer)
    : computer_(WmiComputerPart(reference_computer.empty() ? "." : reference_computer)) {
  if (!backends_.Select(configuration, data_folder, error_)) return;
  const Configuration config(*backends_.platform().profile, configuration);
  timeout_ms_ = ReadRunSettings(config).call_timeout_ms;
}

bool WmiBrowser::Connect(Connection& connection, std::string& error) {
  if (!error_.empty()) {
    error = error_;
    return false;
  }
  platform::SessionOptions options;
  options.credentials = &backends_.credentials();
  options.call_timeout_ms = timeout_ms_;
  options.cancel = platform::CancelToken(&cancel_);
  connection.session = backends_.platform().sessions->Open(computer_, options);
  platform::Wmi& wmi = connection.wmi();
  const platform::WmiObjectResult locator = wmi.CreateLocator();
  connection.Keep(locator.object);
  if (locator.status != win::ERROR_SUCCESS) {
    error = Failure(FormatMessageId(kMsgWmiInit, {}), locator.status);
    return false;
  }
  const platform::WmiObjectResult services =
      wmi.ConnectServer(locator.object, computer_ + "\\root\\CIMV2");
  connection.services = connection.Keep(services.object);
  if (services.status != win::ERROR_SUCCESS) {
    error = Failure(FormatMessageId(kMsgWmiConnect, {computer_}), services.status);
    return false;
  }
  if (const win::Status blanket = wmi.SetProxyBlanket(services.object);
      blanket != win::ERROR_SUCCESS) {
    error = Failure(FormatMessageId(kMsgWmiSecurity, {computer_}), blanket);
    return false;
  }
  return true;
}

WmiClassListing WmiBrowser::Classes() {
  WmiClassListing out;
  Connection connection;
  if (!Connect(connection, out.error)) return out;
  platform::Wmi& wmi = connection.wmi();
  const platform::WmiObjectResult classes =
      wmi.ExecQuery(connection.services, "WQL",
                    "SELECT * FROM " + std::string(platform::kWmiMetaClass), kSchemaFlags);
  connection.Keep(classes.object);
  win::Status status = classes.status;
  while (status == win::ERROR_SUCCESS) {
    platform::WmiNextResult next = wmi.Next(classes.object, timeout_ms_);
    status = next.status;
    if (status == win::ERROR_SUCCESS && next.instance) {
      out.classes.push_back(std::move(next.instance->class_name));
    }
  }
  if (status != platform::kWbemSFalse) {
    out.error = Failure(FormatMessageId(kMsgWmiClasses, {}), status);
    out.classes.clear();
    return out;
  }
  std::sort(out.classes.begin(), out.classes.end(), LessNoCase);
  return out;
}

WmiPropertyListing WmiBrowser::Properties(const std::string& class_name) {
  WmiPropertyListing out;
  Connection connection;
  if (!Connect(connection, out.error)) return out;
  platform::Wmi& wmi = connection.wmi();
  const platform::WmiObjectResult found =
      wmi.ExecQuery(connection.services, "WQL",
                    "SELECT * FROM " + std::string(platform::kWmiMetaClass) +
                        " WHERE __CLASS = " + Quoted(class_name),
                    kSchemaFlags);
  connection.Keep(found.object);
  platform::WmiNextResult next;
  next.status = found.status;
  if (found.status == win::ERROR_SUCCESS) next = wmi.Next(found.object, timeout_ms_);
  if (next.status == platform::kWbemSFalse) next.status = win::WBEM_E_NOT_FOUND;
  if (next.status != win::ERROR_SUCCESS || !next.instance) {
    out.error = Failure(FormatMessageId(kMsgWmiClassProperties, {class_name}), next.status);
    return out;
  }
  out.class_description =
      WmiDescription(next.instance->class_name, next.instance->description, true);
  for (const platform::WmiProperty& p : next.instance->properties) {
    out.properties.push_back({p.name, WmiDescription(p.name, p.description, false)});
  }
  return out;
}

std::vector<std::string> FindClasses(const std::vector<std::string>& classes,
                                     std::string_view typed) {
  const std::string wanted = text::ToUpper(typed);
  std::vector<std::string> found;
  for (const std::string& name : classes) {
    if (text::ToUpper(name).find(wanted) != std::string::npos) found.push_back(name);
  }
  return found;
}

std::string WmiDescription(std::string_view name, std::string_view description, bool is_class) {
  if (name.starts_with("__")) return is_class ? "WMI System Class" : "WMI System Property";
  if (description.empty()) return "WMI Description Not Defined";
  std::string shown;
  for (std::size_t i = 0; i < description.size(); ++i) {
    if (description[i] == '\r' && i + 1 < description.size() && description[i + 1] == '\n')
      continue;
    shown += description[i];
  }
  return shown;
}

}  // namespace tabulon::ui

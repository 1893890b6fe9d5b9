#pragma once
// WMI of a computer, after the COM interfaces a client uses: the locator
// (IWbemLocator), a namespace connection (IWbemServices) with its proxy
// blanket, the forward-only enumerator of a WQL query (IEnumWbemClassObject)
// and the instances it hands out (IWbemClassObject). Objects are numbers and
// each is released through Release; an instance comes back as a record, so
// reading its properties (Get) is local, as on a marshalled instance.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/status.h"

namespace tabulon::platform {

using WmiObject = std::uint64_t;  // 0 is no object

// CIMTYPE_ENUMERATION; an array has kCimFlagArray or-ed in.
inline constexpr std::uint16_t kCimSint16 = 2;
inline constexpr std::uint16_t kCimSint32 = 3;
inline constexpr std::uint16_t kCimReal32 = 4;
inline constexpr std::uint16_t kCimReal64 = 5;
inline constexpr std::uint16_t kCimString = 8;
inline constexpr std::uint16_t kCimBoolean = 11;
inline constexpr std::uint16_t kCimObject = 13;
inline constexpr std::uint16_t kCimSint8 = 16;
inline constexpr std::uint16_t kCimUint8 = 17;
inline constexpr std::uint16_t kCimUint16 = 18;
inline constexpr std::uint16_t kCimUint32 = 19;
inline constexpr std::uint16_t kCimSint64 = 20;
inline constexpr std::uint16_t kCimUint64 = 21;
inline constexpr std::uint16_t kCimDatetime = 101;
inline constexpr std::uint16_t kCimReference = 102;
inline constexpr std::uint16_t kCimChar16 = 103;
inline constexpr std::uint16_t kCimFlagArray = 0x2000;

// VARENUM: how a property's VARIANT holds its value. WMI maps the CIM types
// onto a few of them (see VariantTypeOfCim); an array is a SAFEARRAY with
// kVtArray or-ed in.
inline constexpr std::uint16_t kVtEmpty = 0;
inline constexpr std::uint16_t kVtNull = 1;
inline constexpr std::uint16_t kVtI2 = 2;
inline constexpr std::uint16_t kVtI4 = 3;
inline constexpr std::uint16_t kVtR4 = 4;
inline constexpr std::uint16_t kVtR8 = 5;
inline constexpr std::uint16_t kVtBstr = 8;
inline constexpr std::uint16_t kVtBool = 11;
inline constexpr std::uint16_t kVtUnknown = 13;
inline constexpr std::uint16_t kVtUi1 = 17;
inline constexpr std::uint16_t kVtI8 = 20;
inline constexpr std::uint16_t kVtArray = 0x2000;

// The VARIANT type WMI gives a value of `cim_type` (array flag included):
// 64-bit integers travel as strings, unsigned 16- and 32-bit ones widen to
// VT_I4, char16 and sint8 to VT_I2, embedded objects as VT_UNKNOWN.
std::uint16_t VariantTypeOfCim(std::uint16_t cim_type);

// One element of a VARIANT or of its SAFEARRAY: integers and booleans
// (VARIANT_TRUE is -1) as numbers, reals, strings; an embedded object is
// held as its class name.
using WmiElement = std::variant<std::int64_t, double, std::string>;

struct WmiVariant {
  std::uint16_t vt = kVtEmpty;
  std::vector<WmiElement> elements;  // exactly one unless vt has kVtArray
  std::int32_t lower_bound = 0;      // of an array's first dimension
  bool operator==(const WmiVariant&) const = default;
};

struct WmiProperty {
  std::string name;
  std::uint16_t cim_type = kCimString;
  WmiVariant value;
  // Of a class definition read with amended qualifiers: the property's
  // "Description" qualifier; empty when it has none.
  std::string description;
};

// An instance, or a class definition (a schema query's answer, whose
// properties are the class's with VT_NULL values).
struct WmiInstance {
  std::string class_name;
  std::vector<WmiProperty> properties;
  std::string description;  // a class definition's "Description" qualifier
};

// IWbemClassObject::Get.
struct WmiGetResult {
  win::Status status = win::ERROR_SUCCESS;
  WmiVariant value;
  std::uint16_t cim_type = 0;
};

// Get by name without regard to case; "__CLASS" is the class name, and a
// property the instance does not carry fails with WBEM_E_NOT_FOUND.
WmiGetResult GetWmiProperty(const WmiInstance& instance, std::string_view name);

struct WmiObjectResult {
  win::Status status = win::ERROR_SUCCESS;
  WmiObject object = 0;
};

// WBEM_S_FALSE: Next had no more instances. It shares its number with
// ERROR_INVALID_FUNCTION, so it is not a row of the status list.
inline constexpr win::Status kWbemSFalse = 1;

// IEnumWbemClassObject::Next with a count of one: the instance with
// ERROR_SUCCESS; kWbemSFalse at the end, WBEM_S_TIMEDOUT when none came in
// time, a failure status otherwise.
struct WmiNextResult {
  win::Status status = win::ERROR_SUCCESS;
  std::optional<WmiInstance> instance;
};

// ExecQuery flags.
inline constexpr std::uint32_t kWbemFlagReturnImmediately = 0x10;
inline constexpr std::uint32_t kWbemFlagForwardOnly = 0x20;
inline constexpr std::uint32_t kWbemFlagEnsureLocatable = 0x100;
// The localised (amended) qualifiers, such as "Description", come with
// class definitions.
inline constexpr std::uint32_t kWbemFlagUseAmendedQualifiers = 0x20000;

// The schema query's class: "SELECT * FROM meta_class" enumerates the
// namespace's class definitions, and a WHERE on "__CLASS" picks some.
inline constexpr std::string_view kWmiMetaClass = "meta_class";

class Wmi {
 public:
  virtual ~Wmi() = default;

  // CoCreateInstance of CLSID_WbemLocator (in-process, local and remote
  // server contexts).
  virtual WmiObjectResult CreateLocator() = 0;
  // IWbemLocator::ConnectServer to "\\COMPUTER\root\CIMV2"-style paths, as
  // the session's account and within its call timeout.
  virtual WmiObjectResult ConnectServer(WmiObject locator, std::string_view namespace_path) = 0;
  // CoSetProxyBlanket on the services: call-level authentication,
  // impersonation.
  virtual win::Status SetProxyBlanket(WmiObject services) = 0;
  // IWbemServices::ExecQuery; `language` is "WQL".
  virtual WmiObjectResult ExecQuery(WmiObject services, std::string_view language,
                                    std::string_view query, std::uint32_t flags) = 0;
  // The next instance, waiting at most `timeout_ms`.
  virtual WmiNextResult Next(WmiObject enumerator, std::uint32_t timeout_ms) = 0;
  // IUnknown::Release.
  virtual void Release(WmiObject object) = 0;
};

}  // namespace tabulon::platform

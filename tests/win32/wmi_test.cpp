// WMI through the Windows session: live on the classes Wine serves with real
// data, and the conversion of property VARIANTs on hand-made values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/session.h"
#include "platform/win32/file_system.h"
#include "platform/win32/session.h"
#include "platform/win32/wmi_values.h"

#include <windows.h>

#include <oleauto.h>

namespace tabulon::platform {
namespace {

constexpr std::uint32_t kFlags = kWbemFlagForwardOnly | kWbemFlagReturnImmediately;

class WmiLive : public ::testing::Test {
 protected:
  Win32FileSystem files_;
  win32::Win32Session session_{"\\\\.", SessionOptions{}, files_};
  Wmi& wmi_ = session_.wmi();

  WmiObject Connect() {
    const WmiObjectResult locator = wmi_.CreateLocator();
    EXPECT_EQ(locator.status, 0u);
    const WmiObjectResult services = wmi_.ConnectServer(locator.object, "\\\\.\\root\\cimv2");
    EXPECT_EQ(services.status, 0u);
    EXPECT_EQ(wmi_.SetProxyBlanket(services.object), 0u);
    wmi_.Release(locator.object);
    return services.object;
  }

  std::vector<WmiInstance> Query(WmiObject services, const std::string& wql) {
    const WmiObjectResult query = wmi_.ExecQuery(services, "WQL", wql, kFlags);
    EXPECT_EQ(query.status, 0u) << wql;
    std::vector<WmiInstance> out;
    for (int i = 0; i < 100; ++i) {
      WmiNextResult next = wmi_.Next(query.object, 10000);
      if (next.status != 0) {
        EXPECT_EQ(next.status, kWbemSFalse);
        break;
      }
      out.push_back(std::move(*next.instance));
    }
    wmi_.Release(query.object);
    return out;
  }
};

std::string Text(const WmiInstance& instance, std::string_view name) {
  const WmiGetResult got = GetWmiProperty(instance, name);
  if (got.status != 0 || got.value.vt != kVtBstr) return {};
  return std::get<std::string>(got.value.elements.at(0));
}

TEST_F(WmiLive, ReadsOperatingSystemAndDisksWithTheirCimTypes) {
  const WmiObject services = Connect();
  const std::vector<WmiInstance> os = Query(services, "SELECT * FROM Win32_OperatingSystem");
  ASSERT_EQ(os.size(), 1u);
  EXPECT_EQ(os[0].class_name, "Win32_OperatingSystem");
  EXPECT_FALSE(Text(os[0], "Caption").empty());
  EXPECT_EQ(Text(os[0], "__CLASS"), "Win32_OperatingSystem");

  const std::vector<WmiInstance> disks =
      Query(services, "SELECT * FROM Win32_LogicalDisk WHERE DeviceID = 'C:'");
  ASSERT_EQ(disks.size(), 1u);
  EXPECT_EQ(Text(disks[0], "DeviceID"), "C:");
  const WmiGetResult drive_type = GetWmiProperty(disks[0], "DriveType");
  ASSERT_EQ(drive_type.status, 0u);
  EXPECT_EQ(drive_type.cim_type, kCimUint32);
  EXPECT_EQ(drive_type.value, (WmiVariant{kVtI4, {std::int64_t{3}}, 0}));

  // Every value WMI gave travels as the VARIANT type of its CIM type.
  const std::vector<WmiInstance> computers = Query(services, "SELECT * FROM Win32_ComputerSystem");
  ASSERT_EQ(computers.size(), 1u);
  EXPECT_FALSE(Text(computers[0], "Name").empty());
  for (const WmiInstance* instance : {&os[0], &disks[0], &computers[0]}) {
    for (const WmiProperty& p : instance->properties) {
      if (p.value.vt == kVtNull) continue;
      EXPECT_EQ(p.value.vt, VariantTypeOfCim(p.cim_type)) << instance->class_name << "." << p.name;
    }
  }
  wmi_.Release(services);
}

TEST_F(WmiLive, RefusesWrongObjectsAndBadQueries) {
  const WmiObject services = Connect();
  EXPECT_EQ(wmi_.ExecQuery(12345, "WQL", "SELECT * FROM Win32_OperatingSystem", kFlags).status,
            static_cast<win::Status>(E_INVALIDARG));
  // A services object is no enumerator.
  EXPECT_EQ(wmi_.Next(services, 0).status, static_cast<win::Status>(E_INVALIDARG));
  const WmiObjectResult bad = wmi_.ExecQuery(services, "WQL", "SELECT FROM", kFlags);
  EXPECT_NE(bad.status, 0u);
  EXPECT_EQ(bad.object, 0u);
  wmi_.Release(services);
  EXPECT_EQ(wmi_.SetProxyBlanket(services), static_cast<win::Status>(E_INVALIDARG));
}

// Owns a hand-made VARIANT.
struct Made {
  VARIANT v;
  Made() { ::VariantInit(&v); }
  ~Made() { ::VariantClear(&v); }
};

SAFEARRAY* BstrArray(LONG lower, const std::vector<const wchar_t*>& items) {
  SAFEARRAYBOUND bound{static_cast<ULONG>(items.size()), lower};
  SAFEARRAY* array = ::SafeArrayCreate(VT_BSTR, 1, &bound);
  for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
    LONG index = lower + i;
    BSTR item = items[i] == nullptr ? nullptr : ::SysAllocString(items[i]);
    ::SafeArrayPutElement(array, &index, item);
    ::SysFreeString(item);
  }
  return array;
}

TEST(WmiValues, ConvertsScalarsAndArrays) {
  Made i4;
  i4.v.vt = VT_I4;
  i4.v.lVal = -7;
  EXPECT_EQ(win32::WmiVariantOf(i4.v).value, (WmiVariant{kVtI4, {std::int64_t{-7}}, 0}));
  Made yes;
  yes.v.vt = VT_BOOL;
  yes.v.boolVal = VARIANT_TRUE;
  EXPECT_EQ(win32::WmiVariantOf(yes.v).value, (WmiVariant{kVtBool, {std::int64_t{-1}}, 0}));
  Made real;
  real.v.vt = VT_R8;
  real.v.dblVal = 2.5;
  EXPECT_EQ(win32::WmiVariantOf(real.v).value, (WmiVariant{kVtR8, {2.5}, 0}));
  Made null_text;  // a NULL BSTR is an empty string
  null_text.v.vt = VT_BSTR;
  EXPECT_EQ(win32::WmiVariantOf(null_text.v).value, (WmiVariant{kVtBstr, {std::string()}, 0}));
  Made text;
  text.v.vt = VT_BSTR;
  text.v.bstrVal = ::SysAllocStringLen(L"\u00dcber\0x", 6);  // the length counts, not the NUL
  EXPECT_EQ(win32::WmiVariantOf(text.v).value, (WmiVariant{kVtBstr,
                                                           {std::string("\xC3\x9C"
                                                                        "ber\0x",
                                                                        7)},
                                                           0}));
  Made null;
  null.v.vt = VT_NULL;
  EXPECT_EQ(win32::WmiVariantOf(null.v).value, (WmiVariant{kVtNull, {}, 0}));
  Made array;
  array.v.vt = VT_ARRAY | VT_BSTR;
  array.v.parray = BstrArray(1, {L"a", nullptr, L"c"});
  const win32::WmiVariantResult got = win32::WmiVariantOf(array.v);
  EXPECT_EQ(got.status, 0u);
  EXPECT_EQ(got.value, (WmiVariant{kVtArray | kVtBstr, {"a", "", "c"}, 1}));
}

TEST(WmiValues, RefusesWhatWmiNeverSends) {
  Made dispatch;
  dispatch.v.vt = VT_DISPATCH;
  EXPECT_EQ(win32::WmiVariantOf(dispatch.v).status, win::Status{ERROR_INVALID_DATA});

  Made no_array;
  no_array.v.vt = VT_ARRAY | VT_I4;
  EXPECT_EQ(win32::WmiVariantOf(no_array.v).status, win::Status{ERROR_INVALID_DATA});

  SAFEARRAYBOUND square[2] = {{2, 0}, {2, 0}};
  Made two_dimensions;
  two_dimensions.v.vt = VT_ARRAY | VT_I4;
  two_dimensions.v.parray = ::SafeArrayCreate(VT_I4, 2, square);
  EXPECT_EQ(win32::WmiVariantOf(two_dimensions.v).status, win::Status{ERROR_INVALID_DATA});

  // Elements of another size than the VARIANT claims.
  Made mismatch;
  mismatch.v.vt = VT_ARRAY | VT_R8;
  mismatch.v.parray = ::SafeArrayCreate(VT_I4, 1, square);
  EXPECT_EQ(win32::WmiVariantOf(mismatch.v).status, win::Status{ERROR_INVALID_DATA});

  // A count beyond the bound is refused before any element is read.
  LONG one = 0;
  SAFEARRAY huge{};
  huge.cDims = 1;
  huge.cbElements = sizeof(LONG);
  huge.pvData = &one;
  huge.rgsabound[0].cElements = win32::kMaxWmiArrayElements + 1;
  VARIANT hostile;
  hostile.vt = VT_ARRAY | VT_I4;
  hostile.parray = &huge;
  EXPECT_EQ(win32::WmiVariantOf(hostile).status, win::Status{ERROR_INVALID_DATA});

  Made long_text;
  long_text.v.vt = VT_BSTR;
  long_text.v.bstrVal = ::SysAllocStringLen(nullptr, win32::kMaxWmiTextChars + 1);
  EXPECT_EQ(win32::WmiVariantOf(long_text.v).status, win::Status{ERROR_INVALID_DATA});
}

}  // namespace
}  // namespace tabulon::platform

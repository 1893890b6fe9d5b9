// The families that hand out handles and size their answers by the
// caller's buffer: service control, the registry and the print spooler.
#include <gtest/gtest.h>

#include <algorithm>

#include "contract/contract.h"
#include "platform/text.h"

namespace tabulon::testing::contract {
namespace {

using platform::kServiceStateAll;
using platform::kServiceWin32;

template <typename Backend>
class ServiceControlContract : public Contract<Backend> {
 protected:
  platform::ServiceControl& scm() { return this->session().services(); }
};
TYPED_TEST_SUITE_P(ServiceControlContract);

std::vector<std::string> ServiceNames(const platform::EnumServicesResult& result) {
  std::vector<std::string> names;
  for (const platform::EnumServiceStatus& s : result.services) names.push_back(s.service_name);
  return names;
}

// A first call with no buffer says how many bytes the listing needs;
// smaller buffers give what fits and the resume handle, and the pieces make
// the whole list.
TYPED_TEST_P(ServiceControlContract, ListingIsSizedAndResumed) {
  CONTRACT_FAMILY(facts, serving, services);
  const platform::ServiceHandleResult manager =
      this->scm().OpenSCManager(facts.machine, platform::kScManagerEnumerateService);
  if (Refused(serving, manager)) return;
  ASSERT_EQ(manager.status, win::ERROR_SUCCESS);
  const platform::EnumServicesResult sizing =
      this->scm().EnumServicesStatus(manager.handle, kServiceWin32, kServiceStateAll, 0, 0);
  EXPECT_EQ(sizing.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(sizing.services_returned, 0u);
  EXPECT_TRUE(sizing.services.empty());
  ASSERT_GT(sizing.bytes_needed, 0u);
  const platform::EnumServicesResult whole = this->scm().EnumServicesStatus(
      manager.handle, kServiceWin32, kServiceStateAll, sizing.bytes_needed, 0);
  EXPECT_EQ(whole.status, win::ERROR_SUCCESS);
  EXPECT_EQ(whole.services_returned, whole.services.size());
  const std::vector<std::string> names = ServiceNames(whole);
  EXPECT_GE(names.size(), 3u);
  EXPECT_TRUE(std::any_of(names.begin(), names.end(), [&](const std::string& name) {
    return text::EqualsNoCase(name, facts.service);
  })) << facts.service;

  std::vector<std::string> pieces;
  std::uint32_t buffer = sizing.bytes_needed / 3;
  std::uint32_t resume = 0;
  for (int call = 0; call < 100; ++call) {
    const platform::EnumServicesResult page = this->scm().EnumServicesStatus(
        manager.handle, kServiceWin32, kServiceStateAll, buffer, resume);
    const std::vector<std::string> got = ServiceNames(page);
    pieces.insert(pieces.end(), got.begin(), got.end());
    EXPECT_EQ(page.services_returned, got.size());
    if (page.status != win::ERROR_MORE_DATA) {
      EXPECT_EQ(page.status, win::ERROR_SUCCESS);
      break;
    }
    // What is left needs more than this buffer: at least one more entry.
    EXPECT_GT(page.bytes_needed, 0u);
    if (got.empty()) buffer = page.bytes_needed;
    resume = page.resume_handle;
  }
  EXPECT_EQ(pieces, names);
  EXPECT_TRUE(this->scm().CloseServiceHandle(manager.handle));
}

TYPED_TEST_P(ServiceControlContract, ConfigurationIsSizedByAFirstCall) {
  CONTRACT_FAMILY(facts, serving, services);
  const platform::ServiceHandleResult manager =
      this->scm().OpenSCManager(facts.machine, platform::kScManagerEnumerateService);
  if (Refused(serving, manager)) return;
  const platform::ServiceHandleResult service =
      this->scm().OpenService(manager.handle, facts.service, platform::kServiceQueryConfig);
  ASSERT_EQ(service.status, win::ERROR_SUCCESS);
  const platform::ServiceConfigResult sizing = this->scm().QueryServiceConfig(service.handle, 0);
  EXPECT_EQ(sizing.status, win::ERROR_INSUFFICIENT_BUFFER);
  ASSERT_GT(sizing.bytes_needed, 0u);
  const platform::ServiceConfigResult short_by_one =
      this->scm().QueryServiceConfig(service.handle, sizing.bytes_needed - 1);
  EXPECT_EQ(short_by_one.status, win::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(short_by_one.bytes_needed, sizing.bytes_needed);
  const platform::ServiceConfigResult config =
      this->scm().QueryServiceConfig(service.handle, sizing.bytes_needed);
  EXPECT_EQ(config.status, win::ERROR_SUCCESS);
  EXPECT_NE(config.config.service_type & kServiceWin32, 0u);
  EXPECT_TRUE(this->scm().CloseServiceHandle(service.handle));
  EXPECT_TRUE(this->scm().CloseServiceHandle(manager.handle));
}

TYPED_TEST_P(ServiceControlContract, UnknownServicesClosedHandlesAndAccess) {
  CONTRACT_FAMILY(facts, serving, services);
  const platform::ServiceHandleResult manager =
      this->scm().OpenSCManager(facts.machine, platform::kScManagerEnumerateService);
  if (Refused(serving, manager)) return;
  EXPECT_EQ(this->scm()
                .OpenService(manager.handle, "NoSuchService", platform::kServiceQueryConfig)
                .status,
            win::ERROR_SERVICE_DOES_NOT_EXIST);
  const platform::ServiceHandleResult service =
      this->scm().OpenService(manager.handle, facts.service, platform::kServiceQueryConfig);
  ASSERT_EQ(service.status, win::ERROR_SUCCESS);
  EXPECT_TRUE(this->scm().CloseServiceHandle(service.handle));
  EXPECT_FALSE(this->scm().CloseServiceHandle(service.handle)) << "closed twice";
  EXPECT_EQ(this->scm().QueryServiceConfig(service.handle, 4096).status, win::ERROR_INVALID_HANDLE);
  EXPECT_TRUE(this->scm().CloseServiceHandle(manager.handle));
  EXPECT_EQ(
      this->scm().EnumServicesStatus(manager.handle, kServiceWin32, kServiceStateAll, 0, 0).status,
      win::ERROR_INVALID_HANDLE);
  if (facts.checks_access) {
    const platform::ServiceHandleResult weak = this->scm().OpenSCManager(facts.machine, 0x0001);
    ASSERT_EQ(weak.status, win::ERROR_SUCCESS);
    EXPECT_EQ(
        this->scm().EnumServicesStatus(weak.handle, kServiceWin32, kServiceStateAll, 0, 0).status,
        win::ERROR_ACCESS_DENIED);
    EXPECT_TRUE(this->scm().CloseServiceHandle(weak.handle));
  }
}

REGISTER_TYPED_TEST_SUITE_P(ServiceControlContract, ListingIsSizedAndResumed,
                            ConfigurationIsSizedByAFirstCall,
                            UnknownServicesClosedHandlesAndAccess);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, ServiceControlContract, Backends);

template <typename Backend>
class RegistryContract : public Contract<Backend> {
 protected:
  platform::Registry& registry() { return this->session().registry(); }
  // The facts' key, opened for reading below the machine's
  // HKEY_LOCAL_MACHINE; the hive is closed again.
  platform::RegistryKey OpenFactsKey(const RegistryFacts& facts) {
    const platform::RegistryKeyResult hklm =
        registry().ConnectRegistry(facts.machine, platform::kHkeyLocalMachine);
    EXPECT_EQ(hklm.status, win::ERROR_SUCCESS);
    const platform::RegistryKeyResult key =
        registry().OpenKey(hklm.key, facts.key, platform::kKeyRead);
    EXPECT_EQ(key.status, win::ERROR_SUCCESS);
    EXPECT_EQ(registry().OpenKey(hklm.key, facts.key + "\\NoSuchKey", platform::kKeyRead).status,
              win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry().CloseKey(hklm.key), win::ERROR_SUCCESS);
    return key.key;
  }
};
TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, ValuesAreSizedByTheCallersBuffer) {
  CONTRACT_FAMILY(facts, serving, registry);
  if (Refused(serving,
              this->registry().ConnectRegistry(facts.machine, platform::kHkeyLocalMachine))) {
    return;
  }
  const platform::RegistryKey key = this->OpenFactsKey(facts);
  const platform::RegistryValueResult sizing = this->registry().QueryValue(key, facts.value, 0);
  EXPECT_EQ(sizing.status, win::ERROR_MORE_DATA);
  EXPECT_EQ(sizing.type, platform::kRegSz);
  EXPECT_TRUE(sizing.data.empty());
  ASSERT_GT(sizing.data_size, 2u);
  EXPECT_EQ(this->registry().QueryValue(key, facts.value, sizing.data_size - 1).status,
            win::ERROR_MORE_DATA);
  const platform::RegistryValueResult value =
      this->registry().QueryValue(key, facts.value, sizing.data_size);
  EXPECT_EQ(value.status, win::ERROR_SUCCESS);
  EXPECT_EQ(value.type, platform::kRegSz);
  EXPECT_EQ(value.data.size(), sizing.data_size);
  EXPECT_EQ(this->registry().QueryValue(key, "NoSuchValue", 4096).status,
            win::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(this->registry().CloseKey(key), win::ERROR_SUCCESS);
}

// Subkeys and values by index, as many as the key's information counts,
// until ERROR_NO_MORE_ITEMS; a name buffer too small is ERROR_MORE_DATA.
TYPED_TEST_P(RegistryContract, SubkeysAndValuesByIndex) {
  CONTRACT_FAMILY(facts, serving, registry);
  if (Refused(serving,
              this->registry().ConnectRegistry(facts.machine, platform::kHkeyLocalMachine))) {
    return;
  }
  const platform::RegistryKey key = this->OpenFactsKey(facts);
  const platform::RegistryKeyInfo info = this->registry().QueryInfoKey(key);
  ASSERT_EQ(info.status, win::ERROR_SUCCESS);
  EXPECT_GE(info.subkeys, 2u);
  EXPECT_GE(info.values, 1u);
  std::uint32_t subkeys = 0;
  for (; subkeys < 10000; ++subkeys) {
    const platform::RegistryEnumKeyResult sub =
        this->registry().EnumKey(key, subkeys, info.max_subkey_name_chars + 1);
    if (sub.status == win::ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(sub.status, win::ERROR_SUCCESS) << subkeys;
    EXPECT_FALSE(sub.name.empty());
  }
  EXPECT_EQ(subkeys, info.subkeys);
  EXPECT_EQ(this->registry().EnumKey(key, 0, 1).status, win::ERROR_MORE_DATA);
  std::uint32_t values = 0;
  for (; values < 10000; ++values) {
    const platform::RegistryEnumValueResult value = this->registry().EnumValue(
        key, values, info.max_value_name_chars + 1, info.max_value_data_bytes);
    if (value.status == win::ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(value.status, win::ERROR_SUCCESS) << values;
    EXPECT_EQ(value.data.size(), value.data_size);
  }
  EXPECT_EQ(values, info.values);
  EXPECT_EQ(this->registry().CloseKey(key), win::ERROR_SUCCESS);
}

TYPED_TEST_P(RegistryContract, ClosedKeysAreInvalidHandles) {
  CONTRACT_FAMILY(facts, serving, registry);
  if (Refused(serving,
              this->registry().ConnectRegistry(facts.machine, platform::kHkeyLocalMachine))) {
    return;
  }
  const platform::RegistryKey key = this->OpenFactsKey(facts);
  EXPECT_EQ(this->registry().CloseKey(key), win::ERROR_SUCCESS);
  EXPECT_EQ(this->registry().CloseKey(key), win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(this->registry().QueryValue(key, facts.value, 4096).status, win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(this->registry().EnumKey(key, 0, 256).status, win::ERROR_INVALID_HANDLE);
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, ValuesAreSizedByTheCallersBuffer,
                            SubkeysAndValuesByIndex, ClosedKeysAreInvalidHandles);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, RegistryContract, Backends);

template <typename Backend>
class PrintingContract : public Contract<Backend> {
 protected:
  platform::Printing& printing() { return this->session().printing(); }
};
TYPED_TEST_SUITE_P(PrintingContract);

TYPED_TEST_P(PrintingContract, ListingIsSizedByAFirstCall) {
  CONTRACT_FAMILY(facts, serving, printing);
  const platform::EnumPrintersResult sizing =
      this->printing().EnumPrinters(platform::kPrinterEnumName, facts.server, 2, 0);
  if (Refused(serving, sizing)) return;
  EXPECT_EQ(sizing.status, win::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_TRUE(sizing.printers.empty());
  ASSERT_GT(sizing.bytes_needed, 0u);
  const platform::EnumPrintersResult short_by_one = this->printing().EnumPrinters(
      platform::kPrinterEnumName, facts.server, 2, sizing.bytes_needed - 1);
  EXPECT_EQ(short_by_one.status, win::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(short_by_one.bytes_needed, sizing.bytes_needed);
  const platform::EnumPrintersResult listing = this->printing().EnumPrinters(
      platform::kPrinterEnumName, facts.server, 2, sizing.bytes_needed);
  ASSERT_EQ(listing.status, win::ERROR_SUCCESS);
  EXPECT_EQ(listing.returned, listing.printers.size());
  EXPECT_GE(listing.printers.size(), 2u);
  EXPECT_TRUE(std::any_of(listing.printers.begin(), listing.printers.end(),
                          [&](const platform::PrinterInfo2& p) {
                            return text::EqualsNoCase(p.printer_name, facts.printer);
                          }))
      << facts.printer;
  EXPECT_EQ(
      this->printing().EnumPrinters(platform::kPrinterEnumName, facts.server, 1, 100000).status,
      win::ERROR_INVALID_LEVEL);
}

TYPED_TEST_P(PrintingContract, OnePrinterThroughAHandle) {
  CONTRACT_FAMILY(facts, serving, printing);
  const platform::PrinterHandleResult opened = this->printing().OpenPrinter(facts.printer);
  if (Refused(serving, opened)) return;
  ASSERT_EQ(opened.status, win::ERROR_SUCCESS);
  const platform::GetPrinterResult sizing = this->printing().GetPrinter(opened.handle, 2, 0);
  EXPECT_EQ(sizing.status, win::ERROR_INSUFFICIENT_BUFFER);
  ASSERT_GT(sizing.bytes_needed, 0u);
  const platform::GetPrinterResult info =
      this->printing().GetPrinter(opened.handle, 2, sizing.bytes_needed);
  EXPECT_EQ(info.status, win::ERROR_SUCCESS);
  EXPECT_TRUE(text::EqualsNoCase(info.info.printer_name, facts.printer)) << info.info.printer_name;
  EXPECT_TRUE(this->printing().ClosePrinter(opened.handle));
  EXPECT_FALSE(this->printing().ClosePrinter(opened.handle)) << "closed twice";
  EXPECT_EQ(this->printing().GetPrinter(opened.handle, 2, 100000).status,
            win::ERROR_INVALID_HANDLE);
  EXPECT_EQ(this->printing().OpenPrinter(facts.server + "\\NoSuchPrinter").status,
            win::ERROR_INVALID_PRINTER_NAME);
}

REGISTER_TYPED_TEST_SUITE_P(PrintingContract, ListingIsSizedByAFirstCall, OnePrinterThroughAHandle);
INSTANTIATE_TYPED_TEST_SUITE_P(Every, PrintingContract, Backends);

}  // namespace
}  // namespace tabulon::testing::contract

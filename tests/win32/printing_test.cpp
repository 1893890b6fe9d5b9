// The spooler family on Windows: the decoding of PRINTER_INFO_2W buffers
// made by hand (hostile ones too), and the calls on Wine's own spooler,
// given a printer of its own for the test.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "platform/bounded_calls.h"
#include "platform/win32/printer_records.h"
#include "platform/win32/printing.h"
#include "platform/win32/wide.h"

// The statuses expected, named before <windows.h> turns the names into
// macros of another type.
namespace tabulon::platform::win32::expect {
constexpr win::Status kOk = win::ERROR_SUCCESS;
constexpr win::Status kInvalidData = win::ERROR_INVALID_DATA;
constexpr win::Status kInsufficientBuffer = win::ERROR_INSUFFICIENT_BUFFER;
constexpr win::Status kInvalidLevel = win::ERROR_INVALID_LEVEL;
constexpr win::Status kNotEnoughMemory = win::ERROR_NOT_ENOUGH_MEMORY;
constexpr win::Status kInvalidPrinterName = win::ERROR_INVALID_PRINTER_NAME;
constexpr win::Status kInvalidHandle = win::ERROR_INVALID_HANDLE;
}  // namespace tabulon::platform::win32::expect

#include <windows.h>
#include <winspool.h>
// The A/W names would rename the family's methods.
#undef EnumPrinters
#undef OpenPrinter
#undef GetPrinter

namespace tabulon::platform::win32 {
namespace {

// A spooler buffer made by hand: the records first, the strings after.
class SpoolerBuffer {
 public:
  explicit SpoolerBuffer(std::size_t records)
      : words_(1024), used_(records * sizeof(PRINTER_INFO_2W)) {}
  PRINTER_INFO_2W& record(std::size_t i) {
    return reinterpret_cast<PRINTER_INFO_2W*>(words_.data())[i];
  }
  wchar_t* Put(std::wstring_view text) {
    auto* at = reinterpret_cast<wchar_t*>(base() + used_);
    std::memcpy(at, text.data(), text.size() * sizeof(wchar_t));
    at[text.size()] = L'\0';
    used_ += (text.size() + 1) * sizeof(wchar_t);
    return at;
  }
  // The bytes filled, less `cut` from the end.
  std::span<const std::uint8_t> bytes(std::size_t cut = 0) {
    return {reinterpret_cast<const std::uint8_t*>(base()), used_ - cut};
  }

 private:
  std::uint8_t* base() { return reinterpret_cast<std::uint8_t*>(words_.data()); }
  std::vector<std::uint64_t> words_;
  std::size_t used_;
};

TEST(Win32PrinterRecords, DecodesRecordsAndTheStringsTheyPointAt) {
  SpoolerBuffer buffer(2);
  PRINTER_INFO_2W& first = buffer.record(0);
  first.pServerName = buffer.Put(L"\\\\PRINTSRV");
  first.pPrinterName = buffer.Put(L"\\\\PRINTSRV\\K\u00fcche");
  first.pLocation = buffer.Put(L"Floor 2");
  first.Attributes = PRINTER_ATTRIBUTE_SHARED;
  first.Status = PRINTER_STATUS_PAPER_OUT;
  first.AveragePPM = 22;
  // Null strings, as a printer without a share or comment has them.
  buffer.record(1).pPrinterName = buffer.Put(L"Plain");

  std::vector<PrinterInfo2> printers;
  ASSERT_EQ(DecodePrinterInfo2(buffer.bytes(), 2, printers), expect::kOk);
  ASSERT_EQ(printers.size(), 2u);
  const PrinterInfo2& p = printers[0];
  EXPECT_EQ(p.server_name, "\\\\PRINTSRV");
  EXPECT_EQ(p.printer_name,
            "\\\\PRINTSRV\\K\xC3\xBC"
            "che");
  EXPECT_EQ(p.share_name, "");
  EXPECT_EQ(p.location, "Floor 2");
  EXPECT_EQ(p.attributes, kPrinterAttributeShared);
  EXPECT_EQ(p.status, kPrinterStatusPaperOut);
  EXPECT_EQ(p.average_ppm, 22u);
  EXPECT_EQ(printers[1].printer_name, "Plain");
  EXPECT_EQ(printers[1].comment, "");
}

TEST(Win32PrinterRecords, RefusesRecordsAndStringsOutsideTheBuffer) {
  static const wchar_t kElsewhere[] = L"outside";
  struct Case {
    const char* name;
    std::uint32_t returned;
    std::size_t cut;  // bytes taken off the buffer's end
    void (*spoil)(PRINTER_INFO_2W&, wchar_t* last);
  };
  const Case cases[] = {
      {"more records than the buffer holds", 3, 0, [](PRINTER_INFO_2W&, wchar_t*) {}},
      {"a string elsewhere in memory", 1, 0,
       [](PRINTER_INFO_2W& r, wchar_t*) { r.pComment = const_cast<wchar_t*>(kElsewhere); }},
      {"a string past the buffer's end", 1, 10,
       [](PRINTER_INFO_2W& r, wchar_t* last) { r.pComment = last + 6; }},
      {"a string whose terminator is cut off", 2, 2, [](PRINTER_INFO_2W&, wchar_t*) {}},
      {"a string at an odd address", 1, 0,
       [](PRINTER_INFO_2W& r, wchar_t* last) {
         r.pComment = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(last) + 1);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SpoolerBuffer buffer(2);
    buffer.record(0).pPrinterName = buffer.Put(L"First");
    wchar_t* last = buffer.Put(L"Last one");
    buffer.record(1).pPrinterName = last;
    c.spoil(buffer.record(0), last);
    std::vector<PrinterInfo2> printers(1);
    EXPECT_EQ(DecodePrinterInfo2(buffer.bytes(c.cut), c.returned, printers), expect::kInvalidData);
    EXPECT_TRUE(printers.empty());
  }
}

// A printer of Wine's own on its PostScript driver, removed afterwards.
class Win32PrintingOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = L"Tabulon Test " + std::to_wstring(::testing::UnitTest::GetInstance()->random_seed());
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(kDriver);
    wchar_t path[] = L"c:\\windows\\system32\\wineps.drv";
    driver.pDriverPath = driver.pDataFile = driver.pConfigFile = path;
    ASSERT_TRUE(
        ::AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES))
        << ::GetLastError();
    PRINTER_INFO_2W info{};
    info.pPrinterName = name_.data();
    info.pPortName = const_cast<wchar_t*>(L"LPT1:");
    info.pDriverName = const_cast<wchar_t*>(kDriver);
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.pLocation = const_cast<wchar_t*>(L"Stra\u00dfe 5");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE added = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    ASSERT_NE(added, nullptr) << ::GetLastError();
    ::ClosePrinter(added);
  }
  void TearDown() override {
    HANDLE printer = nullptr;
    if (::OpenPrinterW(name_.data(), &printer, nullptr)) {
      ::DeletePrinter(printer);
      ::ClosePrinter(printer);
    }
  }
  std::string name() const { return ToUtf8(name_); }

  static constexpr const wchar_t* kDriver = L"Wine PostScript Driver";
  std::wstring name_;
  BoundedCalls calls_{std::chrono::milliseconds(30000), CancelToken()};
  Win32Printing spooler_{calls_};
};

TEST_F(Win32PrintingOnWine, ListsThePrinterAfterTheSizingCall) {
  const EnumPrintersResult sizing = spooler_.EnumPrinters(kPrinterEnumLocal, "", 2, 0);
  ASSERT_EQ(sizing.status, expect::kInsufficientBuffer);
  ASSERT_GT(sizing.bytes_needed, 0u);
  const EnumPrintersResult listing =
      spooler_.EnumPrinters(kPrinterEnumLocal, "", 2, sizing.bytes_needed);
  ASSERT_EQ(listing.status, expect::kOk);
  EXPECT_EQ(listing.returned, listing.printers.size());
  const PrinterInfo2* ours = nullptr;
  for (const PrinterInfo2& p : listing.printers) {
    if (p.printer_name == name()) ours = &p;
  }
  ASSERT_NE(ours, nullptr);
  EXPECT_EQ(ours->port_name, "LPT1:");
  EXPECT_EQ(ours->driver_name, "Wine PostScript Driver");
  EXPECT_EQ(ours->location,
            "Stra\xC3\x9F"
            "e 5");
}

TEST_F(Win32PrintingOnWine, ReadsTheOpenPrinterAndClosesItOnce) {
  const PrinterHandleResult opened = spooler_.OpenPrinter(name());
  ASSERT_EQ(opened.status, expect::kOk);
  ASSERT_NE(opened.handle, 0u);
  const GetPrinterResult sizing = spooler_.GetPrinter(opened.handle, 2, 0);
  ASSERT_EQ(sizing.status, expect::kInsufficientBuffer);
  const GetPrinterResult got = spooler_.GetPrinter(opened.handle, 2, sizing.bytes_needed);
  ASSERT_EQ(got.status, expect::kOk);
  EXPECT_EQ(got.info.printer_name, name());
  EXPECT_EQ(got.info.port_name, "LPT1:");
  EXPECT_TRUE(spooler_.ClosePrinter(opened.handle));
  EXPECT_FALSE(spooler_.ClosePrinter(opened.handle));
  EXPECT_EQ(spooler_.GetPrinter(opened.handle, 2, sizing.bytes_needed).status,
            expect::kInvalidHandle);
}

TEST_F(Win32PrintingOnWine, RefusesWhatTheFamilyDoesNotAsk) {
  EXPECT_EQ(spooler_.EnumPrinters(kPrinterEnumLocal, "", 1, 0).status, expect::kInvalidLevel);
  EXPECT_EQ(spooler_.EnumPrinters(kPrinterEnumLocal, "", 2, (16u << 20) + 1).status,
            expect::kNotEnoughMemory);
  EXPECT_EQ(spooler_.OpenPrinter("No Such Printer").status, expect::kInvalidPrinterName);
  EXPECT_EQ(spooler_.GetPrinter(12345, 2, 0).status, expect::kInvalidHandle);
}

}  // namespace
}  // namespace tabulon::platform::win32

// The print spoolers of estate computers: sized listings, single printers
// by name or share name, and injected failures.
#include "estate/printing.h"

#include <gtest/gtest.h>

#include "platform/sizes.h"
#include "sample_estate.h"

namespace tabulon::estate {
namespace {

constexpr std::string_view kEstate = R"json({
  "local_computer": "PS01",
  "computers": [
    {"name": "PS01", "server": {"type": ["SERVER", "PRINTQ", "NT"]},
     "printers": [
       {"name": "Laser", "share_name": "LaserShare", "port": "IP_192.0.2.50",
        "driver": "Generic Laser", "attributes": ["SHARED", "LOCAL", "QUEUED"],
        "status": "PAUSED", "jobs": 3, "priority": 2},
       {"name": "Plotter", "status": ["ERROR", "PAPER_JAM"],
        "failures": {"GetPrinter": "ERROR_ACCESS_DENIED"}}
     ]},
    {"name": "EMPTY"},
    {"name": "DOWN", "offline": true, "printers": [{"name": "P"}]},
    {"name": "REFUSES", "printers": [{"name": "P"}],
     "failures": {"EnumPrinters": "ERROR_ACCESS_DENIED", "OpenPrinter": 5}}
  ]
})json";

class EstatePrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = testing::BackendFrom(kEstate);
    p_ = backend_->OpenSession("");
  }
  std::unique_ptr<EstateBackend> backend_;
  std::unique_ptr<EstateSession> p_;
};

TEST_F(EstatePrintingTest, ListingIsSizedAsWindowsSizesIt) {
  const platform::EnumPrintersResult sizing =
      p_->printing().EnumPrinters(platform::kPrinterEnumName, "\\\\ps01", 2, 0);
  const platform::EnumPrintersResult listing =
      p_->printing().EnumPrinters(platform::kPrinterEnumName, "\\\\ps01", 2, sizing.bytes_needed);
  ASSERT_EQ(listing.status, win::ERROR_SUCCESS);
  ASSERT_EQ(listing.returned, 2u);
  EXPECT_EQ(sizing.bytes_needed, platform::PrinterInfo2Bytes(listing.printers[0]) +
                                     platform::PrinterInfo2Bytes(listing.printers[1]));
  EXPECT_EQ(listing.printers[0].printer_name, "\\\\ps01\\Laser") << "the server as asked";

  // This computer's own printers carry no server name.
  const platform::EnumPrintersResult local =
      p_->printing().EnumPrinters(platform::kPrinterEnumLocal, "", 2, 100000);
  EXPECT_EQ(local.printers.at(0).printer_name, "Laser");
  EXPECT_EQ(local.printers.at(0).server_name, "");
}

TEST_F(EstatePrintingTest, ListingStatuses) {
  struct Case {
    std::uint32_t flags;
    std::string_view name;
    std::uint32_t level;
    win::Status expected;
  };
  const Case cases[] = {
      {platform::kPrinterEnumName, "\\\\EMPTY", 2, win::ERROR_SUCCESS},
      {platform::kPrinterEnumName, "\\\\DOWN", 2, win::RPC_S_SERVER_UNAVAILABLE},
      {platform::kPrinterEnumName, "\\\\NOBODY", 2, win::RPC_S_SERVER_UNAVAILABLE},
      {platform::kPrinterEnumName, "\\\\REFUSES", 2, win::ERROR_ACCESS_DENIED},
      {platform::kPrinterEnumName, "\\\\PS01", 1, win::ERROR_INVALID_LEVEL},
      {platform::kPrinterEnumConnections, "", 2, win::ERROR_SUCCESS},
  };
  for (const Case& c : cases) {
    const platform::EnumPrintersResult r = p_->printing().EnumPrinters(c.flags, c.name, c.level, 0);
    EXPECT_EQ(r.status, c.expected) << c.name;
    EXPECT_EQ(r.bytes_needed, 0u) << c.name;
  }
}

TEST_F(EstatePrintingTest, SinglePrinters) {
  struct Case {
    std::string_view name;
    win::Status open;
    win::Status get;
    std::string_view printer_name;
  };
  const Case cases[] = {
      {"\\\\PS01\\laser", win::ERROR_SUCCESS, win::ERROR_SUCCESS, "\\\\PS01\\Laser"},
      {"\\\\PS01\\LaserShare", win::ERROR_SUCCESS, win::ERROR_SUCCESS, "\\\\PS01\\Laser"},
      {"Laser", win::ERROR_SUCCESS, win::ERROR_SUCCESS, "Laser"},
      {"\\\\PS01\\Plotter", win::ERROR_SUCCESS, win::ERROR_ACCESS_DENIED, ""},
      {"\\\\PS01\\Nothing", win::ERROR_INVALID_PRINTER_NAME, 0, ""},
      {"\\\\PS01", win::ERROR_INVALID_PRINTER_NAME, 0, ""},
      {"\\\\DOWN\\P", win::RPC_S_SERVER_UNAVAILABLE, 0, ""},
      {"\\\\REFUSES\\P", win::ERROR_ACCESS_DENIED, 0, ""},
  };
  for (const Case& c : cases) {
    const platform::PrinterHandleResult opened = p_->printing().OpenPrinter(c.name);
    EXPECT_EQ(opened.status, c.open) << c.name;
    if (opened.status != win::ERROR_SUCCESS) continue;
    const platform::GetPrinterResult sizing = p_->printing().GetPrinter(opened.handle, 2, 0);
    const platform::GetPrinterResult info =
        p_->printing().GetPrinter(opened.handle, 2, sizing.bytes_needed);
    EXPECT_EQ(info.status, c.get) << c.name;
    if (c.get == win::ERROR_SUCCESS) {
      EXPECT_EQ(sizing.status, win::ERROR_INSUFFICIENT_BUFFER);
      EXPECT_EQ(info.info.printer_name, c.printer_name);
    }
    EXPECT_EQ(p_->printing().GetPrinter(opened.handle, 1, 100000).status, win::ERROR_INVALID_LEVEL);
    EXPECT_EQ(p_->DescribeOpenHandles().size(), 1u);
    EXPECT_TRUE(p_->printing().ClosePrinter(opened.handle));
  }
  EXPECT_EQ(p_->OpenHandles(), 0u);
}

}  // namespace
}  // namespace tabulon::estate

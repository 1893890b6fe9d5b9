// The print spooler family against a real print server: the printer list
// and one printer read through an open handle, with the sizing calls the
// printers export makes, compared with what Samba's own client lists.
#include <gtest/gtest.h>

#include "platform/remote/remote_backend.h"
#include "samba/print_server.h"
#include "samba/remote_run.h"
#include "support/fakes.h"
#include "support/server_required.h"

namespace tabulon::testing {
namespace {

class RemotePrinters : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string& why_not = IsolateNetwork(); !why_not.empty())
      SKIP_WITHOUT_SERVER(why_not);
    std::string why_not;
    server_ = SambaServer::Start(why_not, PrintServerSetup(dir_.path()));
    if (!server_) SKIP_WITHOUT_SERVER(why_not);
    listed_ = RpcclientPrinterNames(*server_, 2);
    session_ = backend_.Open("\\\\127.0.0.1", TestUserLogin());
  }

  ScratchDir dir_;
  std::unique_ptr<SambaServer> server_;
  std::vector<std::string> listed_;
  platform::remote::RemoteBackend backend_{SambaTransports, nullptr};
  std::unique_ptr<platform::TargetSession> session_;
};

TEST_F(RemotePrinters, ListsWhatSambasClientLists) {
  ASSERT_EQ(listed_, (std::vector<std::string>{"\\\\127.0.0.1\\laser", "\\\\127.0.0.1\\inkjet"}));
  platform::Printing& printing = session_->printing();
  const platform::EnumPrintersResult sizing =
      printing.EnumPrinters(platform::kPrinterEnumName, "\\\\127.0.0.1", 2, 0);
  ASSERT_EQ(sizing.status, win::ERROR_INSUFFICIENT_BUFFER);
  const platform::EnumPrintersResult too_small = printing.EnumPrinters(
      platform::kPrinterEnumName, "\\\\127.0.0.1", 2, sizing.bytes_needed - 1);
  EXPECT_EQ(too_small.status, win::ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(too_small.bytes_needed, sizing.bytes_needed);
  const platform::EnumPrintersResult listing =
      printing.EnumPrinters(platform::kPrinterEnumName, "\\\\127.0.0.1", 2, sizing.bytes_needed);
  ASSERT_EQ(listing.status, win::ERROR_SUCCESS);
  std::vector<std::string> names;
  for (const platform::PrinterInfo2& p : listing.printers) names.push_back(p.printer_name);
  EXPECT_EQ(names, listed_);
  EXPECT_EQ(listing.returned, 2u);
}

TEST_F(RemotePrinters, ReadsOnePrinterThroughAHandle) {
  platform::Printing& printing = session_->printing();
  EXPECT_EQ(printing.OpenPrinter("\\\\127.0.0.1\\nosuch").status, win::ERROR_INVALID_PRINTER_NAME);
  const platform::PrinterHandleResult laser = printing.OpenPrinter("\\\\127.0.0.1\\laser");
  ASSERT_EQ(laser.status, win::ERROR_SUCCESS);
  const platform::GetPrinterResult sizing = printing.GetPrinter(laser.handle, 2, 0);
  ASSERT_EQ(sizing.status, win::ERROR_INSUFFICIENT_BUFFER);
  const platform::GetPrinterResult info = printing.GetPrinter(laser.handle, 2, sizing.bytes_needed);
  ASSERT_EQ(info.status, win::ERROR_SUCCESS);
  EXPECT_EQ(info.info.printer_name, "\\\\127.0.0.1\\laser");
  EXPECT_EQ(info.info.share_name, "laser");
  EXPECT_EQ(info.info.comment, "Laser printer");
  EXPECT_EQ(info.info.datatype, "RAW");
  EXPECT_TRUE(printing.ClosePrinter(laser.handle));
  // A handle left open is closed by the session.
  EXPECT_EQ(printing.OpenPrinter("\\\\127.0.0.1\\inkjet").status, win::ERROR_SUCCESS);
}

}  // namespace
}  // namespace tabulon::testing

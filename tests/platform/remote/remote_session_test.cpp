// Sessions of the remote backend: what reaches the transport, what a failing
// transport gives, and the handles a session closes on its way out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/remote/remote_backend.h"
#include "platform/remote/sample_stubs.h"
#include "platform/remote/spoolss_codec.h"
#include "platform/remote/svcctl_codec.h"

namespace tabulon::platform::remote {
namespace {

struct Sent {
  std::string server;
  std::string pipe;
  std::uint16_t opnum;
};

// Answers svcctl and spoolss opens and closes; everything else with
// `failure`.
class FakeTransport final : public RpcTransport {
 public:
  FakeTransport(std::vector<Sent>& log, win::Status failure) : log_(log), failure_(failure) {}
  RpcReply Call(std::string_view server, const RpcInterface& iface, std::uint16_t opnum,
                std::span<const std::uint8_t>) override {
    log_.push_back({std::string(server), std::string(iface.pipe), opnum});
    if (iface.pipe == "svcctl" && failure_ == win::ERROR_SUCCESS) {
      if (opnum == svcctl::kRCloseServiceHandle) return {win::ERROR_SUCCESS, testing::CloseReply()};
      return {win::ERROR_SUCCESS, testing::OpenReply()};
    }
    if (iface.pipe == "spoolss" && failure_ == win::ERROR_SUCCESS) {
      if (opnum == spoolss::kRpcClosePrinter) return {win::ERROR_SUCCESS, testing::CloseReply()};
      if (opnum == spoolss::kRpcOpenPrinter) return {win::ERROR_SUCCESS, testing::OpenReply()};
    }
    return {failure_, {}};
  }

 private:
  std::vector<Sent>& log_;
  win::Status failure_;
};

RemoteBackend BackendLogging(std::vector<Sent>& log, win::Status failure) {
  return RemoteBackend(
      [&log, failure](const SessionOptions&) {
        return std::make_unique<FakeTransport>(log, failure);
      },
      nullptr);
}

TEST(RemoteSession, TransportFailuresAreTheCallsStatus) {
  std::vector<Sent> log;
  RemoteBackend backend = BackendLogging(log, win::RPC_S_SERVER_UNAVAILABLE);
  auto session = backend.Open("\\\\FS01", {});
  EXPECT_EQ(session->server().NetServerGetInfo101("\\\\FS01").status,
            win::RPC_S_SERVER_UNAVAILABLE);
  const ServiceHandleResult manager = session->services().OpenSCManager("\\\\FS01", 4);
  EXPECT_EQ(manager.status, win::RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(manager.handle, 0u);
  EXPECT_EQ(session->services().EnumServicesStatus(77, 0x30, 3, 0, 0).status,
            win::ERROR_INVALID_HANDLE);
  // Families no interface serves yet say so.
  EXPECT_EQ(session->browser().NetServerEnum101("CORP", 0xFFFFFFFF, 0xFFFFFFFF, 0).status,
            win::ERROR_NOT_SUPPORTED);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].server, "FS01");
  EXPECT_EQ(log[0].pipe, "srvsvc");
  EXPECT_EQ(log[1].pipe, "svcctl");
}

TEST(RemoteSession, HandlesLeftOpenAreClosedWhenTheSessionEnds) {
  std::vector<Sent> log;
  RemoteBackend backend = BackendLogging(log, win::ERROR_SUCCESS);
  {
    auto session = backend.Open("\\\\FS01", {});
    ServiceControl& services = session->services();
    const ServiceHandleResult manager = services.OpenSCManager("\\\\FS01", 4);
    ASSERT_EQ(manager.status, win::ERROR_SUCCESS);
    const ServiceHandleResult spooler = services.OpenService(manager.handle, "Spooler", 1);
    ASSERT_EQ(spooler.status, win::ERROR_SUCCESS);
    const ServiceHandleResult time = services.OpenService(manager.handle, "W32Time", 1);
    EXPECT_TRUE(services.CloseServiceHandle(time.handle));
    EXPECT_FALSE(services.CloseServiceHandle(time.handle)) << "closed once";
  }
  std::vector<std::uint16_t> opnums;
  for (const Sent& s : log) opnums.push_back(s.opnum);
  // Open manager, two services, the close asked for, then the session closes
  // the service before its manager.
  EXPECT_EQ(opnums, (std::vector<std::uint16_t>{15, 16, 16, 0, 0, 0}));
}

// Printers are opened on the server their name gives (a bare name is on the
// target) and those left open are closed there when the session ends.
TEST(RemoteSession, PrintersLeftOpenAreClosedOnTheirServer) {
  std::vector<Sent> log;
  RemoteBackend backend = BackendLogging(log, win::ERROR_SUCCESS);
  {
    auto session = backend.Open("\\\\FS01", {});
    Printing& printing = session->printing();
    const PrinterHandleResult laser = printing.OpenPrinter("\\\\PS1\\laser");
    ASSERT_EQ(laser.status, win::ERROR_SUCCESS);
    const PrinterHandleResult ink = printing.OpenPrinter("ink");
    ASSERT_EQ(ink.status, win::ERROR_SUCCESS);
    EXPECT_EQ(printing.GetPrinter(ink.handle, 1, 0).status, win::ERROR_INVALID_LEVEL);
    EXPECT_EQ(printing.EnumPrinters(8, "\\\\PS1", 2, 0xFFFFFFFF).status,
              win::ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_TRUE(printing.ClosePrinter(ink.handle));
    EXPECT_FALSE(printing.ClosePrinter(ink.handle)) << "closed once";
    EXPECT_EQ(printing.GetPrinter(ink.handle, 2, 0).status, win::ERROR_INVALID_HANDLE);
  }
  std::vector<std::string> calls;
  for (const Sent& s : log)
    calls.push_back(s.server + " " + s.pipe + " " + std::to_string(s.opnum));
  EXPECT_EQ(calls, (std::vector<std::string>{"PS1 spoolss 1", "FS01 spoolss 1", "FS01 spoolss 29",
                                             "PS1 spoolss 29"}));
}

}  // namespace
}  // namespace tabulon::platform::remote

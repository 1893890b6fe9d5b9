#include <gtest/gtest.h>

#include <functional>

#include "platform/unsupported/unsupported.h"

namespace tabulon::unsupported {
namespace {

TEST(UnsupportedRegistryPrinting, EveryCallFailsAndNoHandleIsHandedOut) {
  UnsupportedRegistry registry;
  UnsupportedPrinting printing;
  const std::function<win::Status()> calls[] = {
      [&] { return registry.ConnectRegistry("\\\\A", platform::kHkeyLocalMachine).status; },
      [&] { return registry.OpenKey(platform::kHkeyLocalMachine, "SOFTWARE", 1).status; },
      [&] { return registry.QueryValue(0x1000, "V", 256).status; },
      [&] { return registry.EnumKey(0x1000, 0, 256).status; },
      [&] { return registry.EnumValue(0x1000, 0, 256, 256).status; },
      [&] { return registry.QueryInfoKey(0x1000).status; },
      [&] { return printing.EnumPrinters(platform::kPrinterEnumName, "\\\\A", 2, 0).status; },
      [&] { return printing.OpenPrinter("\\\\A\\P").status; },
      [&] { return printing.GetPrinter(1, 2, 0).status; },
  };
  for (std::size_t i = 0; i < std::size(calls); ++i) {
    EXPECT_EQ(calls[i](), win::ERROR_NOT_SUPPORTED) << "call " << i;
  }
  EXPECT_EQ(registry.ConnectRegistry("\\\\A", platform::kHkeyUsers).key, 0u);
  EXPECT_EQ(printing.OpenPrinter("\\\\A\\P").handle, 0u);
  EXPECT_EQ(registry.CloseKey(platform::kHkeyUsers), win::ERROR_SUCCESS);
  EXPECT_EQ(registry.CloseKey(0x1000), win::ERROR_INVALID_HANDLE);
  EXPECT_FALSE(printing.ClosePrinter(1));
}

}  // namespace
}  // namespace tabulon::unsupported

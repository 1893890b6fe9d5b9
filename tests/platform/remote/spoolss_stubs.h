#pragma once
// Print spooler responses built by hand: printer record buffers laid out
// byte by byte, and the stubs that carry them.
#include <cstdint>
#include <vector>

namespace tabulon::platform::remote::testing {

// Two PRINTER_INFO_2 records (84 bytes each) and their variable data, 256
// bytes. Each record's offsets count from its own start: the second
// record's printer name lies at buffer 206, its offset field (buffer 88)
// holds 122; its security descriptor (36 bytes, an owner SID) lies at
// buffer 216, its offset field (buffer 132) holds 132, and the owner's
// offset within it is at buffer 220. The last 4 bytes are two characters
// without a NUL.
std::vector<std::uint8_t> PrinterEnum2Buffer();
// RpcEnumPrinters answered with `buffer`, two records, success.
std::vector<std::uint8_t> EnumPrinters2Reply(const std::vector<std::uint8_t>& buffer);
std::vector<std::uint8_t> EnumPrintersTooSmallReply();  // null buffer, 1234 needed
std::vector<std::uint8_t> GetPrinter2Reply();           // one record, success

}  // namespace tabulon::platform::remote::testing

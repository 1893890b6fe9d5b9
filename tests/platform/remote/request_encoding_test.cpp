// Request stubs against bytes worked out by hand from the interface
// definitions: referent ids count up from 0x00020000 by 4, strings carry
// their NUL, everything is aligned to its size from the start of the stub.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/remote/ndr/ndr_writer.h"
#include "platform/remote/srvsvc_codec.h"
#include "platform/remote/svcctl_codec.h"

namespace tabulon::platform::remote {
namespace {

ndr::ContextHandle Handle1To20() {
  ndr::ContextHandle h;
  for (std::uint8_t i = 0; i < 20; ++i) h.bytes[i] = static_cast<std::uint8_t>(i + 1);
  return h;
}

struct EncodeCase {
  const char* name;
  std::vector<std::uint8_t> actual;
  std::vector<std::uint8_t> expected;
};

// clang-format off
std::vector<EncodeCase> Cases() {
  return {
    {"NetrServerGetInfo", srvsvc::EncodeServerGetInfo("\\\\S", 101), {
        0x00, 0x00, 0x02, 0x00,                          // ServerName referent id
        0x04, 0, 0, 0,  0, 0, 0, 0,  0x04, 0, 0, 0,      // max 4, offset 0, actual 4
        0x5c, 0, 0x5c, 0, 0x53, 0, 0, 0,                 // "\\S" NUL
        0x65, 0, 0, 0}},                                 // Level 101
    {"NetrShareEnum", srvsvc::EncodeShareEnum("", 502, 0x1000, 7), {
        0, 0, 0, 0,                                      // ServerName: null
        0xf6, 0x01, 0, 0,  0xf6, 0x01, 0, 0,             // Level 502, union discriminant
        0x00, 0x00, 0x02, 0x00,                          // container referent id
        0, 0, 0, 0,  0, 0, 0, 0,                         // EntriesRead 0, Buffer null
        0x00, 0x10, 0, 0,                                // PreferedMaximumLength
        0x04, 0x00, 0x02, 0x00,  0x07, 0, 0, 0}},        // ResumeHandle id, value 7
    {"ROpenSCManagerW", svcctl::EncodeOpenSCManager("\\\\S", 4), {
        0x00, 0x00, 0x02, 0x00,                          // lpMachineName referent id
        0x04, 0, 0, 0,  0, 0, 0, 0,  0x04, 0, 0, 0,
        0x5c, 0, 0x5c, 0, 0x53, 0, 0, 0,
        0, 0, 0, 0,                                      // lpDatabaseName: null
        0x04, 0, 0, 0}},                                 // SC_MANAGER_ENUMERATE_SERVICE
    {"ROpenServiceW", svcctl::EncodeOpenService(Handle1To20(), "Ab", 1), {
        1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
        0x03, 0, 0, 0,  0, 0, 0, 0,  0x03, 0, 0, 0,      // lpServiceName (a reference)
        0x41, 0, 0x62, 0, 0, 0,  0, 0,                   // "Ab" NUL, padding
        0x01, 0, 0, 0}},                                 // SERVICE_QUERY_CONFIG
    {"REnumServicesStatusW", svcctl::EncodeEnumServicesStatus(Handle1To20(), 0x30, 3, 300000, 0), {
        1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
        0x30, 0, 0, 0,  0x03, 0, 0, 0,                   // SERVICE_WIN32, SERVICE_STATE_ALL
        0x00, 0x00, 0x04, 0x00,                          // cbBufSize held to 256 KiB
        0x00, 0x00, 0x02, 0x00,  0, 0, 0, 0}},           // lpResumeIndex
  };
}
// clang-format on

TEST(RequestEncoding, MatchesHandDerivedBytes) {
  for (const auto& c : Cases()) {
    EXPECT_EQ(c.actual, c.expected) << c.name;
  }
}

// Referents follow their construct in pointer order, each followed by its
// own deferred referents before the next sibling's.
TEST(NdrWriter, DefersReferentsDepthFirst) {
  ndr::NdrWriter w;
  w.Construct([&] {
    w.Pointer(true, [&] {
      w.U32(0xA);
      w.Pointer(true, [&] { w.U32(0xAA); });
    });
    w.Pointer(true, [&] { w.U32(0xB); });
  });
  const std::vector<std::uint8_t> expected = {
      0x00, 0x00, 0x02, 0x00, 0x04, 0x00, 0x02, 0x00,  // the construct: two ids
      0x0A, 0,    0,    0,    0x08, 0x00, 0x02, 0x00,  // first referent and its pointer
      0xAA, 0,    0,    0,                             // ... whose referent comes next
      0x0B, 0,    0,    0};                            // then the second referent
  EXPECT_EQ(w.bytes(), expected);
}

TEST(NdrWriter, AlignsFromTheStubStartAndWritesUnicodeStrings) {
  ndr::NdrWriter w;
  w.U8(1);
  w.U64(0x0102030405060708);
  w.U8(2);
  w.UnicodeString("ab");
  const std::vector<std::uint8_t> expected = {
      1,    0, 0,    0,    0,    0,    0, 0, 8, 7, 6, 5, 4, 3, 2, 1,  // byte, 7 padding, hyper
      2,    0, 4,    0,    4,    0,                       // byte, padding, Length, MaximumLength
      0,    0, 0x00, 0x00, 0x02, 0x00,                    // padding, buffer referent id
      2,    0, 0,    0,    0,    0,    0, 0, 2, 0, 0, 0,  // max 2, offset 0, actual 2: no NUL
      0x61, 0, 0x62, 0};
  EXPECT_EQ(w.bytes(), expected);
}

}  // namespace
}  // namespace tabulon::platform::remote

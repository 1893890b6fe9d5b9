#pragma once
// What every contract suite shares: the fixture that opens a session of the
// backend under test, the check of a refused call, and the paging checks.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "contract/backends.h"
#include "platform/netapi.h"
#include "platform/nt_status.h"
#include "platform/status.h"
#include "support/server_required.h"

namespace tabulon::testing::contract {

template <typename Backend>
class Contract : public ::testing::Test {
 protected:
  const BackendFacts& facts() const { return Backend::Factory().facts(); }
  // Starts the backend (its server, at the first test that needs it) and
  // opens a session; empty when it could, else why not. A refused family
  // needs no server.
  std::string Start(Serving serving) {
    std::string why_not = serving == Serving::kRefused ? "" : Backend::Factory().Start();
    if (why_not.empty()) session_ = Backend::Factory().Open();
    return why_not;
  }
  platform::TargetSession& session() { return *session_; }

 private:
  std::unique_ptr<platform::TargetSession> session_;
};

// Whether the family is refused; for a refused family, checks that the
// answer says so (`refusal`: the LSA calls' NTSTATUS) and holds nothing, so
// that the test can end there.
template <typename Result>
bool Refused(Serving serving, const Result& result,
             win::Status refusal = win::ERROR_NOT_SUPPORTED) {
  if (serving != Serving::kRefused) return false;
  EXPECT_EQ(result.status, refusal);
  if constexpr (requires { result.entries; }) {
    EXPECT_TRUE(result.entries.empty());
  }
  if constexpr (requires { result.handle; }) {
    EXPECT_EQ(result.handle, 0u);
  }
  if constexpr (requires { result.key; }) {
    EXPECT_EQ(result.key, 0u);
  }
  if constexpr (requires { result.services; }) {
    EXPECT_TRUE(result.services.empty());
  }
  if constexpr (requires { result.printers; }) {
    EXPECT_TRUE(result.printers.empty());
  }
  if constexpr (requires { result.sessions; }) {
    EXPECT_TRUE(result.sessions.empty());
  }
  if constexpr (requires { result.processes; }) {
    EXPECT_TRUE(result.processes.empty());
  }
  return true;
}

// The facts of a family of the backend under test and a session, or the
// end of the test where another backend's server covers the family or the
// backend's server did not start.
#define CONTRACT_FAMILY(facts_name, serving_name, member)                                       \
  const auto& facts_name##_family = this->facts().member;                                       \
  if (facts_name##_family.serving == Serving::kElsewhere) {                                     \
    GTEST_SKIP() << facts_name##_family.elsewhere;                                              \
  }                                                                                             \
  if (const std::string why_not = this->Start(facts_name##_family.serving); !why_not.empty()) { \
    SKIP_WITHOUT_SERVER(why_not);                                                               \
  }                                                                                             \
  const auto& facts_name = facts_name##_family.facts;                                           \
  const Serving serving_name = facts_name##_family.serving

// A listing with resume handles, as the network management calls page it:
// read whole, then in pieces of `length` bytes. Every page but the last
// says ERROR_MORE_DATA and holds at least one entry, the last says
// ERROR_SUCCESS with the resume handle back at 0, and the pieces together
// are the whole listing. `call(length, resume)` makes one call, `name(entry)`
// tells entries apart. Returns the whole listing's names.
template <typename Call, typename Name>
std::vector<std::string> ExpectPagesMakeTheWhole(Call call, Name name,
                                                 std::vector<std::uint32_t> lengths = {1, 100}) {
  const auto whole = call(platform::kMaxPreferredLength, 0u);
  EXPECT_EQ(whole.status, win::ERROR_SUCCESS);
  EXPECT_EQ(whole.resume_handle, 0u);
  EXPECT_EQ(whole.total_entries, whole.entries.size());
  std::vector<std::string> names;
  for (const auto& entry : whole.entries) names.push_back(name(entry));
  for (const std::uint32_t length : lengths) {
    std::vector<std::string> pieces;
    std::uint32_t resume = 0;
    for (int page = 0;; ++page) {
      if (page > 1000) {
        ADD_FAILURE() << "no end after 1000 pages of " << length << " bytes";
        break;
      }
      const auto result = call(length, resume);
      for (const auto& entry : result.entries) pieces.push_back(name(entry));
      if (result.status == win::ERROR_SUCCESS) {
        EXPECT_EQ(result.resume_handle, 0u) << "the last page of " << length << " bytes";
        break;
      }
      EXPECT_EQ(result.status, win::ERROR_MORE_DATA) << length << " bytes, page " << page;
      EXPECT_FALSE(result.entries.empty()) << length << " bytes, page " << page;
      if (result.status != win::ERROR_MORE_DATA || result.entries.empty()) break;
      resume = result.resume_handle;
    }
    EXPECT_EQ(pieces, names) << "read in pieces of " << length << " bytes";
  }
  return names;
}

}  // namespace tabulon::testing::contract

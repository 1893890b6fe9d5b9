#pragma once
// The member detail and domain controller lookups of the groups exporter:
// full name, comment, refined type and enabled state of a member account,
// read on the computer itself or on a controller of the member's domain,
// through the run's caches. One per target.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/row.h"
#include "exporters/accounts/groups/member_caches.h"
#include "platform/session.h"

namespace tabulon {

// Columns of the group members file.
enum MemberColumn : std::uint32_t {
  kMemberGroupName = 0,
  kMemberName = 1,
  kMemberType = 2,
  kMemberGroupType = 3,
  kMemberFullName = 4,
  kMemberComment = 5,
  kMemberEnabled = 6,
};

class MemberDetails {
 public:
  MemberDetails(platform::TargetSession& session, GroupMemberCaches& caches)
      : session_(session), caches_(caches) {}

  // Fills the full name, comment, type and enabled fields of `row` for
  // `member` (a qualified or bare account name) as seen from `computer`;
  // false for a disabled user account.
  bool Lookup(Row& row, std::string_view computer, platform::SidNameUse usage,
              std::string_view member);

  // A controller of `domain` ("\\NAME"), or empty when none can be found.
  // A domain is asked about once per run, or once per target while no
  // target has found one.
  std::string DomainController(std::string_view domain);

 private:
  platform::TargetSession& session_;
  GroupMemberCaches& caches_;
  TargetMemo memo_;
};

}  // namespace tabulon

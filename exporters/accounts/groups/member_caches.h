#pragma once
// What the groups exporter learns about member accounts and domain
// controllers while a run goes on. Both caches belong to the run and are
// matched without regard to case.
//
// Member details key on the server that was asked and the account: the
// answer is the server's own record of the account, the same whichever
// target's member list named it, so a hit writes the row a fresh lookup
// would.
//
// Domain controllers key on the domain: any controller of a domain holds
// the same accounts and groups, so the controller found first serves every
// target of the run.
//
// A failed lookup (no controller, an account the server would not
// describe) may be the asker's own trouble — a target that cannot locate
// the domain, a call that timed out — so it is not remembered here:
// `TargetMemo` keeps it for the target that met it, whose later members
// give the same "ERROR" and "ERROR: NO_DC" values without asking again, and
// the next target asks afresh. A row therefore never depends on which
// target came first.
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace tabulon {

// One member account as read from a server.
struct tagMember {
  std::string server;
  std::string account;
  std::string full_name;
  std::string comment;
  std::string member_type;  // the refined type
  int enabled = 1;          // 1: enabled
};

// The controller of a domain.
struct tagDc {
  std::string domain;
  std::string dc_name;  // "\\NAME" as NetGetDCName gave it
};

// The successful lookups of one run, shared by its targets.
class GroupMemberCaches {
 public:
  std::optional<tagMember> FindMember(std::string_view server, std::string_view account) const;
  void AddMember(tagMember member);
  std::optional<tagDc> FindDc(std::string_view domain) const;
  void AddDc(tagDc dc);

 private:
  mutable std::mutex mutex_;  // targets exported at once share the run's caches
  std::unordered_map<std::string, tagMember> members_;
  std::unordered_map<std::string, tagDc> dcs_;
};

// The failed lookups of one target.
class TargetMemo {
 public:
  const tagMember* FindMember(std::string_view server, std::string_view account) const;
  void AddMember(tagMember member);
  bool DcFailed(std::string_view domain) const;
  void AddFailedDc(std::string_view domain);

 private:
  std::unordered_map<std::string, tagMember> members_;
  std::unordered_set<std::string> failed_dcs_;
};

}  // namespace tabulon

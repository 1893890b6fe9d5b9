#pragma once
// What the groups exporter learns about member accounts and domain
// controllers. It is kept for the life of the program and never emptied,
// so a later run reuses what an earlier one found out; names are matched
// without regard to case.
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/exporter_unit.h"

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

// The controller of a domain, or the failed lookup of one.
struct tagDc {
  std::string domain;
  std::string dc_name;  // "\\NAME" as NetGetDCName gave it
  bool failed = false;
};

class GroupMemberCaches final : public ExporterProgramState {
 public:
  const tagMember* FindMember(std::string_view server, std::string_view account) const;
  void AddMember(tagMember member);
  const tagDc* FindDc(std::string_view domain) const;
  void AddDc(tagDc dc);

 private:
  static std::string MemberKey(std::string_view server, std::string_view account);

  std::unordered_map<std::string, tagMember> members_;
  std::unordered_map<std::string, tagDc> dcs_;
};

}  // namespace tabulon

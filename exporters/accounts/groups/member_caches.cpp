#include "exporters/accounts/groups/member_caches.h"

#include <utility>

#include "platform/text.h"

namespace tabulon {
namespace {

std::string MemberKey(std::string_view server, std::string_view account) {
  // Names never hold a line break, so no two pairs share a key.
  return text::ToLower(server) + '\n' + text::ToLower(account);
}

}  // namespace

std::optional<tagMember> GroupMemberCaches::FindMember(std::string_view server,
                                                       std::string_view account) const {
  const std::lock_guard lock(mutex_);
  const auto it = members_.find(MemberKey(server, account));
  if (it == members_.end()) return std::nullopt;
  return it->second;
}

void GroupMemberCaches::AddMember(tagMember member) {
  std::string key = MemberKey(member.server, member.account);
  const std::lock_guard lock(mutex_);
  members_.emplace(std::move(key), std::move(member));
}

std::optional<tagDc> GroupMemberCaches::FindDc(std::string_view domain) const {
  const std::lock_guard lock(mutex_);
  const auto it = dcs_.find(text::ToLower(domain));
  if (it == dcs_.end()) return std::nullopt;
  return it->second;
}

void GroupMemberCaches::AddDc(tagDc dc) {
  std::string key = text::ToLower(dc.domain);
  const std::lock_guard lock(mutex_);
  dcs_.emplace(std::move(key), std::move(dc));
}

const tagMember* TargetMemo::FindMember(std::string_view server, std::string_view account) const {
  const auto it = members_.find(MemberKey(server, account));
  return it == members_.end() ? nullptr : &it->second;
}

void TargetMemo::AddMember(tagMember member) {
  std::string key = MemberKey(member.server, member.account);
  members_.emplace(std::move(key), std::move(member));
}

bool TargetMemo::DcFailed(std::string_view domain) const {
  return failed_dcs_.contains(text::ToLower(domain));
}

void TargetMemo::AddFailedDc(std::string_view domain) {
  failed_dcs_.insert(text::ToLower(domain));
}

}  // namespace tabulon

#include "exporters/accounts/groups/member_caches.h"

#include <utility>

#include "platform/text.h"

namespace tabulon {

std::string GroupMemberCaches::MemberKey(std::string_view server, std::string_view account) {
  // Names never hold a line break, so no two pairs share a key.
  return text::ToLower(server) + '\n' + text::ToLower(account);
}

const tagMember* GroupMemberCaches::FindMember(std::string_view server,
                                               std::string_view account) const {
  const auto it = members_.find(MemberKey(server, account));
  return it == members_.end() ? nullptr : &it->second;
}

void GroupMemberCaches::AddMember(tagMember member) {
  std::string key = MemberKey(member.server, member.account);
  members_.emplace(std::move(key), std::move(member));
}

const tagDc* GroupMemberCaches::FindDc(std::string_view domain) const {
  const auto it = dcs_.find(text::ToLower(domain));
  return it == dcs_.end() ? nullptr : &it->second;
}

void GroupMemberCaches::AddDc(tagDc dc) {
  std::string key = text::ToLower(dc.domain);
  dcs_.emplace(std::move(key), std::move(dc));
}

}  // namespace tabulon

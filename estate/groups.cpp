#include "estate/groups.h"

#include <utility>

#include "estate/account_lookup.h"
#include "platform/paging.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

using platform::Sid;
using platform::SidNameUse;

// The account database a computer answers from: a domain controller serves
// its domain's, any other computer its own.
struct Database {
  const GroupList* local_groups = nullptr;
  const GroupList* groups = nullptr;  // global groups; none on a plain computer
};

Database DatabaseOf(const Estate& estate, const Computer& computer) {
  const Domain* domain = estate.DomainOf(computer);
  if (domain != nullptr && estate.ControllerOf(*domain) == &computer) {
    return {&domain->local_groups, &domain->groups};
  }
  return {computer.local_groups.get(), nullptr};
}

const Group* Named(const GroupList* list, std::string_view name) {
  if (list == nullptr) return nullptr;
  for (const Group& group : *list) {
    if (text::EqualsNoCase(group.name, name)) return &group;
  }
  return nullptr;
}

// A SID whose database is known but whose account is not was deleted; any
// other is unknown.
SidNameUse UnresolvedUse(const Estate& estate, const Computer& computer, const Sid& sid) {
  if (sid.sub_authorities.empty()) return SidNameUse::kUnknown;
  Sid database = sid;
  database.sub_authorities.pop_back();
  if (computer.sid && *computer.sid == database) return SidNameUse::kDeletedAccount;
  for (const Domain& domain : estate.domains) {
    if (domain.sid && *domain.sid == database) return SidNameUse::kDeletedAccount;
  }
  return SidNameUse::kUnknown;
}

platform::LocalGroupMembersInfo2 Member(const Estate& estate, const Computer& computer,
                                        const std::string& member) {
  platform::LocalGroupMembersInfo2 info;
  std::optional<ResolvedAccount> found;
  const std::optional<Sid> sid = Sid::Parse(member);
  if (sid) {
    found = ResolveSidOn(estate, &computer, *sid);
  } else {
    found = ResolveNameOn(estate, &computer, member);
  }
  if (found) {
    info.sid = found->sid;
    info.sid_usage = found->use;
    info.domain_and_name = found->domain.empty() ? found->name : found->domain + "\\" + found->name;
  } else {
    if (sid) info.sid = *sid;
    info.sid_usage = sid ? UnresolvedUse(estate, computer, *sid) : SidNameUse::kUnknown;
    info.domain_and_name = sid ? sid->ToString() : member;
  }
  return info;
}

std::string PagingDetail(std::uint32_t preferred_max_length, std::uint32_t resume_handle) {
  return " prefmaxlen=" + std::to_string(preferred_max_length) +
         " resume=" + std::to_string(resume_handle);
}

}  // namespace

template <typename DetailFn>
const Computer* EstateGroups::Reach(Operation op, std::string_view server, DetailFn&& detail,
                                    win::Status& status) {
  const Computer* computer = sim_.estate().FindServer(server);
  status =
      sim_.Reach(session_, op, server, detail, sim_.ToComputer(computer), win::ERROR_BAD_NETPATH);
  return status == win::ERROR_SUCCESS ? computer : nullptr;
}

const Group* EstateGroups::FindGroup(Operation op, const Computer& computer, std::string_view name,
                                     bool local, win::Status& status) {
  const Database database = DatabaseOf(sim_.estate(), computer);
  const Group* group = Named(local ? database.local_groups : database.groups, name);
  if (group == nullptr) {
    status = win::NERR_GroupNotFound;
    return nullptr;
  }
  status = sim_.Injected(op, group->failures, sim_.estate().IndexOf(computer));
  return status == win::ERROR_SUCCESS ? group : nullptr;
}

platform::LocalGroupEnumResult EstateGroups::NetLocalGroupEnum1(std::string_view server,
                                                                std::uint32_t preferred_max_length,
                                                                std::uint32_t resume_handle) {
  platform::LocalGroupEnumResult result;
  const Computer* computer = Reach(
      Operation::kNetLocalGroupEnum, server,
      [&] { return "level=1" + PagingDetail(preferred_max_length, resume_handle); }, result.status);
  if (computer == nullptr) return result;
  std::vector<platform::LocalGroupInfo1> all;
  if (const GroupList* groups = DatabaseOf(sim_.estate(), *computer).local_groups) {
    for (const Group& group : *groups) all.push_back({group.name, group.comment});
  }
  platform::FillPage(result, all, resume_handle, preferred_max_length,
                     platform::LocalGroupInfo1Bytes);
  return result;
}

platform::LocalGroupMembersResult EstateGroups::NetLocalGroupGetMembers2(
    std::string_view server, std::string_view group_name, std::uint32_t preferred_max_length,
    std::uint32_t resume_handle) {
  platform::LocalGroupMembersResult result;
  const Computer* computer = Reach(
      Operation::kNetLocalGroupGetMembers, server,
      [&] {
        return "group=" + std::string(group_name) + " level=2" +
               PagingDetail(preferred_max_length, resume_handle);
      },
      result.status);
  if (computer == nullptr) return result;
  const Group* group =
      FindGroup(Operation::kNetLocalGroupGetMembers, *computer, group_name, true, result.status);
  if (group == nullptr) return result;
  std::vector<platform::LocalGroupMembersInfo2> all;
  for (const std::string& member : group->members) {
    all.push_back(Member(sim_.estate(), *computer, member));
  }
  platform::FillPage(result, all, resume_handle, preferred_max_length,
                     platform::LocalGroupMembersInfo2Bytes);
  return result;
}

platform::LocalGroupInfoResult EstateGroups::NetLocalGroupGetInfo1(std::string_view server,
                                                                   std::string_view group_name) {
  platform::LocalGroupInfoResult result;
  const Computer* computer = Reach(
      Operation::kNetLocalGroupGetInfo, server,
      [&] { return "group=" + std::string(group_name) + " level=1"; }, result.status);
  if (computer == nullptr) return result;
  const Group* group =
      FindGroup(Operation::kNetLocalGroupGetInfo, *computer, group_name, true, result.status);
  if (group != nullptr) result.info = {group->name, group->comment};
  return result;
}

platform::GroupInfoResult EstateGroups::NetGroupGetInfo1(std::string_view server,
                                                         std::string_view group_name) {
  platform::GroupInfoResult result;
  const Computer* computer = Reach(
      Operation::kNetGroupGetInfo, server,
      [&] { return "group=" + std::string(group_name) + " level=1"; }, result.status);
  if (computer == nullptr) return result;
  const Group* group =
      FindGroup(Operation::kNetGroupGetInfo, *computer, group_name, false, result.status);
  if (group != nullptr) result.info = {group->name, group->comment};
  return result;
}

platform::GroupUsersResult EstateGroups::NetGroupGetUsers0(std::string_view server,
                                                           std::string_view group_name,
                                                           std::uint32_t preferred_max_length,
                                                           std::uint32_t resume_handle) {
  platform::GroupUsersResult result;
  const Computer* computer = Reach(
      Operation::kNetGroupGetUsers, server,
      [&] {
        return "group=" + std::string(group_name) + " level=0" +
               PagingDetail(preferred_max_length, resume_handle);
      },
      result.status);
  if (computer == nullptr) return result;
  const Group* group =
      FindGroup(Operation::kNetGroupGetUsers, *computer, group_name, false, result.status);
  if (group == nullptr) return result;
  std::vector<platform::GroupUsersInfo0> all;
  for (std::string_view member : group->members) {
    if (const auto slash = member.rfind('\\'); slash != std::string_view::npos) {
      member.remove_prefix(slash + 1);
    }
    all.push_back({std::string(member)});
  }
  platform::FillPage(result, all, resume_handle, preferred_max_length,
                     platform::GroupUsersInfo0Bytes);
  return result;
}

}  // namespace tabulon::estate

#include "estate/lsa_policy.h"

#include <algorithm>

#include "estate/privileges.h"
#include "platform/sizes.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kEnglishUs = 0x409;

// A right is held by nobody on a computer that does not list it.
const HeldRight* FindHeld(const Computer& computer, std::string_view right) {
  const auto& rights = computer.policy.rights;
  const auto it = std::find_if(rights.begin(), rights.end(), [&](const HeldRight& held) {
    return text::EqualsNoCase(held.name, right);
  });
  return it == rights.end() ? nullptr : &*it;
}

}  // namespace

platform::LsaOpenResult EstateLsaPolicy::OpenPolicy(std::string_view system, std::uint32_t access) {
  const Computer* computer = sim_.estate().FindServer(system);
  platform::LsaOpenResult result;
  const win::Status status = sim_.Reach(
      session_, Operation::kLsaOpenPolicy, system, [&] { return "access=" + Hex(access); },
      sim_.ToComputer(computer), win::RPC_S_SERVER_UNAVAILABLE);
  result.status = nt::FromWinError(status);
  if (result.status != nt::STATUS_SUCCESS) return result;
  result.handle = handles_.Add(HandleState{computer, access, std::string(system)});
  return result;
}

nt::Status EstateLsaPolicy::Close(platform::LsaHandle policy) {
  const HandleState* state = handles_.Find(policy);
  sim_.Record(Operation::kLsaClose, state != nullptr ? state->host : "",
              [&] { return "handle=" + std::to_string(policy); });
  return handles_.Close(policy) ? nt::STATUS_SUCCESS : nt::STATUS_INVALID_HANDLE;
}

template <typename DetailFn>
const EstateLsaPolicy::HandleState* EstateLsaPolicy::Reach(Operation op, platform::LsaHandle policy,
                                                           std::uint32_t needed_access,
                                                           DetailFn&& detail, nt::Status& status) {
  const HandleState* state = handles_.Find(policy);
  const win::Status reached =
      sim_.Reach(session_, op, state != nullptr ? state->host : "", detail,
                 state != nullptr ? sim_.ToComputer(state->computer) : Destination{},
                 state != nullptr ? win::RPC_S_SERVER_UNAVAILABLE : win::ERROR_INVALID_HANDLE);
  status = nt::FromWinError(reached);
  if (status == nt::STATUS_SUCCESS && (state->access & needed_access) != needed_access) {
    status = nt::STATUS_ACCESS_DENIED;
  }
  return status == nt::STATUS_SUCCESS ? state : nullptr;
}

platform::AccountsWithRightResult EstateLsaPolicy::EnumerateAccountsWithUserRight(
    platform::LsaHandle policy, std::string_view right) {
  platform::AccountsWithRightResult result;
  const HandleState* state = Reach(
      Operation::kLsaEnumerateAccountsWithUserRight, policy,
      platform::kPolicyLookupNames | platform::kPolicyViewLocalInformation,
      [&] { return "right=" + std::string(right); }, result.status);
  if (state == nullptr) return result;
  const PrivilegeInfo* privilege = FindPrivilege(right);
  if (privilege == nullptr || !KnownOn(*privilege, state->computer->server.version_major)) {
    result.status = nt::STATUS_NO_SUCH_PRIVILEGE;
    return result;
  }
  const HeldRight* held = FindHeld(*state->computer, right);
  if (held == nullptr || held->holders.empty()) {
    result.status = nt::STATUS_NO_MORE_ENTRIES;
    return result;
  }
  result.sids = held->holders;
  return result;
}

platform::AuditEventsResult EstateLsaPolicy::QueryAuditEvents(platform::LsaHandle policy,
                                                              std::uint32_t information_class) {
  platform::AuditEventsResult result;
  const HandleState* state = Reach(
      Operation::kLsaQueryInformationPolicy, policy, platform::kPolicyViewAuditInformation,
      [&] { return "class=" + std::to_string(information_class); }, result.status);
  if (state == nullptr) return result;
  if (information_class != platform::kPolicyAuditEventsInformation) {
    result.status = nt::STATUS_INVALID_INFO_CLASS;
    return result;
  }
  const AuditPolicy& audit = state->computer->policy.audit;
  result.info.auditing_mode = audit.auditing_mode;
  result.info.event_auditing_options = audit.options;
  return result;
}

platform::PrivilegeDisplayNameResult EstateLsaPolicy::LookupPrivilegeDisplayName(
    std::string_view system, std::string_view name, std::uint32_t buffer_chars) {
  const Computer* computer = sim_.estate().FindServer(system);
  platform::PrivilegeDisplayNameResult result;
  result.status = sim_.Reach(
      session_, Operation::kLookupPrivilegeDisplayName, system,
      [&] { return "name=" + std::string(name) + " size=" + std::to_string(buffer_chars); },
      sim_.ToComputer(computer), win::RPC_S_SERVER_UNAVAILABLE);
  if (result.status != win::ERROR_SUCCESS) return result;
  const PrivilegeInfo* privilege = FindPrivilege(name);
  if (privilege == nullptr || privilege->display_name.empty() ||
      !KnownOn(*privilege, computer->server.version_major)) {
    result.status = win::ERROR_NO_SUCH_PRIVILEGE;
    return result;
  }
  // Characters with the terminator.
  const std::uint32_t needed = platform::WideStringBytes(privilege->display_name) / 2;
  if (buffer_chars < needed) {
    result.status = win::ERROR_INSUFFICIENT_BUFFER;
    result.required_chars = needed;
    return result;
  }
  result.display_name = privilege->display_name;
  result.language_id = kEnglishUs;
  return result;
}

std::vector<std::string> EstateLsaPolicy::DescribeOpenHandles() const {
  return handles_.Describe(
      [](const HandleState& state) { return "policy \\\\" + state.computer->name; });
}

}  // namespace tabulon::estate

#include "platform/remote/remote_user_modals.h"

#include "platform/remote/remote_call.h"
#include "platform/remote/samr_codec.h"
#include "platform/remote/samr_domain_codec.h"

namespace tabulon::platform::remote {
namespace {

template <typename Reply, typename Decode>
Reply QueryDomain(RpcTransport& transport, const SamrDomain& domain,
                  samr::DomainInformationClass information_class, Decode decode) {
  return CallAndDecode<Reply>(
      transport, domain.host, samr::kInterface, samr::kSamrQueryInformationDomain2,
      samr::EncodeQueryDomainInformation2(domain.handle, information_class), decode);
}

}  // namespace

UserModals0Result RemoteUserModals::NetUserModalsGet0(std::string_view server) {
  const SamrDomain domain = domains_.Account(server);
  if (domain.status != win::ERROR_SUCCESS) return Failed<UserModals0Result>(domain.status);
  const samr::DomainPasswordReply password = QueryDomain<samr::DomainPasswordReply>(
      transport_, domain, samr::DomainInformationClass::kPassword, samr::DecodeDomainPassword);
  if (password.status != win::ERROR_SUCCESS) return Failed<UserModals0Result>(password.status);
  const samr::DomainLogoffReply logoff = QueryDomain<samr::DomainLogoffReply>(
      transport_, domain, samr::DomainInformationClass::kLogoff, samr::DecodeDomainLogoff);
  if (logoff.status != win::ERROR_SUCCESS) return Failed<UserModals0Result>(logoff.status);
  UserModals0Result result;
  const samr::DomainPasswordInformation& p = password.info;
  result.info.min_passwd_len = p.min_password_length;
  result.info.max_passwd_age = samr::NetSecondsOfInterval(p.max_password_age);
  result.info.min_passwd_age = samr::NetSecondsOfInterval(p.min_password_age);
  result.info.force_logoff = samr::NetSecondsOfInterval(logoff.force_logoff);
  result.info.password_hist_len = p.password_history_length;
  return result;
}

UserModals2Result RemoteUserModals::NetUserModalsGet2(std::string_view server) {
  const SamrDomain domain = domains_.Account(server);
  if (domain.status != win::ERROR_SUCCESS) return Failed<UserModals2Result>(domain.status);
  UserModals2Result result;
  result.domain_name = domain.name;
  result.domain_id = domain.sid;
  return result;
}

UserModals3Result RemoteUserModals::NetUserModalsGet3(std::string_view server) {
  const SamrDomain domain = domains_.Account(server);
  if (domain.status != win::ERROR_SUCCESS) return Failed<UserModals3Result>(domain.status);
  const samr::DomainLockoutReply lockout = QueryDomain<samr::DomainLockoutReply>(
      transport_, domain, samr::DomainInformationClass::kLockout, samr::DecodeDomainLockout);
  if (lockout.status != win::ERROR_SUCCESS) return Failed<UserModals3Result>(lockout.status);
  UserModals3Result result;
  const samr::DomainLockoutInformation& l = lockout.info;
  result.info.lockout_duration = samr::NetSecondsOfInterval(l.lockout_duration);
  result.info.lockout_observation_window = samr::NetSecondsOfInterval(l.lockout_observation_window);
  result.info.lockout_threshold = l.lockout_threshold;
  return result;
}

}  // namespace tabulon::platform::remote

#include "platform/remote/remote_account_database.h"

#include <string>

#include "platform/remote/remote_call.h"
#include "platform/remote/samr_codec.h"
#include "platform/text.h"

namespace tabulon::platform::remote {
namespace {

constexpr std::uint32_t kWholeList = 0xFFFFFFFF;

// A samr handle closed on the server when it goes out of scope.
class SamHandle {
 public:
  SamHandle(RpcTransport& transport, std::string_view host) : transport_(transport), host_(host) {}
  ~SamHandle() {
    if (!handle_.IsNull()) {
      transport_.Call(host_, samr::kInterface, samr::kSamrCloseHandle,
                      samr::EncodeCloseHandle(handle_));
    }
  }
  SamHandle(const SamHandle&) = delete;
  SamHandle& operator=(const SamHandle&) = delete;

  // Makes the opening call; the status of what failed.
  win::Status Open(std::uint16_t opnum, const std::vector<std::uint8_t>& request) {
    const HandleStatusReply opened = CallAndDecode<HandleStatusReply>(
        transport_, host_, samr::kInterface, opnum, request, DecodeHandleStatusReply);
    if (opened.status != win::ERROR_SUCCESS) return opened.status;
    if (opened.handle.IsNull()) return win::RPC_X_BAD_STUB_DATA;
    handle_ = opened.handle;
    return win::ERROR_SUCCESS;
  }
  const ndr::ContextHandle& handle() const { return handle_; }

 private:
  RpcTransport& transport_;
  std::string_view host_;
  ndr::ContextHandle handle_;
};

}  // namespace

DisplayMachinesResult QueryDisplayMachines(RpcTransport& transport, std::string_view host,
                                           std::string_view server, std::uint32_t index,
                                           std::uint32_t entries_requested,
                                           std::uint32_t preferred_max_length) {
  using Result = DisplayMachinesResult;
  SamHandle connection(transport, host);
  win::Status status = connection.Open(
      samr::kSamrConnect2,
      samr::EncodeConnect2(server, samr::kSamServerConnect | samr::kSamServerEnumerateDomains |
                                       samr::kSamServerLookupDomain));
  if (status != win::ERROR_SUCCESS) return Failed<Result>(status);

  const RidEnumerationReply domains = CallAndDecode<RidEnumerationReply>(
      transport, host, samr::kInterface, samr::kSamrEnumerateDomainsInSamServer,
      samr::EncodeEnumerateDomains(connection.handle(), 0, kWholeList), DecodeRidEnumeration);
  if (domains.status != win::ERROR_SUCCESS) return Failed<Result>(domains.status);
  const std::string* account_domain = nullptr;
  for (const RidName& domain : domains.entries) {
    if (!text::EqualsNoCase(domain.name, samr::kBuiltinDomainName)) {
      account_domain = &domain.name;
      break;
    }
  }
  if (account_domain == nullptr) return Failed<Result>(win::ERROR_NO_SUCH_DOMAIN);

  const samr::LookupDomainReply sid = CallAndDecode<samr::LookupDomainReply>(
      transport, host, samr::kInterface, samr::kSamrLookupDomainInSamServer,
      samr::EncodeLookupDomain(connection.handle(), *account_domain), samr::DecodeLookupDomain);
  if (sid.status != win::ERROR_SUCCESS) return Failed<Result>(sid.status);

  SamHandle domain(transport, host);
  status = domain.Open(
      samr::kSamrOpenDomain,
      samr::EncodeOpenDomain(connection.handle(), samr::kDomainListAccounts | samr::kDomainLookup,
                             sid.domain));
  if (status != win::ERROR_SUCCESS) return Failed<Result>(status);

  Result page = CallAndDecode<Result>(
      transport, host, samr::kInterface, samr::kSamrQueryDisplayInformation3,
      samr::EncodeQueryDisplayInformation3(domain.handle(), samr::DisplayClass::kMachine, index,
                                           entries_requested, preferred_max_length),
      samr::DecodeQueryDisplayMachines);
  // Past the end of the list there is nothing more, which is no failure.
  if (page.status == win::ERROR_NO_MORE_ITEMS) page = Result{};
  if (page.status != win::ERROR_SUCCESS && page.status != win::ERROR_MORE_DATA) {
    return Failed<Result>(page.status);
  }
  return page;
}

}  // namespace tabulon::platform::remote

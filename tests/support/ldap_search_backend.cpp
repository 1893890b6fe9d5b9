#include "support/ldap_search_backend.h"

#include "platform/ldap/ldap_directory.h"
#include "support/forwarding_session.h"

namespace tabulon::testing {
namespace {

// Every paged search with pages of `page_size` entries.
class SmallPages final : public platform::DirectorySearch {
 public:
  SmallPages(std::unique_ptr<platform::DirectorySearch> inner, std::uint32_t page_size)
      : inner_(std::move(inner)), page_size_(page_size) {}
  platform::DirectoryStatus Open(const platform::DirectoryOpenOptions& options) override {
    return inner_->Open(options);
  }
  platform::DirectoryStatus Search(const platform::SearchRequest& request,
                                   const platform::EntrySink& sink) override {
    if (request.page_size == 0) return inner_->Search(request, sink);
    platform::SearchRequest paged = request;
    paged.page_size = page_size_;
    return inner_->Search(paged, sink);
  }
  void Close() override { inner_->Close(); }
  void ReadObjects(std::span<const std::string> dns, std::span<const std::string> names,
                   const platform::AttributeKinds* kinds,
                   const platform::ObjectSink& sink) override {
    inner_->ReadObjects(dns, names, kinds, sink);
  }

 private:
  std::unique_ptr<platform::DirectorySearch> inner_;
  std::uint32_t page_size_;
};

class LdapSearchSession final : public ForwardingSession {
 public:
  LdapSearchSession(std::unique_ptr<platform::TargetSession> other,
                    std::unique_ptr<platform::DirectorySearch> ldap)
      : ForwardingSession(std::move(other)), ldap_(std::move(ldap)) {}
  platform::DirectorySearch& directory_search() override { return *ldap_; }

 private:
  std::unique_ptr<platform::DirectorySearch> ldap_;
};

}  // namespace

std::unique_ptr<platform::TargetSession> LdapSearchBackend::Open(
    std::string_view target, const platform::SessionOptions& options) {
  platform::SessionOptions ldap_options = options;
  if (ldap_options.logon().empty()) ldap_options.credentials = &credentials_;
  std::unique_ptr<platform::DirectorySearch> ldap =
      platform::ldap::MakeLdapDirectorySearch(ldap_options);
  if (page_size_ != 0) ldap = std::make_unique<SmallPages>(std::move(ldap), page_size_);
  return std::make_unique<LdapSearchSession>(other_.Open(target, options), std::move(ldap));
}

}  // namespace tabulon::testing

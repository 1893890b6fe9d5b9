#include "estate/directory_search.h"

#include "estate/directory_counters.h"
#include "estate/user_accounts.h"
#include "platform/directory_status.h"
#include "platform/status_table.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

platform::DirectoryStatus NoServer(std::string_view server) {
  return platform::DirectoryStatusFromLdap(
      platform::kLdapServerDown, "no directory server answers at '" + std::string(server) + "'");
}

// A status the simulation gives (a Win32 status, or an HRESULT an estate
// file names) as a directory call reports it.
platform::DirectoryStatus AsDirectoryStatus(win::Status status) {
  platform::DirectoryStatus out;
  const bool hresult = (status & 0x80000000u) != 0;
  out.status = hresult ? status : platform::DirectoryHresult(status);
  out.extended_code = hresult ? status & 0xFFFF : status;
  const win::StatusRow* row = win::FindStatus(status);
  out.extended_text = row != nullptr ? std::string(row->text) : "status " + std::to_string(status);
  return out;
}

}  // namespace

platform::DirectoryStatus EstateDirectorySearch::Reach(Operation op, std::string_view detail) {
  const win::Status status = sim_.Reach(
      session_, op, host_, [&] { return std::string(detail); }, destination_,
      win::ERROR_DS_SERVER_DOWN);
  if (status == win::ERROR_SUCCESS) return {};
  return AsDirectoryStatus(status);
}

platform::DirectoryStatus EstateDirectorySearch::Open(
    const platform::DirectoryOpenOptions& options) {
  Close();
  const Estate& estate = sim_.estate();
  const Domain* domain = nullptr;
  const std::string_view host = platform::HostOfDirectoryUrl(options.server);
  if (!host.empty()) {
    const Computer* computer = estate.FindComputer(host);
    if (computer == nullptr || computer->offline) return NoServer(options.server);
    domain = estate.DomainOf(*computer);
    destination_ = sim_.ToComputer(computer);
    if (IsController(estate, *computer) && !computer->logon_counters.empty()) {
      controller_ = computer;
    }
  } else {
    domain = estate.FindDomain(platform::DnsNameOfDn(options.base));
    destination_ = sim_.ToDomain(domain);
  }
  host_ = std::string(host);
  if (domain == nullptr || domain->directory == nullptr) return NoServer(options.server);
  platform::DirectoryStatus bound = Reach(Operation::kLdapBind, options.base);
  if (!bound.ok()) return bound;
  tree_ = domain->directory;
  base_ = options.base;
  return {};
}

platform::DirectoryStatus EstateDirectorySearch::Search(const platform::SearchRequest& request,
                                                        const platform::EntrySink& sink) {
  if (tree_ == nullptr) return NoServer("(not opened)");
  platform::DirectoryStatus reached = Reach(Operation::kLdapSearch, request.filter);
  if (!reached.ok()) return reached;
  if (controller_ == nullptr) return tree_->Search(request, base_, session_.cancel, sink);
  return tree_->Search(request, base_, session_.cancel, [&](platform::DirectoryEntry&& entry) {
    ApplyLogonCounters(*controller_, request, entry);
    return sink(std::move(entry));
  });
}

void EstateDirectorySearch::Close() {
  tree_.reset();
  base_.clear();
  controller_ = nullptr;
}

}  // namespace tabulon::estate

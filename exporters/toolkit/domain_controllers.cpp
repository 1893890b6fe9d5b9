#include "exporters/toolkit/domain_controllers.h"

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/progress.h"
#include "platform/directory_status.h"
#include "platform/user_accounts.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kMachinesPerCall = 1000;
constexpr std::uint32_t kMachinesPreferredLength = 128000;
// userAccountControl's server trust bit marks a domain controller.
constexpr std::string_view kControllerFilter =
    "(&(objectCategory=computer)(userAccountControl:1.2.840.113556.1.4.803:=8192))";

void ReportAbort(RunOutput& out, std::string_view picture, std::string_view domain,
                 const platform::DirectoryStatus& status) {
  const std::string text = FillMessage(picture, {domain}) + DirectoryErrorText(status);
  out.GeneralFailure(text);
  out.AddProgressRow(domain, text, 0, ProgressKind::kFailure);
}

}  // namespace

std::vector<std::string> DomainControllers(platform::TargetSession& session, std::string_view pdc,
                                           const format::NameList* skip) {
  std::vector<std::string> controllers;
  std::uint32_t index = 0;
  while (true) {
    // A failed call lists nothing, which ends the list as an empty page does.
    const platform::DisplayMachinesResult page = session.accounts().NetQueryDisplayMachines(
        pdc, index, kMachinesPerCall, kMachinesPreferredLength);
    if (page.entries.empty()) break;
    for (const platform::DisplayMachine& machine : page.entries) {
      if ((machine.flags & platform::kUfServerTrustAccount) == 0) continue;
      std::string name = machine.name;
      while (name.ends_with('$')) name.pop_back();
      if (skip != nullptr && format::MatchNameList("\\\\" + name, *skip)) continue;
      controllers.push_back(std::move(name));
    }
    index = page.entries.back().next_index;
  }
  return controllers;
}

std::vector<std::string> DirectoryDomainControllers(platform::DirectorySearch& directory,
                                                    const platform::DirectoryOpenOptions& options,
                                                    std::string_view domain,
                                                    const format::NameList* skip, RunOutput& out) {
  std::vector<std::string> controllers;
  if (domain.empty()) return controllers;
  platform::DirectoryStatus status = directory.Open(options);
  if (!status.ok()) {
    ReportAbort(out, "Unable to bind to domain '%s'.  Exporting of last logon information aborted.",
                domain, status);
    return controllers;
  }
  platform::SearchRequest request;
  request.filter = std::string(kControllerFilter);
  request.attributes = {"dnshostname"};
  status = directory.Search(request, [&](platform::DirectoryEntry&& entry) {
    const std::string_view host = entry.FirstValue("dnshostname");
    if (host.empty()) return true;
    if (skip != nullptr && format::MatchNameList("\\\\" + std::string(host), *skip)) return true;
    controllers.emplace_back(host);
    return true;
  });
  directory.Close();
  if (!status.ok()) {
    controllers.clear();
    ReportAbort(out,
                "Unable to get list of domain controllers for '%s'.  Exporting of last  logon "
                "information aborted.",
                domain, status);
  }
  return controllers;
}

}  // namespace tabulon

#include "engine/target_list.h"

#include <map>

#include "engine/directory_computers.h"
#include "engine/directory_path.h"
#include "engine/error_text.h"
#include "engine/messages.h"
#include "platform/host.h"
#include "platform/ini_file_profile.h"
#include "platform/text.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kInactiveGroupingNone = 987654321;
constexpr std::uint32_t kDisplayEntriesPerCall = 1000;
constexpr std::uint32_t kDisplayBytesPerCall = 128000;
constexpr std::uint32_t kSvTypeDomainCtrl = 0x08;
constexpr std::uint32_t kSvTypeDomainBakCtrl = 0x10;
constexpr std::uint32_t kDsFlatNameOfPdc = platform::kDsReturnFlatName | platform::kDsPdcRequired;

std::string WithLeadingBackslashes(std::string_view name) {
  if (!name.empty() && name.front() == '\\') return std::string(name);
  return "\\\\" + std::string(name);
}

std::string WithoutTrailingDollars(std::string_view name) {
  while (!name.empty() && name.back() == '$') name.remove_suffix(1);
  return std::string(name);
}

void CopyServerInfo(const platform::ServerInfo101& info, tagCObjects& t) {
  t.server_name = info.name;
  t.server_comment = info.comment;
  t.major_version = info.version_major;
  t.minor_version = info.version_minor;
  t.server_type = info.type;
}

}  // namespace

bool SkipListMatches(std::string_view path, const format::NameList& skip_list) {
  return format::MatchNameList(path, skip_list);
}

bool FilterPasses(std::uint32_t mask, std::uint32_t server_type) {
  for (const ComputerTypeRow& row : ComputerTypes()) {
    if ((mask & row.bit) != 0 && (server_type & row.bit) != 0) return true;
  }
  return false;
}

bool TargetListBuilder::ReadObjectFile(const std::string& path, std::vector<tagCObjects>& targets) {
  std::uint32_t inactive_grouping = kInactiveGroupingNone;
  bool ok = true;
  const win::Status status = ForEachTextLine(path, [&](std::string_view text_line) {
    if (!ok || session_options_.cancel.cancelled()) return;
    const ObjectLine line = ParseObjectLine(text_line);
    if (line.type == kObjectGrouping) {
      if (!line.active) inactive_grouping = line.line_number;
      return;
    }
    if (!line.active || line.parent == inactive_grouping) return;
    ok = AddObject(line, targets);
  });
  if (status != win::ERROR_SUCCESS) {
    output_.FileOpenFailure("Object File", path, status);
    return false;
  }
  return ok;
}

bool TargetListBuilder::AddObject(const ObjectLine& line, std::vector<tagCObjects>& targets) {
  tagCObjects t;
  t.type = line.type;
  t.display_name = line.display_name;
  t.comment = line.comment;
  t.path = line.path;
  t.active = 1;
  if (text::EqualsNoCase(t.path, "\\\\%computername%")) {
    t.path = "\\\\" + local_computer_name_;
  }
  t.source_path = t.path;
  switch (t.type) {
    case kObjectNtDomain:
      ExpandNtDomain(t, targets);
      break;
    case kObjectDirectoryDomain:
      if (options_.computer_source != ComputerSource::kAccountDatabase) {
        ExpandDirectoryDomain(t, targets);
      } else if (computers_needed_) {
        AddDirectoryComputers(t, targets);
      }
      break;
    case kObjectContainer:
      if (computers_needed_) AddDirectoryComputers(t, targets);
      break;
    case kObjectDirectoryComputer:
      if (!LookUpDirectoryComputer(t)) return true;  // left out of the list
      break;
    case kObjectComputerInclude:
    case kObjectDirectoryInclude:
      if (!AddIncludeFile(t, targets)) return false;
      break;
    default:
      break;
  }
  targets.push_back(std::move(t));
  return true;
}

std::unique_ptr<platform::TargetSession> TargetListBuilder::OpenSession(const std::string& target) {
  return platform_.sessions->Open(target, session_options_);
}

void TargetListBuilder::ReportLookupFailure(const std::string& name, win::Status status) {
  const std::string text =
      FormatMessageId(kMsgNoDomainController, {name}) + WindowsErrorText(status);
  output_.GeneralFailure(text);
  output_.AddProgressRow(name, text, 0, ProgressKind::kFailure);
}

void TargetListBuilder::ExpandNtDomain(const tagCObjects& domain,
                                       std::vector<tagCObjects>& targets) {
  const std::unique_ptr<platform::TargetSession> session = OpenSession(domain.path);
  const platform::DcNameResult dc = session->accounts().NetGetDCName("", domain.path);
  if (dc.status != win::ERROR_SUCCESS) {
    ReportLookupFailure(domain.path, dc.status);
    return;
  }
  tagCObjects controller;
  controller.type = kObjectDomainController;
  controller.display_name = dc.dc_name;
  controller.path = WithLeadingBackslashes(dc.dc_name);
  controller.source_path = controller.path;
  controller.active = 1;
  controller.domain = domain.path;
  const std::string controller_path = controller.path;
  targets.push_back(std::move(controller));
  if (!computers_needed_) return;
  if (options_.computer_source != ComputerSource::kAccountDatabase) {
    AddBrowseList(*session, domain.path, ProgressKind::kNtDomain, controller_path, targets);
  } else {
    AddComputerAccounts(*session, domain.path, controller_path, targets);
  }
}

void TargetListBuilder::ExpandDirectoryDomain(const tagCObjects& domain,
                                              std::vector<tagCObjects>& targets) {
  const std::string name = DomainNameOfPath(domain.path);
  const std::unique_ptr<platform::TargetSession> session = OpenSession(domain.path);
  const platform::DcInfoResult dc = session->directory().DsGetDcName(name, kDsFlatNameOfPdc);
  if (dc.status != win::ERROR_SUCCESS) {
    ReportLookupFailure(domain.path, dc.status);
    return;
  }
  if (computers_needed_) {
    AddBrowseList(*session, dc.info.domain_name, ProgressKind::kDirectoryDomain, std::string(),
                  targets);
  }
}

std::map<std::string, platform::ServerInfo101> TargetListBuilder::BrowseListOfDirectoryDomain(
    const std::string& path) {
  const std::unique_ptr<platform::TargetSession> session = OpenSession(path);
  const platform::DcInfoResult dc =
      session->directory().DsGetDcName(DomainNameOfPath(path), kDsFlatNameOfPdc);
  if (dc.status != win::ERROR_SUCCESS) {
    ReportLookupFailure(path, dc.status);
    return {};
  }
  return ReadBrowseMap(*session, dc.info.domain_name);
}

void TargetListBuilder::AddDirectoryComputers(const tagCObjects& container,
                                              std::vector<tagCObjects>& targets) {
  std::map<std::string, platform::ServerInfo101> browse;  // by upper-case name
  if (options_.merge_browse_list) browse = BrowseListOfDirectoryDomain(container.path);
  const std::unique_ptr<platform::TargetSession> session = OpenSession(container.path);
  const DirectoryComputerListing listing = ListDirectoryComputers(
      session->directory_search(),
      DirectoryOpenOptionsFor(container.path, directory_settings_, session_options_));
  if (!listing.status.ok()) {
    const std::string text =
        listing.opened ? FormatMessageId(kMsgDirectorySearch, {std::string(kComputerFilter)})
                       : FormatMessageId(kMsgDirectoryOpen, {container.path});
    output_.AddProgressRow(container.path, text + DirectoryErrorText(listing.status), 0,
                           ProgressKind::kFailure);
    return;
  }
  for (const DirectoryComputer& computer : listing.computers) {
    tagCObjects t;
    t.type = kObjectWorkstation;
    t.display_name = computer.name;
    const bool by_name = options_.use_netbios_name || computer.dns_host_name.empty();
    t.path = "\\\\" + (by_name ? computer.name : computer.dns_host_name);
    t.source_path = t.path;
    t.active = 1;
    t.domain = container.display_name;
    t.disabled_in_directory = computer.disabled ? 1 : 0;
    if (const auto it = browse.find(text::ToUpper(computer.name)); it != browse.end()) {
      t.comment = it->second.comment;
      CopyServerInfo(it->second, t);
    }
    targets.push_back(std::move(t));
  }
}

bool TargetListBuilder::LookUpDirectoryComputer(tagCObjects& computer) {
  const std::unique_ptr<platform::TargetSession> session = OpenSession(computer.source_path);
  std::string cn;
  std::string dns_host_name;
  const platform::DirectoryStatus status = ReadComputerNames(
      session->directory_search(),
      DirectoryOpenOptionsFor(computer.source_path, directory_settings_, session_options_), cn,
      dns_host_name);
  if (!status.ok()) {
    output_.AddProgressRow(computer.source_path,
                           FormatMessageId(kMsgNoDirectoryComputerName, {computer.source_path}) +
                               DirectoryErrorText(status),
                           0, ProgressKind::kFailure);
    return false;
  }
  computer.path = options_.use_netbios_name || dns_host_name.empty() ? cn : dns_host_name;
  return true;
}

void TargetListBuilder::AddBrowseList(platform::TargetSession& session, const std::string& domain,
                                      ProgressKind kind, const std::string& excluded,
                                      std::vector<tagCObjects>& targets) {
  output_.AddProgressRow(domain, FormatMessageId(kMsgGettingComputerListing, {domain}), 0, kind);
  std::uint32_t resume = 0;
  while (true) {
    const platform::ServerEnumResult page = session.browser().NetServerEnum101(
        domain, platform::kSvTypeAll, platform::kMaxPreferredLength, resume);
    if (page.status != win::ERROR_SUCCESS && page.status != win::ERROR_MORE_DATA) return;
    for (const platform::ServerInfo101& entry : page.entries) {
      std::string path = "\\\\" + entry.name;
      if (!excluded.empty() && text::EqualsNoCase(path, excluded)) continue;
      tagCObjects& t = targets.emplace_back();
      t.type = (entry.type & kSvTypeDomainCtrl)      ? kObjectDomainController
               : (entry.type & kSvTypeDomainBakCtrl) ? kObjectBackupController
                                                     : kObjectWorkstation;
      t.display_name = entry.name;
      t.comment = entry.comment;
      t.source_path = path;
      t.path = std::move(path);
      t.active = 1;
      t.domain = domain;
      CopyServerInfo(entry, t);
    }
    if (page.status != win::ERROR_MORE_DATA || page.resume_handle == 0) return;
    resume = page.resume_handle;
  }
}

std::map<std::string, platform::ServerInfo101> TargetListBuilder::ReadBrowseMap(
    platform::TargetSession& session, const std::string& domain) {
  std::map<std::string, platform::ServerInfo101> browse;
  std::uint32_t resume = 0;
  while (true) {
    const platform::ServerEnumResult page = session.browser().NetServerEnum101(
        domain, platform::kSvTypeAll, platform::kMaxPreferredLength, resume);
    if (page.status != win::ERROR_SUCCESS && page.status != win::ERROR_MORE_DATA) break;
    for (const auto& entry : page.entries) browse[text::ToUpper(entry.name)] = entry;
    if (page.status != win::ERROR_MORE_DATA || page.resume_handle == 0) break;
    resume = page.resume_handle;
  }
  return browse;
}

void TargetListBuilder::AddComputerAccounts(platform::TargetSession& session,
                                            const std::string& domain,
                                            const std::string& controller,
                                            std::vector<tagCObjects>& targets) {
  std::map<std::string, platform::ServerInfo101> browse;  // by upper-case name
  if (options_.merge_browse_list) browse = ReadBrowseMap(session, domain);
  output_.AddProgressRow(domain, FormatMessageId(kMsgRetrievingComputerNames, {controller}), 0,
                         ProgressKind::kNtDomain);
  std::uint32_t index = 0;
  while (true) {
    const platform::DisplayMachinesResult page = session.accounts().NetQueryDisplayMachines(
        controller, index, kDisplayEntriesPerCall, kDisplayBytesPerCall);
    if (page.entries.empty()) return;
    for (const platform::DisplayMachine& account : page.entries) {
      tagCObjects t;
      const std::string name = WithoutTrailingDollars(account.name);
      t.type = (account.flags & platform::kUfServerTrustAccount)        ? kObjectBackupController
               : (account.flags & platform::kUfWorkstationTrustAccount) ? kObjectWorkstation
                                                                        : 0;
      t.display_name = name;
      t.comment = account.comment;
      t.path = "\\\\" + name;
      t.source_path = t.path;
      t.active = 1;
      t.domain = domain;
      if (const auto it = browse.find(text::ToUpper(name)); it != browse.end()) {
        CopyServerInfo(it->second, t);
      }
      if (text::EqualsNoCase(t.path, controller)) continue;
      targets.push_back(std::move(t));
    }
    index = page.entries.back().next_index;
  }
}

bool TargetListBuilder::AddIncludeFile(const tagCObjects& include,
                                       std::vector<tagCObjects>& targets) {
  const bool computers = include.type == kObjectComputerInclude;
  const std::string path = platform::NativePath(include.path);
  const win::Status status = ForEachTextLine(path, [&](std::string_view line) {
    tagCObjects t;
    t.type = computers ? kObjectWorkstation : kObjectDirectoryObject;
    t.path = (computers && (line.empty() || line.front() != '\\')) ? "\\\\" + std::string(line)
                                                                   : std::string(line);
    t.source_path = t.path;
    std::string_view name = line;
    while (!name.empty() && name.front() == '\\') name.remove_prefix(1);
    t.display_name = name;
    t.active = 1;
    targets.push_back(std::move(t));
  });
  if (status != win::ERROR_SUCCESS) {
    output_.FileOpenFailure("Include File", include.path, status);
    return false;
  }
  return true;
}

}  // namespace tabulon

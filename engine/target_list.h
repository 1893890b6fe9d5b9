#pragma once
// Turning the object file into the flat list of targets of a run: groupings
// and inactive objects are dropped, domains become their computers, include
// files the names they list.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/directory_target.h"
#include "engine/object_file.h"
#include "engine/run_context.h"
#include "engine/target.h"

namespace tabulon {

class TargetListBuilder {
 public:
  // Domains are expanded through sessions opened with `session_options`;
  // its cancel token also ends reading the object file early.
  TargetListBuilder(platform::Platform& platform, RunOutput& output, const TargetOptions& options,
                    bool computers_needed, const platform::SessionOptions& session_options)
      : platform_(platform),
        output_(output),
        options_(options),
        computers_needed_(computers_needed),
        session_options_(session_options) {}

  // Appends the targets of the object file. False when an include file could
  // not be opened; the message has been shown and the run stops.
  bool ReadObjectFile(const std::string& path, std::vector<tagCObjects>& targets);

  // The name "%computername%" stands for, as LocalComputerName chose it.
  void set_local_computer_name(std::string name) { local_computer_name_ = std::move(name); }
  // Where directory objects are searched: the server override and TLS.
  void set_directory_settings(DirectoryConnectionSettings settings) {
    directory_settings_ = std::move(settings);
  }

 private:
  bool AddObject(const ObjectLine& line, std::vector<tagCObjects>& targets);
  void ExpandNtDomain(const tagCObjects& domain, std::vector<tagCObjects>& targets);
  void ExpandDirectoryDomain(const tagCObjects& domain, std::vector<tagCObjects>& targets);
  void AddDirectoryComputers(const tagCObjects& container, std::vector<tagCObjects>& targets);
  bool LookUpDirectoryComputer(tagCObjects& computer);
  // The browse list of the flat name of the domain `path` is in, by
  // upper-case name; empty when the flat name cannot be found.
  std::map<std::string, platform::ServerInfo101> BrowseListOfDirectoryDomain(
      const std::string& path);
  std::unique_ptr<platform::TargetSession> OpenSession(const std::string& target);
  void AddBrowseList(platform::TargetSession& session, const std::string& domain, ProgressKind kind,
                     const std::string& excluded, std::vector<tagCObjects>& targets);
  std::map<std::string, platform::ServerInfo101> ReadBrowseMap(platform::TargetSession& session,
                                                               const std::string& domain);
  void AddComputerAccounts(platform::TargetSession& session, const std::string& domain,
                           const std::string& controller, std::vector<tagCObjects>& targets);
  bool AddIncludeFile(const tagCObjects& include, std::vector<tagCObjects>& targets);
  void ReportLookupFailure(const std::string& name, win::Status status);

  platform::Platform& platform_;
  RunOutput& output_;
  const TargetOptions& options_;
  bool computers_needed_;
  const platform::SessionOptions& session_options_;
  std::string local_computer_name_;
  DirectoryConnectionSettings directory_settings_;
};

// The first matching skip-list entry skips the target.
bool SkipListMatches(std::string_view path, const format::NameList& skip_list);
// A target passes when it shares a bit of the computer type table with the
// mask.
bool FilterPasses(std::uint32_t mask, std::uint32_t server_type);

}  // namespace tabulon

#pragma once
// Readers for the sections of an estate file, shared by the loader.
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "estate/estate.h"
#include "estate/json_reader.h"

namespace tabulon::estate {

// Service lists by lower-case profile name.
using ServiceProfiles = std::unordered_map<std::string, std::shared_ptr<const ServiceList>>;

enum class FailureScope {
  kComputerOrDomain,
  kService,
  kTerminalSession,
  kRegistryKey,
  kPrinter,
  kUser,
};

// A "security" member: SDDL text, {"hex": "..."} or null.
bool ReadStatedSecurity(JsonReader& reader, const Json& value, const JsonPath& path,
                        StatedSecurity& out);
// The object_security member of a computer.
bool ReadSecuredPaths(JsonReader& reader, const Json& value, const JsonPath& path,
                      std::vector<SecuredPath>& out);

bool ReadFailures(JsonReader& reader, const Json& value, const JsonPath& path, FailureScope scope,
                  FailureList& out);
// Accounts may give a full "sid" or a "rid" relative to the owner's SID.
bool ReadAccounts(JsonReader& reader, const Json& value, const JsonPath& path,
                  const std::optional<platform::Sid>& owner, std::vector<Account>& out);
// platform_id, version_major, version_minor, type and comment members.
bool ReadServerFields(JsonReader& reader, const Json& object, const std::string& path,
                      platform::ServerInfo101& out);

bool ReadServices(JsonReader& reader, const Json& value, const JsonPath& path, ServiceList& out);
bool ReadServiceProfiles(JsonReader& reader, const Json& value, const JsonPath& path,
                         ServiceProfiles& out);

// The terminal_services member of a computer.
bool ReadTerminalServer(JsonReader& reader, const Json& value, const JsonPath& path,
                        TerminalServer& out);
// The top-level libraries member: what the computer running the program has.
bool ReadLibraries(JsonReader& reader, const Json& value, const JsonPath& path,
                   platform::TerminalServicesLibraries& terminal, bool& remote_access);

bool ReadDomain(JsonReader& reader, const Json& value, const JsonPath& path, Domain& out);
// The directory member of a domain: its LDIF files (looked up from
// `base_directory`) and a schema of attribute syntaxes.
bool ReadDirectory(JsonReader& reader, const Json& value, const JsonPath& path,
                   std::string_view base_directory, std::shared_ptr<const DirectoryTree>& out);
bool ReadComputer(JsonReader& reader, const Json& value, const JsonPath& path,
                  const ServiceProfiles& profiles, Computer& out);
// The shares, default_shares, sessions, refuse_session_502, open_files,
// disks and transports members of a computer.
bool ReadServerResources(JsonReader& reader, const Json& computer, const std::string& path,
                         Computer& out);

// .reg files are looked up from here; each file is read once per estate.
struct RegistrySources {
  std::string base_directory;  // empty: the current directory
  std::unordered_map<std::string, std::shared_ptr<const RegistryTree>> files;
};
// The registry member of a computer.
bool ReadRegistry(JsonReader& reader, const Json& value, const JsonPath& path,
                  RegistrySources& sources, Computer& out);
// The wmi member of a computer: its root\CIMV2 classes.
bool ReadWmi(JsonReader& reader, const Json& value, const JsonPath& path,
             std::shared_ptr<const WmiNamespace>& out);
// The printers member of a computer.
bool ReadPrinters(JsonReader& reader, const Json& value, const JsonPath& path,
                  std::vector<Printer>& out);
// Local or global groups of a computer or domain. A group given a "sid" or
// "rid" is added to `accounts` with `use` unless an account has its name.
bool ReadGroups(JsonReader& reader, const Json& value, const JsonPath& path,
                const std::optional<platform::Sid>& owner, platform::SidNameUse use,
                std::vector<Account>& accounts, GroupList& out);
// The users member of a computer or domain: its account database, sorted
// as the database lists it.
bool ReadUsers(JsonReader& reader, const Json& value, const JsonPath& path,
               std::shared_ptr<const UserList>& out);
// The logon_counters member of a domain controller, by account name.
bool ReadLogonCounters(JsonReader& reader, const Json& value, const JsonPath& path,
                       std::vector<LogonCounters>& out);

// The rights, account_policy and audit_policy members of a computer.
bool ReadLocalPolicy(JsonReader& reader, const Json& computer, const std::string& path,
                     LocalPolicy& out);

// The files member of a computer: its files and directories by drive path;
// "bytes" files are looked up from `base_directory` when relative.
bool ReadFiles(JsonReader& reader, const Json& value, const JsonPath& path,
               std::string_view base_directory, std::shared_ptr<const FileNode>& out);

// The scheduled_tasks member of a computer; its task_folder is looked up
// from `base_directory` when relative.
bool ReadScheduledWork(JsonReader& reader, const Json& value, const JsonPath& path,
                       std::string_view base_directory, ScheduledWork& out);

}  // namespace tabulon::estate

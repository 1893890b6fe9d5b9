#pragma once
// The backends every contract suite runs against, each through a small
// factory: how to get a session, and what the backend's estate or test
// server holds, family by family, so that the suites check the same
// behaviour everywhere and take the values that differ from the factory.
//
// A family a backend does not serve is refused: every call of it must fail
// with the "not supported" status and return nothing. A family the backend
// serves but whose test server holds nothing to check (no global groups on a
// standalone server) names the backend whose server covers it; its tests
// are skipped with that reason.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/session.h"
#include "platform/status.h"

namespace tabulon::testing::contract {

enum class Serving : std::uint8_t { kServed, kRefused, kElsewhere };

template <typename Facts>
struct Family {
  Serving serving = Serving::kRefused;
  Facts facts;
  std::string elsewhere;  // with kElsewhere: where the family is covered
};

template <typename Facts>
Family<Facts> Served(Facts facts) {
  return {Serving::kServed, std::move(facts), {}};
}
template <typename Facts>
Family<Facts> CoveredBy(std::string where) {
  return {Serving::kElsewhere, {}, std::move(where)};
}

// The server service, asked on `server`. It lists at least two shares.
struct ServerFacts {
  std::string server;
  std::string share;  // one of them, spelled in another case than listed
  // What NetShareGetInfo says of a share the server does not have (Samba:
  // ERROR_INVALID_NAME), and whether sessions are listed at level 502 too
  // (Samba: ERROR_INVALID_LEVEL).
  win::Status missing_share = win::NERR_NetNameNotFound;
  bool sessions_502 = true;
};

// The account service: the machine accounts `server` lists (at least two),
// and the controller NetGetDCName names for `domain`.
struct AccountFacts {
  std::string server;
  std::vector<std::string> machines;  // sorted, with their "$"
  std::string domain;
  std::string controller;  // "\\NAME"
};

// The service manager of `machine`: at least three services of the type
// the exports list, `service` one of them.
struct ServiceFacts {
  std::string machine;
  std::string service;
  // Whether a manager opened without SC_MANAGER_ENUMERATE_SERVICE is
  // refused the listing (a standalone Samba server does not check).
  bool checks_access = false;
};

// HKEY_LOCAL_MACHINE of `machine`: `key` has at least two subkeys and the
// text value `value`.
struct RegistryFacts {
  std::string machine;
  std::string key;
  std::string value;
};

// The print server `server`, with at least two printers, `printer` one of
// them (its full name).
struct PrintingFacts {
  std::string server;
  std::string printer;
};

// Names `system` resolves: `account` a user ("DOMAIN\name" or bare).
struct LookupFacts {
  std::string system;
  std::string account;
};

// The groups of `server`: its local groups (at least two) with `group`
// holding at least one member; `global_group` a global group of at least
// one member on `controller`, where there is one.
struct GroupFacts {
  std::string server;
  std::string group;
  std::string controller;
  std::string global_group;
};

// The user accounts of `server`: at least two, `user` one of them.
struct UserFacts {
  std::string server;
  std::string user;
};

// The LSA of `system`: `right` a right some account holds.
struct PolicyFacts {
  std::string system;
  std::string right;
  bool checks_access = false;  // whether a weak handle is refused
};

// Files of a share: `folder` ("\\SERVER\share\dir") holds the files
// `files` (sorted as the listing gives them) and no subfolder.
struct FileFacts {
  std::string root;  // "\\SERVER\share\"
  std::string folder;
  std::vector<std::string> files;
  // Whether volume labels and file systems are read (not over SMB yet:
  // ERROR_NOT_SUPPORTED).
  bool volume_information = true;
};

// Where a family is asked, for the families whose contract here is their
// paging and statuses.
struct HostFacts {
  std::string server;
  std::string name;
};

// The families the suites check, as one backend serves them.
struct BackendFacts {
  Family<ServerFacts> server;
  Family<AccountFacts> accounts;
  Family<ServiceFacts> services;
  Family<RegistryFacts> registry;
  Family<PrintingFacts> printing;
  Family<LookupFacts> lookup;
  Family<GroupFacts> groups;
  Family<UserFacts> users;
  Family<PolicyFacts> policy;
  Family<FileFacts> files;
  Family<HostFacts> workstation;
  Family<HostFacts> browser;  // `name`: a domain with a browse list
  Family<HostFacts> terminal;
  Family<HostFacts> schedule;
  Family<HostFacts> remote_access;  // `name`: an account of the server
};

class BackendFactory {
 public:
  virtual ~BackendFactory() = default;
  // Starts what the backend needs (once per test program); empty when it
  // can serve sessions, else why not.
  virtual std::string Start() = 0;
  // A session; without Start, for the families the backend refuses.
  virtual std::unique_ptr<platform::TargetSession> Open() = 0;
  virtual const BackendFacts& facts() const = 0;
};

// The backends, one type each. A test program instantiates every suite for
// the backends its build names (TABULON_CONTRACT_BACKENDS, a list of these
// types): the two test servers both listen on 127.0.0.1:445, so each has a
// program of its own, which starts it once.
struct EstateBackend {
  static BackendFactory& Factory();
};
struct Unsupported {
  static BackendFactory& Factory();
};
struct StandaloneServer {  // the remote backend against the test smbd
  static BackendFactory& Factory();
};
struct DomainController {  // the remote backend against the test controller
  static BackendFactory& Factory();
};
struct Win32Native {  // the Windows backend on this computer (Windows builds)
  static BackendFactory& Factory();
};

using Backends = ::testing::Types<TABULON_CONTRACT_BACKENDS>;

}  // namespace tabulon::testing::contract

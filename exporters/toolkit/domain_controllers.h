#pragma once
// The controllers of a domain, for the exports that ask each of them in
// turn (every controller keeps its own logon counts): an NT domain's from
// its machine accounts, a directory domain's from its directory.
#include <string>
#include <string_view>
#include <vector>

#include "engine/run_output.h"
#include "format/name_list.h"
#include "platform/directory_search.h"
#include "platform/session.h"

namespace tabulon {

// The controllers of the domain whose primary controller `pdc` is ("\\NAME"):
// the server trust accounts of its machine list, without the trailing "$",
// in list order, less those matching `skip` when given.
std::vector<std::string> DomainControllers(platform::TargetSession& session, std::string_view pdc,
                                           const format::NameList* skip);

// The DNS host names of the controllers of `domain` (its DNS name), as its
// directory lists them (the computer objects with the server trust bit), in
// the directory's order, less those "\\" + name of which `skip` matches when
// given. `options` open a connection on the domain's naming context. A
// failure is reported as a general failure and a progress row for the
// domain, and gives an empty list.
std::vector<std::string> DirectoryDomainControllers(platform::DirectorySearch& directory,
                                                    const platform::DirectoryOpenOptions& options,
                                                    std::string_view domain,
                                                    const format::NameList* skip, RunOutput& out);

}  // namespace tabulon

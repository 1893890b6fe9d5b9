#pragma once
// Sessions used from several threads at once: what one session answers to
// one call of each family, written out, so that the answers of concurrent
// sessions can be compared with those of the same sessions one at a time.
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry.h"
#include "platform/security.h"
#include "platform/service_control.h"
#include "platform/session.h"

namespace tabulon::testing {

// Server information, shares, services, the registry's first keys, a
// folder's listing and an account name lookup, each with its status.
inline std::string FamilyTranscript(platform::TargetSession& s, const std::string& server,
                                    const std::string& folder, const std::string& account) {
  std::ostringstream out;
  const auto info = s.server().NetServerGetInfo101(server);
  out << "server " << info.status << ' ' << info.info.name << ' ' << info.info.version_major << '.'
      << info.info.version_minor << ' ' << info.info.comment << '\n';
  const auto shares = s.server().NetShareEnum(server, 1, 0xFFFFFFFF, 0);
  out << "shares " << shares.status;
  for (const auto& share : shares.entries) out << ' ' << share.netname;
  out << '\n';
  const auto manager = s.services().OpenSCManager(server, platform::kScManagerEnumerateService);
  out << "services " << manager.status;
  if (manager.status == win::ERROR_SUCCESS) {
    const auto services = s.services().EnumServicesStatus(
        manager.handle, platform::kServiceWin32, platform::kServiceStateAll, 256 * 1024, 0);
    out << ' ' << services.status;
    for (const auto& service : services.services) out << ' ' << service.service_name;
    s.services().CloseServiceHandle(manager.handle);
  }
  out << '\n';
  const auto hive = s.registry().ConnectRegistry(server, platform::kHkeyLocalMachine);
  out << "registry " << hive.status;
  if (hive.status == win::ERROR_SUCCESS) {
    for (std::uint32_t i = 0; i < 8; ++i) {
      const auto key = s.registry().EnumKey(hive.key, i, 256);
      out << ' ' << key.status << ':' << key.name;
      if (key.status != win::ERROR_SUCCESS) break;
    }
    s.registry().CloseKey(hive.key);
  }
  out << '\n';
  auto found = s.files().FindFirstFile(folder + "\\*");
  out << "files " << found.status;
  if (found.status == win::ERROR_SUCCESS) {
    out << ' ' << found.data.name << ':' << found.data.size;
    for (;;) {
      const auto next = s.files().FindNextFile(found.handle);
      if (next.status != win::ERROR_SUCCESS) {
        out << ' ' << next.status;
        break;
      }
      out << ' ' << next.data.name << ':' << next.data.size;
    }
    s.files().FindClose(found.handle);
  }
  out << '\n';
  const auto sid = s.lookup().LookupAccountName(server, account, 68);
  out << "lookup " << sid.status << ' ' << sid.domain << '\n';
  return out.str();
}

// Runs `work(i)` for i in [0, count) on `count` threads at once; the results
// in order of i.
inline std::vector<std::string> OnThreads(std::size_t count,
                                          const std::function<std::string(std::size_t)>& work) {
  std::vector<std::string> results(count);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < count; ++i) {
    threads.emplace_back([&results, &work, i] { results[i] = work(i); });
  }
  for (std::thread& t : threads) t.join();
  return results;
}

}  // namespace tabulon::testing

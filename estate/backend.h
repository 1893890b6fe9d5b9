#pragma once
// The estate backend: every platform family it serves, answering from one
// estate, with one call log. It fills the service members of a Platform; the
// profile, locale and clock stay the caller's.
#include <cstddef>

#include "estate/account_lookup.h"
#include "estate/call_log.h"
#include "estate/directory_service.h"
#include "estate/estate.h"
#include "estate/file_system.h"
#include "estate/icmp.h"
#include "estate/network_management.h"
#include "estate/printing.h"
#include "estate/registry.h"
#include "estate/service_control.h"
#include "estate/simulation.h"
#include "estate/terminal_services.h"
#include "platform/platform.h"

namespace tabulon::estate {

class EstateBackend {
 public:
  // `estate` must have been finalized (the loader does that).
  explicit EstateBackend(Estate estate);
  EstateBackend(const EstateBackend&) = delete;
  EstateBackend& operator=(const EstateBackend&) = delete;

  // Sets accounts, net, files, services, directory, icmp, terminal, registry
  // and printing.
  void Attach(platform::Platform& platform);

  const Estate& estate() const { return estate_; }
  CallLog& call_log() { return simulation_.log(); }
  EstateServiceControl& service_control() { return services_; }
  std::size_t OpenServiceHandles() const { return services_.OpenHandleCount(); }
  EstateTerminalServices& terminal_services() { return terminal_; }
  std::size_t OpenTerminalServerHandles() const { return terminal_.OpenHandleCount(); }
  EstateRegistry& registry() { return registry_; }
  std::size_t OpenRegistryKeys() const { return registry_.OpenKeyCount(); }
  EstatePrinting& printing() { return printing_; }
  std::size_t OpenPrinterHandles() const { return printing_.OpenHandleCount(); }

 private:
  Estate estate_;
  Simulation simulation_;
  EstateNetworkManagement net_;
  EstateFileSystem files_;
  EstateServiceControl services_;
  EstateDirectoryService directory_;
  EstateIcmp icmp_;
  EstateAccountLookup accounts_;
  EstateTerminalServices terminal_;
  EstateRegistry registry_;
  EstatePrinting printing_;
};

}  // namespace tabulon::estate

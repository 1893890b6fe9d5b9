#pragma once
// The services of the computers an export talks to, one interface per family.
// A run gets one Platform; exporters use only these interfaces and never know
// which backend serves them.
#include "platform/directory.h"
#include "platform/file_system.h"
#include "platform/icmp.h"
#include "platform/locale.h"
#include "platform/netapi.h"
#include "platform/printing.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/security.h"
#include "platform/service_control.h"
#include "platform/terminal_services.h"
#include "platform/time.h"

namespace tabulon::platform {

struct Platform {
  Profile* profile = nullptr;
  Locale* locale = nullptr;
  Clock* clock = nullptr;
  AccountLookup* accounts = nullptr;
  NetworkManagement* net = nullptr;
  ServiceControl* services = nullptr;
  DirectoryService* directory = nullptr;
  Icmp* icmp = nullptr;
  TerminalServices* terminal = nullptr;
  FileSystem* files = nullptr;
  Registry* registry = nullptr;
  Printing* printing = nullptr;
};

}  // namespace tabulon::platform

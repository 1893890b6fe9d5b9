#include "exporters/exporter_table.h"

#include "exporters/server/computers.h"
#include "exporters/server/drives.h"
#include "exporters/server/network.h"
#include "exporters/server/open_files.h"
#include "exporters/server/printers.h"
#include "exporters/server/protocols.h"
#include "exporters/server/services.h"
#include "exporters/server/sessions.h"
#include "exporters/server/shares.h"
#include "exporters/server/terminal_processes.h"
#include "exporters/server/terminal_sessions.h"

namespace tabulon {
namespace {

bool WantServices(const RunOptions& o) {
  return o.is_enabled(kServices) || o.security.service;
}
bool WantComputers(const RunOptions& o) {
  return o.is_enabled(kComputers);
}
bool WantShares(const RunOptions& o) {
  return o.is_enabled(kShares) || o.is_enabled(kShareConnections) || o.security.share;
}
bool WantSessions(const RunOptions& o) {
  return o.is_enabled(kSessions);
}
bool WantOpenFiles(const RunOptions& o) {
  return o.is_enabled(kOpenFiles);
}
bool WantDrives(const RunOptions& o) {
  return o.is_enabled(kDrives);
}
bool WantProtocols(const RunOptions& o) {
  return o.is_enabled(kProtocols);
}
bool WantTseSessions(const RunOptions& o) {
  return o.is_enabled(kTseSessions);
}
bool WantTseProcesses(const RunOptions& o) {
  return o.is_enabled(kTseProcesses);
}
bool WantNetwork(const RunOptions& o) {
  return o.is_enabled(kNetwork);
}
bool WantPrinters(const RunOptions& o) {
  return o.is_enabled(kPrinters) || o.security.printer;
}

// Exports that do not exist yet are simply absent; the run keeps this order.
constexpr ExporterEntry kExporters[] = {
    {"services", WantServices, ExportServiceRows},
    {"computers", WantComputers, ExportComputerRow},
    // templates
    {"shares", WantShares, ExportShareRows},
    {"sessions", WantSessions, ExportSessionRows},
    {"terminal sessions", WantTseSessions, ExportTseSessionRows},
    {"terminal processes", WantTseProcesses, ExportTseProcessRows},
    {"open files", WantOpenFiles, ExportOpenFileRows},
    {"drives", WantDrives, ExportDriveRows},
    {"network", WantNetwork, ExportNetworkRows},
    {"protocols", WantProtocols, ExportProtocolRows},
    // rights, policies, logged-on users
    {"printers", WantPrinters, ExportPrinterRows},
    // users, groups, tasks
};

}  // namespace

ExporterTable StandardExporters() {
  return kExporters;
}

}  // namespace tabulon

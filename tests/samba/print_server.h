#pragma once
// The test smbd as a print server: two printers from a printcap file, and
// the printer list as Samba's own client sees it.
#include <string>
#include <vector>

#include "support/samba_server.h"

namespace tabulon::testing {

// Writes the printcap and the spool folder into `folder` (which must stay
// while the server runs) and returns what smb.conf needs for the printers
// "laser" (comment "Laser printer") and "inkjet".
SambaServerSetup PrintServerSetup(const std::string& folder);

// The printer names rpcclient's enumprinters lists, once it lists `count`
// of them or after 10 s: the server loads its printer list in the
// background after it starts.
std::vector<std::string> RpcclientPrinterNames(const SambaServer& server, std::size_t count);

}  // namespace tabulon::testing

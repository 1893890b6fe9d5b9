#pragma once
// A small estate shared by the estate backend tests: one directory domain
// with a controller, workstations and a member server, one NT domain with a
// hand-written browse list and account list, and a workgroup computer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "estate/backend.h"
#include "estate/loader.h"

namespace tabulon::estate::testing {

inline constexpr std::string_view kSampleEstate = R"json({
  "local_computer": "ADMIN01",
  "service_profiles": {
    "workstation": [
      {"name": "Ntfs", "type": "FILE_SYSTEM_DRIVER", "state": "STOPPED",
       "start_type": "DEMAND", "account": ""},
      {"name": "Spooler", "display_name": "Print Spooler", "type": "WIN32_OWN_PROCESS",
       "state": "RUNNING", "start_type": "AUTO",
       "binary_path": "C:\\Windows\\System32\\spoolsv.exe", "dependencies": ["RPCSS", "http"]},
      {"name": "Tcpip", "display_name": "TCP/IP Protocol Driver", "type": "KERNEL_DRIVER",
       "state": "RUNNING", "start_type": "BOOT", "account": ""},
      {"name": "W32Time", "display_name": "Windows Time", "type": "WIN32_SHARE_PROCESS",
       "state": "STOPPED", "start_type": "MANUAL", "account": "NT AUTHORITY\\LocalService"}
    ]
  },
  "domains": [
    {"name": "FERNWOOD", "dns_name": "fernwood.example", "controller": "FWDC01",
     "sid": "S-1-5-21-1111-2222-3333",
     "accounts": [
       {"name": "Administrator", "rid": 500},
       {"name": "Domain Admins", "rid": 512, "use": "Group"},
       {"name": "jdoe", "sid": "S-1-5-21-1111-2222-3333-1105"}
     ]},
    {"name": "HARBOR", "controller": "\\\\HBDC01",
     "browse_list": [
       "HBDC01",
       {"name": "OLDFAX", "type": ["WORKSTATION", "WFW"], "version_major": 4,
        "comment": "retired"}
     ],
     "computer_accounts": [
       {"name": "OLDFAX", "flags": ["WORKSTATION_TRUST_ACCOUNT", "ACCOUNTDISABLE"], "rid": 1201},
       {"name": "HBDC01$", "flags": "SERVER_TRUST_ACCOUNT", "comment": "harbour controller"}
     ]}
  ],
  "computers": [
    {"name": "FWDC01", "dns_name": "fwdc01.fernwood.example", "address": "192.0.2.10",
     "domain": "FERNWOOD",
     "server": {"type": ["WORKSTATION", "SERVER", "PDC", "NT", "WINDOWS_SERVER"],
                "comment": "Head office controller"}},
    {"name": "\\\\FWWS01", "dns_name": "fwws01.fernwood.example", "address": "192.0.2.21",
     "domain": "fernwood.example", "service_profile": "workstation",
     "server": {"type": "0x1003", "version_major": 6, "version_minor": 1, "comment": "Reception"}},
    {"name": "FWWS02", "address": "192.0.2.22", "domain": "FERNWOOD", "offline": true,
     "service_profile": "Workstation"},
    {"name": "FWSRV01", "address": "192.0.2.30", "domain": "FERNWOOD",
     "server": {"type": 36867},
     "ping": {"delay_ms": 40, "hops": 3},
     "sid": "S-1-5-21-7-8-9",
     "accounts": [
       {"name": "backup", "rid": 1001},
       {"name": "Administratoren", "sid": "S-1-5-32-544", "use": "Alias"}
     ],
     "services": [
       {"name": "prlntss", "display_name": "Print Server Agent",
        "failures": {"OpenService": "ERROR_ACCESS_DENIED"}},
       {"name": "Backup", "display_name": "Backup Agent", "account": ".\\backup",
        "failures": {"QueryServiceConfig": {"status": 1726, "after_calls": 1}}}
     ],
     "failures": {"LookupAccountName": "RPC_S_SERVER_UNAVAILABLE"}},
    {"name": "HBDC01", "address": "192.0.2.40", "domain": "HARBOR",
     "server": {"type": ["SERVER", "BDC", "NT"], "version_major": 5}},
    {"name": "LAB01", "ping": {"answers": false}, "unknown_section": {"later": true}},
    {"name": "ADMIN01", "domain": "FERNWOOD"}
  ]
})json";

inline Estate LoadSample() {
  LoadResult loaded = ParseEstate(kSampleEstate, "sample.json");
  EXPECT_TRUE(loaded.ok) << loaded.error;
  return std::move(loaded.estate);
}

inline std::unique_ptr<EstateBackend> SampleBackend() {
  return std::make_unique<EstateBackend>(LoadSample());
}

// An estate from `text`; a failure to load fails the test.
inline std::unique_ptr<EstateBackend> BackendFrom(std::string_view text) {
  LoadResult loaded = ParseEstate(text, "test.json");
  EXPECT_TRUE(loaded.ok) << loaded.error;
  return std::make_unique<EstateBackend>(std::move(loaded.estate));
}

}  // namespace tabulon::estate::testing

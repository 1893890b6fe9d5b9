// Lays out the sample estate's executables (version resources only, no
// code) with the tests' image builder. From the repository's top folder:
//   g++ -std=c++20 -I tests -o /tmp/make_executables examples/files/make_executables.cpp
//   /tmp/make_executables examples/files
#include <fstream>
#include "support/pe_image.h"
using namespace tabulon::testing;
static void Write(const std::string& path, bool plus, VersionSpec v) {
  std::ofstream(path, std::ios::binary) << PeImage({plus, {{0x809, VersionInfoBytes(v)}}});
}
static VersionSpec Spec(std::uint32_t fms, std::uint32_t fls, std::uint32_t pms, std::uint32_t pls,
                        std::uint32_t type,
                        std::vector<std::pair<std::string, std::string>> strings) {
  VersionSpec v;
  v.file_ms = fms;
  v.file_ls = fls;
  v.product_ms = pms;
  v.product_ls = pls;
  v.type = type;
  v.tables = {{"080904b0", strings}};
  v.translations = {{0x809, 1200}};
  return v;
}
int main(int, char** argv) {
  const std::string d = argv[1];
  Write(d + "/ledger.exe", true,
        Spec(0x00070004, 0x00010898, 0x00070004, 0, 1,
             {{"CompanyName", "Wendrock Software"},
              {"FileDescription", "Wendrock Ledger"},
              {"FileVersion", "7.4.1.2200"},
              {"InternalName", "ledger"},
              {"LegalCopyright", "Copyright (C) 2012-2025 Wendrock Software"},
              {"OriginalFilename", "ledger.exe"},
              {"ProductName", "Wendrock Ledger"},
              {"ProductVersion", "7.4"}}));
  Write(d + "/ledgerui.dll", true,
        Spec(0x00070004, 0x00010898, 0x00070004, 0, 2,
             {{"CompanyName", "Wendrock Software"},
              {"FileDescription", "Ledger user interface"},
              {"FileVersion", "7.4.1.2200"},
              {"InternalName", "ledgerui"},
              {"OriginalFilename", "ledgerui.dll"},
              {"ProductName", "Wendrock Ledger"},
              {"ProductVersion", "7.4"}}));
  Write(d + "/caskplan.exe", false,
        Spec(0x00030002, 0x00000072, 0x00030002, 0, 1,
             {{"Comments", "Built for the cellar team"},
              {"CompanyName", "Harrowgate Cooperage"},
              {"FileDescription", "Cask Planner"},
              {"FileVersion", "3.2.0.114"},
              {"InternalName", "caskplan"},
              {"LegalCopyright", "Copyright (C) 2019 Harrowgate Cooperage"},
              {"OriginalFilename", "caskplan.exe"},
              {"ProductName", "Cask Planner"},
              {"ProductVersion", "3.2"},
              {"PrivateBuild", "cellar-2025-11"}}));
  Write(d + "/labelprn.exe", false,
        Spec(0x00020000, 0x00050001, 0x00020000, 0, 1,
             {{"CompanyName", "Tallis Label Systems"},
              {"FileDescription", "Label print service"},
              {"FileVersion", "2.0.5.1"},
              {"OriginalFilename", "labelprn.exe"},
              {"ProductName", "Tallis Labels"},
              {"ProductVersion", "2.0"}}));
}

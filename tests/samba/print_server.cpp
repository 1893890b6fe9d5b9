#include "samba/print_server.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

namespace tabulon::testing {

SambaServerSetup PrintServerSetup(const std::string& folder) {
  std::ofstream(folder + "/printcap") << "laser|Laser printer:\\\n  :sh:\ninkjet:\\\n  :sh:\n";
  std::filesystem::create_directories(folder + "/spool");
  ::chmod((folder + "/spool").c_str(), 01777);
  // No print system runs here: an empty queue answer keeps the printers
  // ready and idle.
  return {.global =
              "  load printers = yes\n"
              "  printing = bsd\n"
              "  printcap name = " +
              folder +
              "/printcap\n"
              "  lpq command = /bin/true\n",
          .shares =
              "\n[printers]\n"
              "  path = " +
              folder +
              "/spool\n"
              "  printable = yes\n"
              "  browseable = no\n"};
}

namespace {

std::vector<std::string> ListOnce(const SambaServer& server) {
  const std::string command = "rpcclient -s " + server.configuration() + " -U " + kSambaUser + "%" +
                              kSambaPassword + " 127.0.0.1 -c enumprinters 2>/dev/null";
  std::vector<std::string> names;
  FILE* out = ::popen(command.c_str(), "r");
  if (out == nullptr) return names;
  char line[1024];
  while (std::fgets(line, sizeof line, out) != nullptr) {
    // "\tname:[\\127.0.0.1\laser]"
    const std::string text(line);
    const std::size_t at = text.find("name:[");
    const std::size_t end = text.rfind(']');
    if (at != std::string::npos && end != std::string::npos && end > at + 6 &&
        text.find("name:[") == text.find_first_not_of('\t')) {
      names.push_back(text.substr(at + 6, end - at - 6));
    }
  }
  ::pclose(out);
  return names;
}

}  // namespace

std::vector<std::string> RpcclientPrinterNames(const SambaServer& server, std::size_t count) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    std::vector<std::string> names = ListOnce(server);
    if (names.size() >= count || std::chrono::steady_clock::now() > give_up) return names;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
}

}  // namespace tabulon::testing

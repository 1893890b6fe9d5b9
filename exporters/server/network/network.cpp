#include "exporters/server/network/network.h"

#include "engine/row.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/registry_values.h"
#include "exporters/toolkit/remote_hive.h"
#include "exporters/toolkit/simple_unit.h"

#include "format/lists.h"
#include "format/special_values.h"
#include "platform/text.h"

namespace tabulon {
namespace {

// Values are read into a buffer of this size; larger ones count as absent.
constexpr std::uint32_t kValueBufferBytes = 256;
constexpr std::uint32_t kKeyNameChars = 256;
constexpr std::uint32_t kWindows2000 = 5;

constexpr std::string_view kNetBtParameters =
    "System\\CurrentControlSet\\Services\\NetBT\\Parameters";
constexpr std::string_view kTcpipParameters =
    "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr std::string_view kNetworkCards =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
constexpr std::string_view kNetBtAdapters2000 =
    "System\\CurrentControlSet\\Services\\NetBT\\Parameters\\Interfaces\\Tcpip_";
constexpr std::string_view kNetBtAdaptersNt =
    "System\\CurrentControlSet\\Services\\NetBT\\Adapters\\";
constexpr std::string_view kTcpipInterfaces2000 =
    "System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
constexpr std::string_view kServices = "System\\CurrentControlSet\\Services\\";

enum Column : std::uint32_t {
  kEnableDns = 0,
  kEnableLmhosts,
  kScopeId,
  kHostName,
  kDomainName,
  kSuffixList,
  kDnsDhcp,
  kDns,
  kNicName,
  kWinsDhcp,
  kWins,
  kDhcpServer,
  kGateway,
  kGatewayDhcp,
  kIp,
  kIpDhcp,
  kSubnetMasks,
  kSubnetDhcp,
  kDhcp,
  kColumnCount,
};

constexpr std::string_view kDhcpMark = "DHCP";

// Every blank and "," becomes the first character of the secondary
// delimiter; an empty delimiter ends the list at the first one, as a NUL
// there would.
std::string SpaceList(std::string_view list, std::string_view delimiter) {
  // A whole character, not the first byte of a multi-byte one.
  const std::string first = text::TruncateCodePoints(delimiter, 1);
  std::string out;
  for (char c : list) {
    if (c != ' ' && c != ',') {
      out += c;
    } else if (first.empty()) {
      break;
    } else {
      out += first;
    }
  }
  return out;
}

std::string_view YesNo(bool on) {
  return on ? format::kYes : format::kNo;
}

class NetworkExport {
 public:
  NetworkExport(ExportContext& context, const tagCObjects& target, platform::RegistryKey hklm)
      : registry_(context.session.registry()),
        card_row_(context.output, context.files.of(kNetwork), &target),
        hklm_(hklm),
        modern_(target.major_version >= kWindows2000),
        delimiter_(context.output.settings().secondary_delimiter) {}

  void Run() {
    ReadNetBt();
    ReadTcpip();
    OpenedKey cards(registry_, hklm_, kNetworkCards, platform::kKeyRead);
    if (!cards.is_open()) return;
    for (std::uint32_t index = 0;; ++index) {
      const platform::RegistryEnumKeyResult sub =
          registry_.EnumKey(cards.get(), index, kKeyNameChars);
      if (sub.status != win::ERROR_SUCCESS) break;
      ExportCard(sub.name);
    }
  }

 private:
  RegistryValue Read(const OpenedKey& key, std::string_view name) const {
    return RegistryValue(registry_, kValueBufferBytes, key, name);
  }

  void ReadNetBt() {
    OpenedKey key(registry_, hklm_, kNetBtParameters, platform::kKeyRead);
    if (!key.is_open()) return;
    if (modern_) {
      wide_[kEnableDns] = format::kYes;
    } else {
      const RegistryValue dns = Read(key, "EnableDNS");
      wide_[kEnableDns] = YesNo(dns.readable() && dns.dword() != 0);
    }
    const RegistryValue lmhosts = Read(key, "EnableLMHOSTS");
    wide_[kEnableLmhosts] = YesNo(lmhosts.readable() && lmhosts.dword() != 0);
    const RegistryValue scope = Read(key, "ScopeId");
    if (scope.present()) wide_[kScopeId] = scope.Text();
  }

  void ReadTcpip() {
    OpenedKey key(registry_, hklm_, kTcpipParameters, platform::kKeyRead);
    if (!key.is_open()) return;
    if (const RegistryValue v = Read(key, "HostName"); v.present()) wide_[kHostName] = v.Text();
    if (const RegistryValue v = Read(key, "Domain"); v.present()) wide_[kDomainName] = v.Text();
    if (const RegistryValue v = Read(key, "SearchList"); v.present()) {
      wide_[kSuffixList] = SpaceList(v.Text(), delimiter_);
    }
    if (modern_) return;
    std::string dns;
    if (const RegistryValue v = Read(key, "DhcpNameServer"); v.present()) dns = v.Text();
    if (const RegistryValue v = Read(key, "NameServer"); v.present()) dns = v.Text();
    wide_dns_ = SpaceList(dns, delimiter_);
  }

  void ExportCard(const std::string& name) {
    OpenedKey card(registry_, hklm_, std::string(kNetworkCards) + "\\" + name,
                   platform::kKeyQueryValue);
    if (!card.is_open()) return;
    if (Read(card, "Hidden").set()) return;
    const RegistryValue description = Read(card, "Description");
    if (!description.present()) return;

    std::array<std::string, kColumnCount> row = wide_;
    row[kNicName] = description.Text();
    row[kDns] = modern_ ? std::string() : wide_dns_;
    const RegistryValue service = Read(card, "ServiceName");
    if (service.present()) {
      ReadWins(service.Text(), row);
      ReadAdapter(service.Text(), row);
    }
    for (std::uint32_t c = 0; c < kColumnCount; ++c) card_row_[c] = std::move(row[c]);
    card_row_.Write();
  }

  void ReadWins(const std::string& service, std::array<std::string, kColumnCount>& row) {
    const std::string path = std::string(modern_ ? kNetBtAdapters2000 : kNetBtAdaptersNt) + service;
    OpenedKey key(registry_, hklm_, path, platform::kKeyRead);
    if (!key.is_open()) return;
    if (modern_) {
      if (const RegistryValue v = Read(key, "DhcpNameServerList"); v.present()) {
        row[kWinsDhcp] = kDhcpMark;
        row[kWins] = v.Joined(delimiter_);
      }
      if (const RegistryValue v = Read(key, "NameServerList"); v.present()) {
        row[kWinsDhcp].clear();
        row[kWins] = v.Joined(delimiter_);
      }
      return;
    }
    if (const RegistryValue v = Read(key, "DhcpNameServer"); v.present()) {
      row[kWinsDhcp] = kDhcpMark;
      row[kWins] = v.Text();
    }
    if (const RegistryValue v = Read(key, "NameServer"); v.present()) {
      row[kWinsDhcp].clear();
      row[kWins] = v.Text();
    }
    RegistryValue backup = Read(key, "NameServerBackup");
    if (!backup.present()) backup = Read(key, "DhcpNameServerBackup");
    if (backup.present()) format::AppendDelimited(row[kWins], backup.Text(), delimiter_);
  }

  void ReadAdapter(const std::string& service, std::array<std::string, kColumnCount>& row) {
    const std::string path = modern_ ? std::string(kTcpipInterfaces2000) + service
                                     : std::string(kServices) + service + "\\Parameters\\Tcpip";
    OpenedKey key(registry_, hklm_, path, platform::kKeyRead);
    if (!key.is_open()) return;
    const bool dhcp = Read(key, "EnableDhcp").set();
    if (dhcp) {
      row[kDhcp] = format::kYes;
      if (const RegistryValue v = Read(key, "DhcpServer"); v.present()) row[kDhcpServer] = v.Text();
      if (const RegistryValue v = Read(key, "DhcpNameServer"); v.readable()) {
        row[kDns] = SpaceList(v.Text(), delimiter_);
        row[kDnsDhcp] = kDhcpMark;
      }
      if (const RegistryValue v = Read(key, "DhcpDefaultGateway"); v.present()) {
        row[kGateway] = v.Joined(delimiter_);
        row[kGatewayDhcp] = kDhcpMark;
      }
      if (const RegistryValue v = Read(key, "DhcpIPAddress"); v.readable()) {
        row[kIp] = v.Text();
        row[kIpDhcp] = kDhcpMark;
        if (const RegistryValue mask = Read(key, "DhcpSubnetMask"); mask.readable()) {
          row[kSubnetMasks] = mask.Text();
          row[kSubnetDhcp] = kDhcpMark;
        }
      }
    }
    if (modern_) {
      if (const RegistryValue v = Read(key, "NameServer"); v.present()) {
        row[kDns] = SpaceList(v.Text(), delimiter_);
        row[kDnsDhcp].clear();
      }
    }
    if (const RegistryValue v = Read(key, "DefaultGateway"); v.present()) {
      row[kGateway] = v.Joined(delimiter_);
      row[kGatewayDhcp].clear();
    }
    if (const RegistryValue v = Read(key, "IPAddress"); v.present() && v.Text() != "0.0.0.0") {
      row[kIpDhcp].clear();
      row[kIp] = v.Joined(delimiter_);
      if (const RegistryValue mask = Read(key, "SubnetMask"); mask.readable()) {
        row[kSubnetDhcp].clear();
        row[kSubnetMasks] = mask.Joined(delimiter_);
      }
    }
  }

  platform::Registry& registry_;
  Row card_row_;
  platform::RegistryKey hklm_;
  bool modern_;
  std::string delimiter_;
  // The computer-wide fields every row of the target starts from.
  std::array<std::string, kColumnCount> wide_;
  std::string wide_dns_;  // older layout only
};

}  // namespace

void ExportNetworkRows(ExportContext& context, const tagCObjects& target) {
  RunOutput& out = context.output;
  ExportProgress progress(out, target, "Exporting Network (TCP/IP) Information...",
                          ProgressKind::kNetwork);
  const std::string failure = ReadRemoteHive(
      context, target, platform::kHkeyLocalMachine,
      [&](platform::RegistryKey hklm) { NetworkExport(context, target, hklm).Run(); });

  if (!failure.empty()) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kNetwork).log_name, !failure.empty(), failure);
}

}  // namespace tabulon

namespace tabulon {

ExporterUnit NetworkUnit() {
  static constexpr ExportType kTypes[] = {kNetwork};
  return {.name = "network",
          .types = kTypes,
          .start = StartEnabledTypeRun<kNetwork, ExportNetworkRows>};
}

}  // namespace tabulon

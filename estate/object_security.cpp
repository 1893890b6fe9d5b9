#include "estate/object_security.h"

#include <array>

#include "format/sddl_reader.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

using platform::SeObjectType;

// What an object that states no descriptor has, after what a fresh system
// gives each kind. Administrative shares have none at all.
struct DefaultDescriptor {
  SeObjectType type;
  std::string_view sddl;
};

constexpr std::array kDefaults{
    DefaultDescriptor{SeObjectType::kService,
                      "O:SYG:SYD:(A;;CCLCSWRPWPDTLOCRRC;;;SY)(A;;CCDCLCSWRPWPDTLOCRSDRCWDWO;;;BA)"
                      "(A;;CCLCSWLOCRRC;;;IU)(A;;CCLCSWLOCRRC;;;SU)"},
    DefaultDescriptor{SeObjectType::kLmShare, "O:BAG:SYD:(A;;0x1200a9;;;WD)"},
    DefaultDescriptor{SeObjectType::kPrinter,
                      "O:SYG:SYD:(A;OIIO;GA;;;CO)(A;;SWRC;;;WD)(A;CIIO;GX;;;WD)"
                      "(A;;LCSWSDRCWDWO;;;BA)(A;OIIO;GA;;;BA)"},
    DefaultDescriptor{SeObjectType::kRegistryKey,
                      "O:BAG:SYD:AI(A;CIID;KR;;;BU)(A;CIID;KA;;;BA)(A;CIID;KA;;;SY)"
                      "(A;CIIOID;GA;;;CO)"},
    DefaultDescriptor{SeObjectType::kFileObject,
                      "O:BAG:SYD:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;0x1200a9;;;BU)"},
};

StatedSecurity DefaultFor(SeObjectType type) {
  StatedSecurity stated;
  for (const DefaultDescriptor& d : kDefaults) {
    if (d.type == type) stated.sddl = d.sddl;
  }
  return stated;
}

bool SamePath(std::string_view a, std::string_view b) {
  while (a.ends_with('\\')) a.remove_suffix(1);
  while (b.ends_with('\\')) b.remove_suffix(1);
  return text::ToLower(a) == text::ToLower(b);
}

// Aliases such as "DA" and "LA" name accounts of the computer's domain, or
// of its own database when it has none.
std::optional<platform::Sid> DomainSid(const Estate& estate, const Computer& computer) {
  const Domain* domain = estate.DomainOf(computer);
  if (domain != nullptr && domain->sid) return domain->sid;
  return computer.sid;
}

// Only the parts asked for travel back, as the call does it.
std::vector<std::uint8_t> Answer(const StatedSecurity& stated,
                                 const std::optional<platform::Sid>& domain,
                                 std::uint32_t information) {
  if (stated.form == StatedSecurity::Form::kNone) return {};
  if (stated.form == StatedSecurity::Form::kBytes) return stated.bytes;
  format::SddlParse parse = format::ReadSddl(stated.sddl, domain);
  if (!parse.ok()) {
    // Only a domain alias on a computer without any domain SID gets here.
    parse = format::ReadSddl(stated.sddl, platform::Sid::Parse("S-1-5-21-0-0-0"));
  }
  format::SecurityDescriptor& sd = parse.value;
  if ((information & platform::kOwnerSecurityInformation) == 0) sd.owner.reset();
  if ((information & platform::kGroupSecurityInformation) == 0) sd.group.reset();
  if ((information & platform::kDaclSecurityInformation) == 0) {
    sd.dacl.reset();
    sd.control &= static_cast<std::uint16_t>(~format::kSeDaclPresent);
  }
  if ((information & platform::kSaclSecurityInformation) == 0) {
    sd.sacl.reset();
    sd.control &= static_cast<std::uint16_t>(~format::kSeSaclPresent);
  }
  return format::SelfRelativeBytes(sd).value_or(std::vector<std::uint8_t>{});
}

// "C$\Data" and "Data\sub" (a share) as the computer's own "C:\Data".
std::optional<std::string> LocalFilePath(const Computer& computer, std::string_view rest) {
  const std::size_t slash = rest.find('\\');
  const std::string_view first = rest.substr(0, slash);
  const std::string_view tail = slash == std::string_view::npos ? "" : rest.substr(slash);
  if (first.size() == 2 && first[1] == '$' && std::isalpha(static_cast<unsigned char>(first[0]))) {
    return std::string(1, first[0]) + ":" + std::string(tail.empty() ? "\\" : tail);
  }
  if (first.size() == 2 && first[1] == ':') return std::string(rest);
  const Share* share = computer.resources ? computer.resources->FindShare(first) : nullptr;
  if (share == nullptr || share->info.path.empty()) return std::nullopt;
  return share->info.path + std::string(tail);
}

struct Found {
  win::Status status = win::ERROR_SUCCESS;
  StatedSecurity security;
};

Found FindObject(Simulation& sim, const Computer& computer, std::string_view rest,
                 SeObjectType type) {
  const Estate& estate = sim.estate();
  const std::uint32_t scope = estate.IndexOf(computer);
  const auto stated = [type](const std::optional<StatedSecurity>& own) {
    return Found{win::ERROR_SUCCESS, own ? *own : DefaultFor(type)};
  };
  switch (type) {
    case SeObjectType::kService:
      if (computer.services) {
        for (const Service& service : *computer.services) {
          if (!SamePath(service.name, rest)) continue;
          const win::Status failed =
              sim.Injected(Operation::kGetNamedSecurityInfo, service.failures, scope);
          return failed != win::ERROR_SUCCESS ? Found{failed, {}} : stated(service.security);
        }
      }
      return {win::ERROR_SERVICE_DOES_NOT_EXIST, {}};
    case SeObjectType::kPrinter:
      for (const Printer& printer : computer.printers) {
        if (!SamePath(printer.info.printer_name, rest)) continue;
        const win::Status failed =
            sim.Injected(Operation::kGetNamedSecurityInfo, printer.failures, scope);
        return failed != win::ERROR_SUCCESS ? Found{failed, {}} : stated(printer.security);
      }
      return {win::ERROR_INVALID_PRINTER_NAME, {}};
    case SeObjectType::kLmShare: {
      const Share* share = computer.resources ? computer.resources->FindShare(rest) : nullptr;
      if (share == nullptr) return {win::NERR_NetNameNotFound, {}};
      if (!share->security && share->info.type == platform::kStypeSpecial) {
        return {win::ERROR_SUCCESS, {StatedSecurity::Form::kNone, {}, {}}};
      }
      return stated(share->security);
    }
    case SeObjectType::kRegistryKey:
      for (const SecuredPath& secured : computer.secured_paths) {
        if (secured.registry && SamePath(secured.path, rest)) return stated(secured.security);
      }
      return stated(std::nullopt);
    case SeObjectType::kFileObject: {
      const std::optional<std::string> local = LocalFilePath(computer, rest);
      if (!local) return {win::ERROR_BAD_NETPATH, {}};
      for (const SecuredPath& secured : computer.secured_paths) {
        if (!secured.registry && SamePath(secured.path, *local)) return stated(secured.security);
      }
      const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>((*local)[0])));
      if (computer.resources && computer.resources->FindDisk(drive) == nullptr &&
          !computer.resources->disks.empty()) {
        return {win::ERROR_PATH_NOT_FOUND, {}};
      }
      return stated(std::nullopt);
    }
    case SeObjectType::kUnknown:
      break;
  }
  return {win::ERROR_INVALID_PARAMETER, {}};
}

}  // namespace

platform::NamedSecurityInfo EstateObjectSecurity::GetNamedSecurityInfo(
    std::string_view object_name, SeObjectType type, std::uint32_t security_information) {
  const Estate& estate = sim_.estate();
  platform::NamedSecurityInfo result;
  // "\\HOST\rest" goes to HOST; any other name is on the local computer.
  std::string_view host;
  std::string_view rest = object_name;
  if (object_name.starts_with("\\\\")) {
    const std::size_t slash = object_name.find('\\', 2);
    host = object_name.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view{} : object_name.substr(slash + 1);
  }
  const Computer* computer = estate.FindServer(host);
  const bool files = type == SeObjectType::kFileObject || type == SeObjectType::kLmShare;
  result.status = sim_.Reach(
      session_, Operation::kGetNamedSecurityInfo, host,
      [&] {
        return "object=" + std::string(object_name) +
               " type=" + std::to_string(static_cast<std::uint32_t>(type)) +
               " information=" + Hex(security_information);
      },
      sim_.ToComputer(computer), files ? win::ERROR_BAD_NETPATH : win::RPC_S_SERVER_UNAVAILABLE);
  if (result.status != win::ERROR_SUCCESS) return result;
  const Found found = FindObject(sim_, *computer, rest, type);
  result.status = found.status;
  if (result.status == win::ERROR_SUCCESS) {
    result.descriptor = Answer(found.security, DomainSid(estate, *computer), security_information);
  }
  return result;
}

}  // namespace tabulon::estate

#include "platform/remote/remote_object_security.h"

#include "platform/remote/remote_file_system.h"
#include "platform/remote/security_text.h"

namespace tabulon::platform::remote {
NamedSecurityInfo RemoteObjectSecurity::GetNamedSecurityInfo(std::string_view object_name,
                                                             SeObjectType type,
                                                             std::uint32_t security_information) {
  if (!object_name.starts_with("\\\\")) return {win::ERROR_NOT_SUPPORTED, {}};
  const std::size_t slash = object_name.find('\\', 2);
  const std::string_view server = object_name.substr(0, slash);
  const std::string_view rest =
      slash == std::string_view::npos ? std::string_view{} : object_name.substr(slash + 1);
  switch (type) {
    case SeObjectType::kService:
      return families_.services.ServiceSecurity(server, rest, security_information);
    case SeObjectType::kRegistryKey:
      return families_.registry.KeySecurity(server, rest, security_information);
    case SeObjectType::kPrinter:
      return families_.printing.PrinterSecurity(object_name, security_information);
    case SeObjectType::kLmShare:
      return families_.shares.ShareSecurity(server, rest);
    case SeObjectType::kFileObject: {
      if (families_.files == nullptr) return {win::ERROR_NOT_SUPPORTED, {}};
      const UncParse parse = ParseUncPath(object_name);
      if (parse.status != win::ERROR_SUCCESS) return {parse.status, {}};
      const RemoteSecurityText got =
          families_.files->Security(parse.path.server, parse.path.share, parse.path.directory);
      if (got.status != win::ERROR_SUCCESS) return {got.status, {}};
      std::optional<std::vector<std::uint8_t>> bytes =
          DescriptorFromText(got.text, security_information);
      // A text the library should never write: the descriptor cannot be read.
      if (!bytes) return {win::ERROR_INVALID_SECURITY_DESCR, {}};
      return {win::ERROR_SUCCESS, std::move(*bytes)};
    }
    case SeObjectType::kUnknown:
      break;
  }
  return {win::ERROR_INVALID_PARAMETER, {}};
}

}  // namespace tabulon::platform::remote

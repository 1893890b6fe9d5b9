#include "exporters/templates/directory/entry_cells.h"

#include "engine/directory_path.h"
#include "engine/directory_target.h"
#include "engine/messages.h"
#include "exporters/templates/directory/query_columns.h"
#include "platform/text.h"

namespace tabulon {

EntryCells::EntryCells(RunOutput& output, const format::FormatSettings& format,
                       std::string_view target_path)
    : output_(output),
      format_(format),
      ads_prefix_("LDAP://"),
      texts_{MessageText(kMsgNoExpiration), MessageText(kMsgUnableToFormatNt)} {
  // The host is a view into the location's server text: keep it alive.
  const DirectoryLocation location = LocateDirectoryObject(target_path);
  const std::string_view host = platform::HostOfDirectoryUrl(location.server);
  if (!host.empty()) ads_prefix_ += std::string(host) + "/";
}

std::string EntryCells::AdsPath(std::string_view dn) const {
  return ads_prefix_ + UpperCaseRdnTypes(dn);
}

std::string EntryCells::Value(std::string_view name, platform::DirectoryValueKind kind,
                              std::string_view value, const std::string* photo_result) const {
  const format::DirectoryValueContext context{format_, *output_.platform().locale,
                                              output_.settings().crlf_replacement, texts_,
                                              photo_result};
  if (kind == platform::DirectoryValueKind::kDnString) {
    return format::FormatDirectoryValue(name, kind, UpperCaseRdnTypes(value), context);
  }
  return format::FormatDirectoryValue(name, kind, value, context);
}

std::string EntryCells::Text(const platform::DirectoryEntry& entry, std::string_view name,
                             const std::string* photo_result) const {
  if (text::EqualsNoCase(name, kAdsPathAttribute)) {
    return Value(name, platform::DirectoryValueKind::kCaseIgnoreString, AdsPath(entry.dn));
  }
  const platform::DirectoryAttribute* attribute = entry.Find(name);
  if (attribute == nullptr) {
    if (!text::EqualsNoCase(name, "distinguishedName")) return {};
    return Value(name, platform::DirectoryValueKind::kDnString, entry.dn);
  }
  std::string cell;
  bool first = true;
  for (const std::string& value : attribute->values) {
    if (!first) cell += output_.settings().secondary_delimiter;
    first = false;
    cell += Value(name, attribute->kind, value, photo_result);
  }
  return cell;
}

std::string UpperCaseRdnTypes(std::string_view dn) {
  std::string out(dn);
  bool in_type = true;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const char c = out[i];
    if (c == '\\') {
      ++i;  // an escaped character never ends a value
    } else if (in_type) {
      if (c == '=') {
        in_type = false;
      } else if (c >= 'a' && c <= 'z') {
        out[i] = static_cast<char>(c - 'a' + 'A');
      }
    } else if (c == ',' || c == '+') {
      in_type = true;
    }
  }
  return out;
}

std::string DomainDnOf(std::string_view dn) {
  return DnOfDomainName(platform::DnsNameOfDn(dn));
}

std::string FirstValue(const platform::DirectoryEntry& entry, std::string_view name) {
  return std::string(entry.FirstValue(name));
}

}  // namespace tabulon

#include "estate/directory_tree.h"

#include <algorithm>

#include "estate/ldap_filter.h"
#include "platform/directory_status.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

bool HasValue(const platform::DirectoryEntry& entry, std::string_view name,
              std::string_view value) {
  const platform::DirectoryAttribute* attribute = entry.Find(name);
  if (attribute == nullptr) return false;
  return std::any_of(attribute->values.begin(), attribute->values.end(),
                     [&](const std::string& v) { return text::EqualsNoCase(v, value); });
}

// The parent of a folded DN: the text after its first unescaped comma.
std::string_view ParentOf(std::string_view dn) {
  for (std::size_t i = 0; i < dn.size(); ++i) {
    if (dn[i] == '\\') {
      ++i;
    } else if (dn[i] == ',') {
      return dn.substr(i + 1);
    }
  }
  return {};
}

bool InScope(std::string_view dn, std::string_view base, platform::SearchScope scope) {
  switch (scope) {
    case platform::SearchScope::kBase:
      return dn == base;
    case platform::SearchScope::kOneLevel:
      return !dn.empty() && ParentOf(dn) == base;
    case platform::SearchScope::kSubtree:
      return base.empty() || dn == base ||
             (dn.size() > base.size() && dn.ends_with(base) &&
              dn[dn.size() - base.size() - 1] == ',');
  }
  return false;
}

// The requested attributes of an entry: every one for an empty list or "*",
// none for "1.1".
platform::DirectoryEntry Project(const platform::DirectoryEntry& entry,
                                 const std::vector<std::string>& names) {
  const bool all = names.empty() || std::find(names.begin(), names.end(), "*") != names.end();
  if (all) return entry;
  platform::DirectoryEntry out;
  out.dn = entry.dn;
  for (const platform::DirectoryAttribute& attribute : entry.attributes) {
    for (const std::string& name : names) {
      if (text::EqualsNoCase(attribute.name, name)) {
        out.attributes.push_back(attribute);
        break;
      }
    }
  }
  return out;
}

}  // namespace

DirectoryTree::DirectoryTree(std::vector<platform::DirectoryEntry> entries,
                             const platform::AttributeKinds& schema)
    : entries_(std::move(entries)) {
  folded_dns_.reserve(entries_.size());
  for (const platform::DirectoryEntry& entry : entries_) {
    folded_dns_.push_back(FoldDirectoryText(entry.dn));
    if (!HasValue(entry, "objectClass", "attributeSchema")) continue;
    const platform::DirectoryAttribute* name = entry.Find("lDAPDisplayName");
    const platform::DirectoryAttribute* syntax = entry.Find("attributeSyntax");
    if (name == nullptr || syntax == nullptr || name->values.empty() || syntax->values.empty()) {
      continue;
    }
    kinds_[text::ToLower(name->values.front())] = platform::KindOfSyntax(syntax->values.front());
  }
  for (const auto& [name, kind] : schema) kinds_[name] = kind;
}

platform::DirectoryStatus DirectoryTree::Search(const platform::SearchRequest& request,
                                                std::string_view default_base,
                                                const platform::CancelToken& cancel,
                                                const platform::EntrySink& sink) const {
  const FilterParse filter = ParseFilter(request.filter);
  if (filter.outcome == FilterParse::Outcome::kSyntaxError) {
    return platform::DirectoryStatusFromLdap(platform::kLdapFilterError, filter.error);
  }
  if (filter.outcome == FilterParse::Outcome::kExtensibleMatch) {
    return platform::DirectoryStatusFromLdap(platform::kLdapUnwillingToPerform,
                                             "the estate's directories have no matching rules");
  }
  const std::string base =
      FoldDirectoryText(request.base.empty() ? default_base : std::string_view(request.base));
  if (!base.empty() &&
      std::find(folded_dns_.begin(), folded_dns_.end(), base) == folded_dns_.end()) {
    return platform::DirectoryStatusFromLdap(platform::kLdapNoSuchObject, {});
  }
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (cancel.cancelled()) {
      return platform::DirectoryStatusFromLdap(platform::kLdapUserCancelled, {});
    }
    if (!InScope(folded_dns_[i], base, request.scope)) continue;
    if (!MatchesFilter(filter.root, entries_[i], kinds_)) continue;
    platform::DirectoryEntry found = Project(entries_[i], request.attributes);
    if (request.kinds != nullptr) platform::TagKinds(found, request.kinds);
    if (!sink(std::move(found))) break;
  }
  return {};
}

}  // namespace tabulon::estate

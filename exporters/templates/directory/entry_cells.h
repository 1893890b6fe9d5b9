#pragma once
// The text of one column of a directory entry: every value of the attribute
// formatted by its kind and joined by the secondary delimiter. "adspath" is
// made from the server the target's path names and the entry's DN, and
// "distinguishedName" is the DN when the server does not send it.
#include <string>
#include <string_view>

#include "engine/run_output.h"
#include "format/directory_values.h"
#include "platform/directory_search.h"

namespace tabulon {

class EntryCells {
 public:
  // `target_path`: the target's directory path, "LDAP://host/DN" or
  // "LDAP://DN".
  EntryCells(RunOutput& output, const format::FormatSettings& format, std::string_view target_path);

  // "LDAP://host/DN", or "LDAP://DN" when the target's path names no host.
  std::string AdsPath(std::string_view dn) const;

  // An attribute the entry lacks gives an empty cell. `photo_result` is
  // what writing the column's photo gave, when it was written.
  std::string Text(const platform::DirectoryEntry& entry, std::string_view name,
                   const std::string* photo_result = nullptr) const;

  // One value as the column of `name` shows it.
  std::string Value(std::string_view name, platform::DirectoryValueKind kind,
                    std::string_view value, const std::string* photo_result = nullptr) const;

 private:
  RunOutput& output_;
  const format::FormatSettings& format_;
  std::string ads_prefix_;
  // The numbered texts values may show, looked up once.
  format::DirectoryValueTexts texts_;
};

// A DN with the attribute type of every RDN in upper case ("cn=x,dc=y" ->
// "CN=x,DC=y"), as Active Directory writes them whatever the server sent.
std::string UpperCaseRdnTypes(std::string_view dn);

// The DC= components of a DN: the DN of its domain.
std::string DomainDnOf(std::string_view dn);

// The first value of an attribute, empty when there is none.
std::string FirstValue(const platform::DirectoryEntry& entry, std::string_view name);

}  // namespace tabulon

#include "exporters/templates/directory/memberships.h"

#include <cstdint>

#include "engine/directory_target.h"
#include "format/accounts.h"
#include "platform/text.h"

namespace tabulon {
namespace {

using platform::DirectoryEntry;
using platform::DirectoryStatus;
using platform::DirectoryValueKind;

constexpr std::size_t kFlushEveryRows = 200;
constexpr std::string_view kYes = "YES";
constexpr std::string_view kReadFilter = "(objectClass=*)";

std::string DnOfPath(std::string_view path) {
  return LocateDirectoryObject(path).dn;
}

// Ends the expansion with `status`; false, for the caller to return.
bool Fail(MembershipRows& rows, const DirectoryStatus& status, std::string_view filter) {
  if (rows.failure.ok()) {
    rows.failure = status;
    rows.failed_filter = std::string(filter);
  }
  return false;
}

// False once the expansion has failed or the run is asked to stop.
bool GoOn(MembershipRows& rows) {
  if (rows.stop.cancelled()) rows.stopped = true;
  return !rows.stopped && rows.failure.ok();
}

// A single object that is gone or may not be read: its row keeps empty
// cells. Anything else is the directory failing.
bool OnlyThisObject(const DirectoryStatus& status) {
  switch (status.extended_code) {
    case win::ERROR_DS_NO_SUCH_OBJECT:
    case win::ERROR_ACCESS_DENIED:
    case win::ERROR_DS_INVALID_DN_SYNTAX:
      return true;
    default:
      return status.status == platform::DirectoryHresult(win::ERROR_DS_NO_SUCH_OBJECT);
  }
}

// One object by DN, its values tagged with their kinds. False when it
// cannot be read; `rows.failure` is set too when the directory failed.
bool ReadEntry(MembershipRows& rows, std::string_view dn, const std::vector<std::string>& names,
               DirectoryEntry& entry) {
  const DirectoryStatus status = platform::ReadObject(rows.directory, dn, names, entry);
  if (!status.ok()) return OnlyThisObject(status) ? false : Fail(rows, status, kReadFilter);
  platform::TagKinds(entry, &rows.kinds);
  return true;
}

// Fills the member or group cells from `entry` (none: every attribute
// cell stays empty), writes the row and clears those cells again.
void WriteRow(MembershipRows& rows, const DirectoryEntry* entry, std::string_view is_primary,
              std::string_view parent, bool name_foreign_principals) {
  const std::vector<QueryColumn>& columns = rows.columns.columns;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const QueryColumn& column = columns[i];
    std::string& cell = rows.row[rows.first_column + i];
    if (text::EqualsNoCase(column.name, kIsPrimarySymbol)) {
      cell = std::string(is_primary);
    } else if (text::EqualsNoCase(column.name, kIndirectParentSymbol)) {
      cell = std::string(parent);
    } else if (column.kind == QueryColumn::Kind::kSymbol) {
      cell = EvaluateSymbol(column.name, rows.symbols);
    } else if (column.kind == QueryColumn::Kind::kAttribute && entry != nullptr) {
      cell = rows.cells.Text(*entry, column.name);
      // A foreign security principal is named by its SID.
      if (name_foreign_principals && text::EqualsNoCase(column.name, "cn") &&
          cell.starts_with("S-")) {
        format::SidStringToAccount(rows.lookup, "", cell);
      }
    }
  }
  rows.row.WriteKeepingValues();
  for (std::size_t i = 0; i < columns.size(); ++i) rows.row[rows.first_column + i].clear();
  if (++rows.rows % kFlushEveryRows == 0) rows.file.Flush();
}

std::vector<std::string> WithName(std::vector<std::string> names, std::string_view name) {
  for (const std::string& n : names) {
    if (text::EqualsNoCase(n, name)) return names;
  }
  names.emplace_back(name);
  return names;
}

// A search whose every entry is a row with `is_primary` "YES".
bool ExportPrimaryRows(MembershipRows& rows, const platform::SearchRequest& request,
                       std::string_view parent) {
  const DirectoryStatus status = rows.directory.Search(request, [&](DirectoryEntry&& entry) {
    if (!GoOn(rows)) return false;
    WriteRow(rows, &entry, kYes, parent, false);
    return true;
  });
  if (!status.ok()) return Fail(rows, status, request.filter);
  return GoOn(rows);
}

// Accounts and computers whose primary group has the RID `rid`, in the
// group's domain.
bool ExportPrimaryMembers(MembershipRows& rows, std::string_view group_dn, std::string_view rid,
                          std::string_view parent) {
  platform::SearchRequest request;
  request.base = DomainDnOf(group_dn);
  request.scope = platform::SearchScope::kSubtree;
  request.filter = "(&(PrimaryGroupId=" + std::string(rid) +
                   ")(|(objectCategory=person)(objectCategory=computer)))";
  request.attributes = rows.columns.requested;
  request.kinds = &rows.kinds;
  return ExportPrimaryRows(rows, request, parent);
}

}  // namespace

bool ExportGroupMembers(MembershipRows& rows, std::string_view group_path, std::string_view parent,
                        bool nested, int depth) {
  if (!GoOn(rows)) return false;
  const std::string group_dn = DnOfPath(group_path);
  DirectoryEntry group;
  if (group_dn.empty() || !ReadEntry(rows, group_dn, {"objectSid", "member"}, group)) {
    return rows.failure.ok();
  }

  const std::string sid = rows.cells.Value("objectSid", DirectoryValueKind::kOctetString,
                                           FirstValue(group, "objectSid"));
  if (const std::size_t dash = sid.rfind('-'); dash != std::string::npos) {
    if (!ExportPrimaryMembers(rows, group_dn, sid.substr(dash + 1), parent)) return false;
  }

  const platform::DirectoryAttribute* members = group.Find("member");
  if (members == nullptr) return true;
  const std::vector<std::string> names =
      nested ? WithName(rows.columns.requested, "groupType") : rows.columns.requested;
  // Nested rows name the group they list.
  const std::string listed_by = parent.empty() ? std::string() : std::string(group_path);
  rows.directory.ReadObjects(
      members->values, names, &rows.kinds,
      [&](std::size_t, const DirectoryStatus& status, DirectoryEntry&& member) {
        if (!GoOn(rows)) return false;
        if (!status.ok() && !OnlyThisObject(status)) return Fail(rows, status, kReadFilter);
        const bool read = status.ok();
        WriteRow(rows, read ? &member : nullptr, "", listed_by, true);
        if (nested && read && member.Find("groupType") != nullptr &&
            depth + 1 < kMaxNestedGroupDepth) {
          const std::string member_path = rows.cells.AdsPath(member.dn);
          return ExportGroupMembers(rows, member_path, member_path, nested, depth + 1);
        }
        return true;
      });
  return GoOn(rows);
}

bool ExportAccountGroups(MembershipRows& rows, std::string_view account_path) {
  if (!GoOn(rows)) return false;
  const std::string account_dn = DnOfPath(account_path);
  DirectoryEntry account;
  if (account_dn.empty() ||
      !ReadEntry(rows, account_dn, {"objectSid", "primaryGroupID", "memberOf"}, account)) {
    return rows.failure.ok();
  }
  // The primary group: the account's SID with the group's RID in place of
  // its own.
  std::string sid = FirstValue(account, "objectSid");
  const long long primary = text::ParseLeadingInteger(FirstValue(account, "primaryGroupID"));
  if (sid.size() >= 12 && primary > 0) {
    const auto rid = static_cast<std::uint32_t>(primary);
    for (std::size_t i = 0; i < 4; ++i) {
      sid[sid.size() - 4 + i] = static_cast<char>((rid >> (8 * i)) & 0xFF);
    }
    platform::SearchRequest request;
    request.base = DomainDnOf(account_dn);
    request.scope = platform::SearchScope::kSubtree;
    request.filter = "(objectSid=" + platform::FilterEscapedBytes(sid) + ")";
    request.attributes = rows.columns.requested;
    request.kinds = &rows.kinds;
    if (!ExportPrimaryRows(rows, request, "")) return false;
  }
  const platform::DirectoryAttribute* groups = account.Find("memberOf");
  if (groups == nullptr) return true;
  rows.directory.ReadObjects(
      groups->values, rows.columns.requested, &rows.kinds,
      [&](std::size_t, const DirectoryStatus& status, DirectoryEntry&& group) {
        if (!GoOn(rows)) return false;
        if (!status.ok() && !OnlyThisObject(status)) return Fail(rows, status, kReadFilter);
        WriteRow(rows, status.ok() ? &group : nullptr, "", "", false);
        return true;
      });
  return GoOn(rows);
}

}  // namespace tabulon

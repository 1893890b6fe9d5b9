#pragma once
#include "engine/exporter_unit.h"
#include "format/name_list.h"

namespace tabulon {

class GroupMemberCaches;

struct GroupExportOptions {
  bool groups = false;   // ExportGroups
  bool members = false;  // ExportGroupMembers
  bool unresolved_sids = false;
  bool empty_groups = false;
  bool nested_groups = false;
  bool disabled_users = true;
  format::NameList patterns;  // empty: every group
};

// The Groups and Group Members rows of one computer target: its local
// groups, and for each their members, refined by the member details and
// expanded into nested domain groups as the options say. Domain
// controllers are skipped: their local groups are the domain's.
void ExportGroupRows(ExportContext& context, const GroupExportOptions& options,
                     GroupMemberCaches& caches, const tagCObjects& target);

ExporterUnit GroupsUnit();

}  // namespace tabulon

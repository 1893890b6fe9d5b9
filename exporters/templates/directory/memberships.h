#pragma once
// Member rows of a group and group rows of an account: the row of the query
// (its cells already filled) followed by the member's or group's columns.
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/output_file.h"
#include "engine/row.h"
#include "engine/symbols.h"
#include "exporters/templates/directory/entry_cells.h"
#include "exporters/templates/directory/query_columns.h"
#include "platform/directory_search.h"
#include "platform/security.h"

namespace tabulon {

// Groups nested deeper than this below the queried group are not listed.
inline constexpr int kMaxNestedGroupDepth = 10;

struct MembershipRows {
  platform::DirectorySearch& directory;
  const platform::AttributeKinds& kinds;
  const EntryCells& cells;
  Row& row;  // the query's row, its cells filled
  OutputFile& file;
  platform::AccountLookup& lookup;
  const SymbolContext& symbols;
  std::size_t first_column;  // the member or group columns follow the query's
  ColumnPlan columns;
  // The run's stop request: the expansion ends when it is set.
  const platform::CancelToken& stop;
  std::size_t rows = 0;  // rows written
  // What ended the expansion early: the stop request, or the directory
  // failing (a single object that cannot be read only leaves its cells
  // empty) with the filter of the search that failed.
  bool stopped = false;
  platform::DirectoryStatus failure = {};
  std::string failed_filter = {};
};

// `group_path` and `parent` are ADsPaths; `parent` is empty for the
// queried group itself. False when the expansion ended early (`stopped`
// or `failure`).
bool ExportGroupMembers(MembershipRows& rows, std::string_view group_path, std::string_view parent,
                        bool nested, int depth);

bool ExportAccountGroups(MembershipRows& rows, std::string_view account_path);

}  // namespace tabulon

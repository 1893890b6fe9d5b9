// The estate's WQL evaluator on one small class: which instances a query
// selects, and the status WMI gives the queries it refuses.
#include "estate/wql.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabulon::estate {
namespace {

using platform::WmiVariant;

WmiVariant Text(std::string s) {
  return {platform::kVtBstr, {std::move(s)}, 0};
}
WmiVariant Int(std::int64_t i) {
  return {platform::kVtI4, {i}, 0};
}
WmiVariant Bool(bool b) {
  return {platform::kVtBool, {std::int64_t{b ? -1 : 0}}, 0};
}
const WmiVariant kNull{platform::kVtNull, {}, 0};

// Name, DriveType (uint32), Size (uint64, as WMI's string), Boot, Tags.
WmiNamespace Disks() {
  WmiClass c;
  c.name = "Win32_LogicalDisk";
  c.properties = {{"Name", platform::kCimString},
                  {"DriveType", platform::kCimUint32},
                  {"Size", platform::kCimUint64},
                  {"Boot", platform::kCimBoolean},
                  {"Tags", platform::kCimString | platform::kCimFlagArray}};
  const WmiVariant tags{platform::kVtBstr | platform::kVtArray, {std::string("x")}, 0};
  c.instances = {
      {Text("C:"), Int(3), Text("500000000000"), Bool(true), tags},
      {Text("D:"), Int(5), kNull, Bool(false), tags},
      {Text("e%x"), Int(-1), Text("18446744073709551615"), kNull, kNull},  // uint32 4294967295
      {kNull, Int(3), Text("20"), Bool(false), tags},
  };
  WmiNamespace names;
  names.classes.push_back(std::move(c));
  return names;
}

TEST(Wql, SelectsTheInstancesWmiWould) {
  const WmiNamespace names = Disks();
  struct Case {
    const char* where;
    std::vector<std::size_t> expected;
  };
  const Case cases[] = {
      {"", {0, 1, 2, 3}},
      {" where drivetype = 3", {0, 3}},
      {" WHERE 3 = DriveType", {0, 3}},
      {" WHERE DriveType = '3'", {0, 3}},      // a quoted number for a number
      {" WHERE DriveType > 4000000000", {2}},  // unsigned despite VT_I4
      {" WHERE 5 > DriveType", {0, 3}},
      {" WHERE Size >= 500000000000", {0, 2}},
      {" WHERE Size < 1e3", {3}},
      {" WHERE name = 'c:'", {0}},      // strings without regard to case
      {" WHERE Name <> 'C:'", {1, 2}},  // NULL is neither equal nor unequal
      {" WHERE Name != \"C:\"", {1, 2}},
      {" WHERE NOT Name = 'C:'", {1, 2}},
      {" WHERE Name IS NULL", {3}},
      {" WHERE Size IS NOT NULL AND Tags IS NULL", {2}},
      {" WHERE Boot = TRUE", {0}},
      {" WHERE Boot <> true", {1, 3}},
      {" WHERE Boot = 0", {1, 3}},
      // AND binds tighter than OR; NOT tighter than AND.
      {" WHERE DriveType = 5 OR DriveType = 3 AND Boot = TRUE", {0, 1}},
      {" WHERE (DriveType = 5 OR DriveType = 3) AND Boot = TRUE", {0}},
      {" WHERE NOT DriveType = 3 AND NOT DriveType = 5", {2}},
      // Unknown (a NULL Boot) stays unknown through OR and NOT.
      {" WHERE NOT (DriveType = 3 OR Boot = FALSE)", {}},
      {" WHERE Name LIKE '%:'", {0, 1}},
      {" WHERE Name LIKE '_:'", {0, 1}},
      {" WHERE Name LIKE '[a-c]:'", {0}},
      {" WHERE Name LIKE '[^c]%'", {1, 2}},
      {" WHERE Name LIKE 'e[%]x'", {2}},
      {" WHERE Name LIKE '%%%'", {0, 1, 2}},
      {" WHERE Name NOT LIKE '%:'", {2}},
  };
  for (const Case& c : cases) {
    const WqlAnswer answer =
        RunWql(std::string("SELECT Name FROM Win32_LogicalDisk") + c.where, names);
    EXPECT_EQ(answer.status, win::ERROR_SUCCESS) << c.where;
    EXPECT_EQ(answer.instances, c.expected) << c.where;
  }
}

TEST(Wql, RefusesWhatWmiRefuses) {
  const WmiNamespace names = Disks();
  struct Case {
    const char* query;
    win::Status expected;
  };
  const Case cases[] = {
      {"SELECT Name FROM Win32_Nothing", win::WBEM_E_INVALID_CLASS},
      {"SELECT Nope FROM Win32_LogicalDisk", win::WBEM_E_INVALID_QUERY},
      {"SELECT * FROM Win32_LogicalDisk WHERE Nope = 1", win::WBEM_E_INVALID_QUERY},
      {"SELECT  FROM Win32_LogicalDisk", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name Win32_LogicalDisk", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk WHERE", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk WHERE (Name = 'C:'", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk WHERE Name = 'C:", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk WHERE Name = 3", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk WHERE DriveType = 'three'", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk WHERE DriveType LIKE '3'", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk WHERE Boot > TRUE", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk WHERE Tags = 'x'", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk WHERE Name LIKE '[ab'", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk WHERE Name = NULL", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk WHERE Name = Name", win::WBEM_E_INVALID_QUERY},
      {"SELECT Name FROM Win32_LogicalDisk extra", win::WBEM_E_INVALID_QUERY},
      {"", win::WBEM_E_INVALID_QUERY},
  };
  for (const Case& c : cases) EXPECT_EQ(RunWql(c.query, names).status, c.expected) << c.query;
  // Nesting deeper than the parser allows is refused, not recursed into.
  const std::string deep =
      "SELECT Name FROM Win32_LogicalDisk WHERE " + std::string(200, '(') + "Name = 'C:'";
  EXPECT_EQ(RunWql(deep, names).status, win::WBEM_E_INVALID_QUERY);
}

TEST(Wql, SelectListPicksPropertiesInQueryOrder) {
  const WmiNamespace names = Disks();
  EXPECT_EQ(RunWql("select size,NAME from win32_logicaldisk", names).properties,
            (std::vector<std::size_t>{2, 0}));
  EXPECT_EQ(RunWql("SELECT * FROM Win32_LogicalDisk", names).properties.size(), 5u);
}

}  // namespace
}  // namespace tabulon::estate

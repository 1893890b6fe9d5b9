// The enabled-template list rules of Add and Delete.
#include <gtest/gtest.h>

#include "ui/enable_operation.h"

namespace tabulon::ui {
namespace {

TEST(TemplateListTest, AddAndRemoveKeepOneSemicolonAfterEveryName) {
  struct Case {
    const char* list;
    const char* name;
    const char* added;
    const char* removed;
  } cases[] = {
      {"", "c", "c;", ""},
      {"a;b", "c", "a;b;c;", "a;b;"},     // the missing ';' is supplied first
      {"a;b;", "B", "a;b;", "a;"},        // names match without regard to case
      {"b;a;b;", "b", "b;a;b;", "a;"},    // every occurrence goes
      {";;b;a;;", "b", ";;b;a;;", "a;"},  // ';' trimmed at both ends
      {"a;;c", "x", "a;;c;x;", "a;;c;"},  // inner empties stay
      {"b", "b", "b", ""},                // nothing remains: empty, no ';'
      {";", "c", "c;", ""},               // an empty selection as the pages write it
      {"ab;", "b", "ab;b;", "ab;"},       // whole names only
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AddTemplateName(c.list, c.name), c.added) << c.list << " + " << c.name;
    EXPECT_EQ(RemoveTemplateName(c.list, c.name), c.removed) << c.list << " - " << c.name;
  }
}

}  // namespace
}  // namespace tabulon::ui

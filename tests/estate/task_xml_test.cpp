// The task XML reader on what e2e runs cannot show: malformed documents
// fail with their line, and random or truncated bytes never crash it nor
// take long.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "estate/task_xml.h"
#include "estate/xml_reader.h"

namespace tabulon::estate {
namespace {

TEST(TaskXml, MalformedDocumentsFailWithTheirLine) {
  struct Case {
    std::string_view xml;
    std::string_view error;
  } cases[] = {
      {"<Task>\n<A>\n</B></Task>", "t.xml:3: </B> does not close <A>"},
      {"<Task a='1' a='2'/>", "t.xml:1: attribute given twice"},
      {"<Task>&nbsp;</Task>", "t.xml:1: unknown entity"},
      {"<Task>&#0;</Task>", "t.xml:1: character reference to a character XML does not allow"},
      {"<!DOCTYPE Task>\n<Task/>", "t.xml:1: document type declarations are not accepted"},
      {"<Task>\n<!-- a -- b --></Task>", "t.xml:2: \"--\" inside a comment"},
      {"<Task/>\n<Task/>", "t.xml:2: unexpected content after the root element"},
      {"\n<?xml version=\"1.0\"?><Task/>", "t.xml:2: an XML declaration must come first"},
      {"<Task>\n\n\xC3(</Task>", "t.xml:3: malformed UTF-8"},
      {"\xFF\xFE<\0", "t.xml:1: malformed UTF-16"},
      {"<Task>\n<![CDATA[x</Task>", "t.xml:2: unterminated CDATA section"},
      {"<Job/>", "t.xml:1: the root element must be <Task>"},
      {"<Task><Triggers>\n<CalendarTrigger><ScheduleByDay><DaysInterval>x</DaysInterval>"
       "</ScheduleByDay></CalendarTrigger></Triggers></Task>",
       "t.xml:2: <DaysInterval> needs a number from 0 to 365"},
  };
  for (const Case& c : cases) {
    TaskXml task;
    std::string error;
    EXPECT_FALSE(ReadTaskXml(std::string(c.xml.data(), c.xml.size()), "t.xml", task, error))
        << c.xml;
    EXPECT_EQ(error, c.error) << c.xml;
  }
}

TEST(TaskXml, DepthAndElementCountAreBounded) {
  std::string deep;
  for (std::size_t i = 0; i <= kMaxXmlDepth; ++i) deep += "<a>";
  EXPECT_EQ(ParseXml(deep, "d").error, "d:1: elements nested too deeply");
  std::string wide = "<a>";
  for (std::size_t i = 0; i < kMaxXmlElements; ++i) wide += "<b/>";
  EXPECT_EQ(ParseXml(wide + "</a>", "w").error, "w:1: too many elements");
  EXPECT_FALSE(ParseXml(std::string(kMaxXmlBytes + 1, ' '), "big").ok);
}

// Random bytes, and every truncation and a byte flip of a valid document.
TEST(TaskXml, RandomAndTruncatedBytes) {
  const std::string valid =
      "\xEF\xBB\xBF<?xml version=\"1.0\"?><Task><RegistrationInfo><Author>a &amp; b</Author>"
      "</RegistrationInfo><Triggers><CalendarTrigger><StartBoundary>2026-01-01T00:00:00"
      "</StartBoundary><ScheduleByWeek><DaysOfWeek><Monday/></DaysOfWeek></ScheduleByWeek>"
      "</CalendarTrigger><LogonTrigger><UserId><![CDATA[u]]></UserId></LogonTrigger></Triggers>"
      "<!-- c --><Settings><Hidden>true</Hidden></Settings></Task>";
  std::mt19937 rng(1010);
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t cut = 0; cut <= valid.size(); ++cut) {
    TaskXml task;
    std::string error;
    const bool ok = ReadTaskXml(valid.substr(0, cut), "cut", task, error);
    EXPECT_EQ(ok, cut == valid.size()) << cut;
    std::string flipped = valid;
    flipped[cut % valid.size()] = static_cast<char>(rng() & 0xFF);
    if (!ReadTaskXml(flipped, "flip", task, error)) {
      EXPECT_TRUE(error.starts_with("flip:"));
    }
  }
  static constexpr char kAlphabet[] = "<>/=\"'&;#x!-[]?CDATAaTask \n\r\t\xC3\xA9\0\xFF\xFE";
  for (int i = 0; i < 2000; ++i) {
    std::string bytes(std::uniform_int_distribution<std::size_t>(0, 600)(rng), '\0');
    for (char& c : bytes) {
      c = rng() % 4 == 0 ? static_cast<char>(rng() & 0xFF)
                         : kAlphabet[rng() % (sizeof kAlphabet - 1)];
    }
    TaskXml task;
    std::string error;
    if (!ReadTaskXml(bytes, "rand", task, error)) {
      EXPECT_TRUE(error.starts_with("rand:"));
    }
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace tabulon::estate

#include "engine/run_journal.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/fakes.h"

namespace tabulon {
namespace {

using testing::ScratchDir;

class Journal : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("a.csv", "");
    dir_.Write("b.log", "");
    head_.identity = {dir_.File("cfg.ini"), 0x1234abcd5678ef00ULL, dir_.File("objects.dat"), 42};
    // Paths hold what servers and object files give, line breaks included.
    head_.targets = {{24, "\\\\PC1"}, {112, "LDAP://CN=PC 2%,DC=x\nfoo"}, {52, "/srv/list.txt"}};
    head_.files = {dir_.File("a.csv"), dir_.File("b.log")};
  }
  // Appends bytes to a file and records the sizes reached after `committed`.
  void Commit(RunJournal& journal, std::size_t committed, std::string_view a, std::string_view b,
              bool failed = false) {
    Append("a.csv", a);
    Append("b.log", b);
    ASSERT_EQ(journal.Record(committed, failed), win::ERROR_SUCCESS);
  }
  void Append(std::string_view name, std::string_view bytes) {
    dir_.Write(name, dir_.Read(name) + std::string(bytes));
  }
  std::string Choose(JournalRecord& point) {
    JournalContents loaded;
    EXPECT_EQ(LoadJournal(dir_.File("run.journal"), loaded), win::ERROR_SUCCESS);
    return ChooseResumePoint(dir_.File("run.journal"), loaded, head_.identity, head_.targets,
                             head_.files, point);
  }

  ScratchDir dir_;
  JournalContents head_;
};

TEST_F(Journal, ReadsBackWhatItWroteAndIgnoresACutLastLine) {
  RunJournal journal;
  ASSERT_EQ(journal.Create(dir_.File("run.journal"), head_), win::ERROR_SUCCESS);
  Commit(journal, 0, "title\n", "start\n");
  Commit(journal, 1, "row1\n", "", true);
  journal.Close();
  Append("run.journal", "committed 2 0 99");  // cut short by a crash

  JournalContents loaded;
  ASSERT_EQ(LoadJournal(dir_.File("run.journal"), loaded), win::ERROR_SUCCESS);
  EXPECT_EQ(loaded.identity.configuration_path, head_.identity.configuration_path);
  EXPECT_EQ(loaded.identity.configuration_digest, head_.identity.configuration_digest);
  EXPECT_EQ(loaded.identity.object_file_digest, 42u);
  EXPECT_EQ(loaded.targets, head_.targets);
  EXPECT_EQ(loaded.files, head_.files);
  ASSERT_EQ(loaded.records.size(), 2u);
  EXPECT_EQ(loaded.records[1].committed, 1u);
  EXPECT_TRUE(loaded.records[1].failed);
  EXPECT_FALSE(loaded.records[0].failed);
  EXPECT_EQ(loaded.records[1].sizes, (std::vector<std::uint64_t>{11, 6}));

  // A resumed run appends to the same journal.
  RunJournal resumed;
  ASSERT_EQ(resumed.Reopen(dir_.File("run.journal"), head_.files), win::ERROR_SUCCESS);
  ASSERT_EQ(resumed.Remove(), win::ERROR_SUCCESS);
  EXPECT_EQ(LoadJournal(dir_.File("run.journal"), loaded), win::ERROR_FILE_NOT_FOUND);
}

TEST_F(Journal, GoesBackToTheLastRecordTheFilesReach) {
  RunJournal journal;
  ASSERT_EQ(journal.Create(dir_.File("run.journal"), head_), win::ERROR_SUCCESS);
  Commit(journal, 0, "title\n", "start\n");
  Commit(journal, 1, "row1\n", "pc1\n");
  Commit(journal, 2, "row2\n", "pc2\n");
  Commit(journal, 3, "", "list\n");
  journal.Close();
  struct Case {
    std::uint64_t a, b;  // the files' sizes after the crash
    std::size_t committed;
  } cases[] = {
      {16, 19, 3},  // everything reached the disk
      {16, 18, 2},  // the log's last line did not
      {13, 19, 1},  // a row of the second target is cut
      {11, 9, 0},   // only what came before the first target is whole
      {99, 99, 3},  // rows written after the last record are cut off
  };
  for (const Case& c : cases) {
    std::filesystem::resize_file(dir_.File("a.csv"), c.a);
    std::filesystem::resize_file(dir_.File("b.log"), c.b);
    JournalRecord point;
    EXPECT_EQ(Choose(point), "") << c.a << " " << c.b;
    EXPECT_EQ(point.committed, c.committed) << c.a << " " << c.b;
  }
}

TEST_F(Journal, RefusesAJournalThatDoesNotFit) {
  RunJournal journal;
  ASSERT_EQ(journal.Create(dir_.File("run.journal"), head_), win::ERROR_SUCCESS);
  Commit(journal, 0, "title\n", "start\n");
  journal.Close();
  const std::string path = dir_.File("run.journal");
  struct Case {
    const char* what;
    std::function<void()> change;
    std::string cause;
  } cases[] = {
      {"configuration", [this] { head_.identity.configuration_digest ^= 1; },
       "written by a run of another configuration (" + head_.identity.configuration_path + ")"},
      {"object file", [this] { head_.identity.object_file_digest = 7; }, "another object file"},
      {"targets", [this] { head_.targets.pop_back(); }, "other targets"},
      {"files", [this] { head_.files.pop_back(); }, "other output files"},
      {"missing file", [this] { std::filesystem::remove(dir_.File("b.log")); },
       "names the file " + dir_.File("b.log") + ", which is missing"},
      {"shorter file", [this] { std::filesystem::resize_file(dir_.File("b.log"), 5); },
       "recorded more of the file " + dir_.File("b.log")},
  };
  const JournalContents original = head_;
  for (const Case& c : cases) {
    head_ = original;
    dir_.Write("a.csv", "title\n");
    dir_.Write("b.log", "start\n");
    c.change();
    JournalRecord point;
    const std::string refusal = Choose(point);
    EXPECT_NE(refusal.find(path), std::string::npos) << c.what << ": " << refusal;
    EXPECT_NE(refusal.find(c.cause), std::string::npos) << c.what << ": " << refusal;
  }
  EXPECT_NE(JournalLoadRefusal(dir_.File("none.journal"), win::ERROR_FILE_NOT_FOUND)
                .find("There is no journal " + dir_.File("none.journal")),
            std::string::npos);
  dir_.Write("other.journal", "not a journal\n");
  JournalContents loaded;
  EXPECT_EQ(LoadJournal(dir_.File("other.journal"), loaded), win::ERROR_INVALID_DATA);
}

TEST(JournalDigest, IsFnv1a64) {
  EXPECT_EQ(Fnv1a64(""), 0xcbf29ce484222325ULL);
  EXPECT_EQ(Fnv1a64("a"), 0xaf63dc4c8601ec8cULL);
  EXPECT_EQ(Fnv1a64("foobar"), 0x85944171f73967e8ULL);
}

}  // namespace
}  // namespace tabulon

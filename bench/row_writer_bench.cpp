// The row writer against a plain copy of the same bytes: how much the column
// order, symbols, value rules and encoding cost on top of writing the file.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/catalogue.h"
#include "engine/row.h"
#include "engine/run_output.h"
#include "platform/ini_file_profile.h"
#include "platform/locale.h"
#include "platform/time.h"

namespace tabulon {
namespace {

// A real file, so both sides pay for the kernel's copy into the page cache;
// it is cut back now and then to keep the disk use small.
std::string SinkPath() {
  return "/tmp/tabulon-row-writer-bench.txt";
}
constexpr std::int64_t kTruncateEvery = 1 << 20;

const std::array<std::string, 8> kServiceRow = {
    "LanmanWorkstation",
    "Workstation",
    "Running",
    "Service (Shared Process)",
    "Automatic",
    "NT AUTHORITY\\NetworkService",
    "Bowser^MRxSmb20^NSI",
    "C:\\Windows\\System32\\svchost.exe -k NetworkService -p"};

struct Fixture {
  platform::IniFileProfile profile;
  platform::SystemClock clock;
  std::unique_ptr<platform::Locale> locale = platform::MakeProcessLocale();
  platform::Platform platform;
  RunObserver messages;
  RunOutput output{platform, messages, false};
  TypedOutput out;
  tagCObjects target;

  explicit Fixture(bool unicode) {
    platform.profile = &profile;
    platform.clock = &clock;
    platform.locale = locale.get();
    output.settings().unicode = unicode;
    output.settings().append = true;
    out.type = kServices;
    out.file.Open(SinkPath(), false,
                  unicode ? OutputFile::Encoding::kUtf16Le : OutputFile::Encoding::kEightBit);
    // Ten columns: the object path, the eight service fields, the object name.
    out.columns = {1002, 0, 1, 2, 3, 4, 5, 6, 7, 1003};
    target.path = "\\\\FILESRV01";
    target.display_name = "FILESRV01";
  }

  void Truncate() {
    out.file.Flush();
    // A file that is not emptied would measure a growing file instead.
    if (::truncate(SinkPath().c_str(), 0) != 0) {
      std::perror(SinkPath().c_str());
      std::abort();
    }
  }

  // The bytes one row takes in the file.
  std::string EncodedRow(bool unicode) const {
    std::string row = target.path;
    for (const auto& v : kServiceRow) row += "\t" + v;
    row += "\t" + target.display_name + "\r\n";
    if (!unicode) return row;
    std::string wide;
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (row[i] == '\r') continue;  // a UTF-16 file keeps a bare LF
      wide.push_back(row[i]);
      wide.push_back('\0');
    }
    return wide;
  }
};

// The writer alone: the values stay in the row from row to row. With
// `refill`, every row also copies its values in and clears them afterwards,
// as an exporter does.
void RowWriter(benchmark::State& state, bool unicode, int baseline_id, bool refill) {
  Fixture f(unicode);
  const std::size_t row_bytes = f.EncodedRow(unicode).size();
  Row row(f.output, f.out, &f.target);
  for (std::size_t c = 0; c < kServiceRow.size(); ++c) row[c] = kServiceRow[c];
  std::int64_t rows = 0;
  for (auto _ : state) {
    if (refill) {
      for (std::size_t c = 0; c < kServiceRow.size(); ++c) row[c] = kServiceRow[c];
      row.Write();
    } else {
      row.WriteKeepingValues();
    }
    if (++rows % kTruncateEvery == 0) f.Truncate();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * row_bytes));
  state.counters["baseline_id"] = baseline_id;
  if (!refill && !unicode) state.counters["is_rows_baseline_id"] = 1;
}

// The 8-bit writer with other value rules, in rows per second of the
// default writer (rows kept whole): values as given, spreadsheet-safe
// values, and a row whose every value holds a TAB or a line break.
void RowWriterRules(benchmark::State& state, bool keep_rows_whole, bool spreadsheet_safe,
                    bool hostile) {
  Fixture f(false);
  f.output.settings().keep_rows_whole = keep_rows_whole;
  f.output.settings().spreadsheet_safe = spreadsheet_safe;
  Row row(f.output, f.out, &f.target);
  for (std::size_t c = 0; c < kServiceRow.size(); ++c) {
    row[c] = hostile ? "=" + kServiceRow[c] + "\r\n\t" : kServiceRow[c];
  }
  std::int64_t rows = 0;
  for (auto _ : state) {
    row.WriteKeepingValues();
    if (++rows % kTruncateEvery == 0) f.Truncate();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["rows_baseline_id"] = 1;
}

void PreparedBuffer(benchmark::State& state, bool unicode, int id) {
  Fixture f(unicode);
  const std::string row = f.EncodedRow(unicode);
  std::int64_t rows = 0;
  for (auto _ : state) {
    f.out.file.WriteRaw(row);
    if (++rows % kTruncateEvery == 0) f.Truncate();
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * row.size()));
  state.counters["is_baseline_id"] = id;
}

void BM_PreparedBuffer8Bit(benchmark::State& s) {
  PreparedBuffer(s, false, 1);
}
void BM_RowWriter8Bit(benchmark::State& s) {
  RowWriter(s, false, 1, false);
}
void BM_FillAndWriteRow8Bit(benchmark::State& s) {
  RowWriter(s, false, 1, true);
}
void BM_RowWriter8BitValuesAsGiven(benchmark::State& s) {
  RowWriterRules(s, false, false, false);
}
void BM_RowWriter8BitSpreadsheetSafe(benchmark::State& s) {
  RowWriterRules(s, true, true, false);
}
void BM_RowWriter8BitHostileValues(benchmark::State& s) {
  RowWriterRules(s, true, true, true);
}
void BM_PreparedBufferUtf16(benchmark::State& s) {
  PreparedBuffer(s, true, 2);
}
void BM_RowWriterUtf16(benchmark::State& s) {
  RowWriter(s, true, 2, false);
}
void BM_FillAndWriteRowUtf16(benchmark::State& s) {
  RowWriter(s, true, 2, true);
}

BENCHMARK(BM_PreparedBuffer8Bit);
BENCHMARK(BM_RowWriter8Bit);
BENCHMARK(BM_FillAndWriteRow8Bit);
BENCHMARK(BM_RowWriter8BitValuesAsGiven);
BENCHMARK(BM_RowWriter8BitSpreadsheetSafe);
BENCHMARK(BM_RowWriter8BitHostileValues);
BENCHMARK(BM_PreparedBufferUtf16);
BENCHMARK(BM_RowWriterUtf16);
BENCHMARK(BM_FillAndWriteRowUtf16);

}  // namespace
}  // namespace tabulon

#include "engine/run_journal.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "platform/file_identity.h"
#include "platform/utf8_path.h"

namespace tabulon {
namespace {

constexpr std::string_view kHeader = "tabulon-journal 1";
constexpr std::string_view kConfiguration = "configuration ";
constexpr std::string_view kObjectFile = "object-file ";
constexpr std::string_view kTarget = "target ";
constexpr std::string_view kFile = "file ";
constexpr std::string_view kCommitted = "committed ";

// Why a journal is not resumed; the first "%s" is the journal's path.
constexpr std::string_view kNoJournal =
    "There is no journal %s of an interrupted run of this configuration to resume.";
constexpr std::string_view kNotAJournal = "The file %s is no journal of an interrupted run.";
constexpr std::string_view kOtherConfiguration =
    "The journal %s was written by a run of another configuration (%s), or the configuration "
    "has changed since.";
constexpr std::string_view kOtherObjectFile =
    "The journal %s was written by a run of another object file (%s), or the object file has "
    "changed since.";
constexpr std::string_view kOtherFiles =
    "The journal %s names other output files than this run writes.";
constexpr std::string_view kOtherTargets =
    "The journal %s lists other targets than this run found; the objects have changed since.";
constexpr std::string_view kFileMissing = "The journal %s names the file %s, which is missing.";
constexpr std::string_view kFileShorter =
    "The journal %s recorded more of the file %s than it now holds.";
constexpr std::string_view kCannotKeep =
    "The journal %s cannot be written; this run cannot be resumed if it is interrupted. ";
constexpr std::string_view kNoRecord =
    "The journal %s holds no completed target; run the export again without /RESUME.";

constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ULL;

std::uint64_t Fnv1a64Continue(std::uint64_t digest, std::string_view bytes) {
  for (const char c : bytes) {
    digest ^= static_cast<unsigned char>(c);
    digest *= kFnvPrime;
  }
  return digest;
}

// Paths may hold anything a server sent: line breaks and "%" are escaped,
// so that every record stays one line.
void AppendEscaped(std::string& out, std::string_view text) {
  constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || c == '%') {
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 0xF];
    } else {
      out += c;
    }
  }
}

std::string Unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned value = 0;
    if (text[i] == '%' && i + 2 < text.size() &&
        std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16).ptr ==
            text.data() + i + 3) {
      out += static_cast<char>(value);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Hex(std::uint64_t value) {
  char buffer[16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, 16).ptr;
  return std::string(buffer, end);
}

// Takes a number and the blank after it off the front of `text`.
template <typename Number>
bool TakeNumber(std::string_view& text, Number& value, int base = 10) {
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || ptr == text.data()) return false;
  text.remove_prefix(static_cast<std::size_t>(ptr - text.data()));
  if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return true;
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

bool ParseIdentityLine(std::string_view rest, std::string& path, std::uint64_t& digest) {
  if (!TakeNumber(rest, digest, 16)) return false;
  path = Unescaped(rest);
  return true;
}

bool ParseLine(std::string_view line, JournalContents& contents) {
  if (TakePrefix(line, kConfiguration)) {
    return ParseIdentityLine(line, contents.identity.configuration_path,
                             contents.identity.configuration_digest);
  }
  if (TakePrefix(line, kObjectFile)) {
    return ParseIdentityLine(line, contents.identity.object_file_path,
                             contents.identity.object_file_digest);
  }
  if (TakePrefix(line, kTarget)) {
    JournalTarget target;
    if (!TakeNumber(line, target.type)) return false;
    target.path = Unescaped(line);
    contents.targets.push_back(std::move(target));
    return true;
  }
  if (TakePrefix(line, kFile)) {
    contents.files.push_back(Unescaped(line));
    return true;
  }
  if (TakePrefix(line, kCommitted)) {
    JournalRecord record;
    int failed = 0;
    if (!TakeNumber(line, record.committed) || !TakeNumber(line, failed)) return false;
    record.failed = failed != 0;
    for (std::uint64_t size = 0; !line.empty();) {
      if (!TakeNumber(line, size)) return false;
      record.sizes.push_back(size);
    }
    if (record.sizes.size() != contents.files.size()) return false;
    contents.records.push_back(std::move(record));
    return true;
  }
  return false;
}

}  // namespace

std::uint64_t Fnv1a64(std::string_view bytes) {
  return Fnv1a64Continue(kFnvOffset, bytes);
}

bool DigestFile(const std::string& path, std::uint64_t& digest) {
  // A FIFO or device would be read without end; the run refuses it anyway.
  if (platform::CheckRegularFile(path) != win::ERROR_SUCCESS) return false;
  std::ifstream in(platform::Utf8Path(path), std::ios::binary);
  if (!in) return false;
  digest = kFnvOffset;
  char buffer[64 * 1024];
  while (in) {
    in.read(buffer, sizeof buffer);
    digest =
        Fnv1a64Continue(digest, std::string_view(buffer, static_cast<std::size_t>(in.gcount())));
  }
  return in.eof();
}

std::string RunSideFileName(std::string_view log_path, std::string_view configuration_path,
                            std::string_view suffix) {
  if (!log_path.empty()) return std::string(log_path) + std::string(suffix);
  return platform::Utf8Name(platform::Utf8Path(configuration_path).stem()) + std::string(suffix);
}

win::Status RunJournal::Create(const std::string& path, const JournalContents& head) {
  Close();
  std::unique_ptr<platform::WritableFile> file;
  const win::Status status = platform::OpenWritableFile(path, false, file);
  if (status != win::ERROR_SUCCESS) return status;
  std::string text(kHeader);
  text += '\n';
  auto identity_line = [&text](std::string_view key, std::uint64_t digest, std::string_view p) {
    text += key;
    text += Hex(digest);
    text += ' ';
    AppendEscaped(text, p);
    text += '\n';
  };
  identity_line(kConfiguration, head.identity.configuration_digest,
                head.identity.configuration_path);
  identity_line(kObjectFile, head.identity.object_file_digest, head.identity.object_file_path);
  for (const JournalTarget& target : head.targets) {
    text += kTarget;
    text += std::to_string(target.type);
    text += ' ';
    AppendEscaped(text, target.path);
    text += '\n';
  }
  for (const std::string& f : head.files) {
    text += kFile;
    AppendEscaped(text, f);
    text += '\n';
  }
  if (const win::Status written = file->Write(text); written != win::ERROR_SUCCESS) {
    return written;
  }
  path_ = path;
  files_ = head.files;
  file_ = std::move(file);
  return win::ERROR_SUCCESS;
}

win::Status RunJournal::Reopen(const std::string& path, const std::vector<std::string>& files) {
  Close();
  const win::Status status = platform::OpenWritableFile(path, true, file_);
  if (status != win::ERROR_SUCCESS) return status;
  path_ = path;
  files_ = files;
  return win::ERROR_SUCCESS;
}

win::Status RunJournal::Record(std::size_t committed, bool failed) {
  if (!file_) return win::ERROR_INVALID_HANDLE;
  line_ = kCommitted;
  line_ += std::to_string(committed);
  line_ += failed ? " 1" : " 0";
  for (const std::string& f : files_) {
    std::uint64_t size = 0;
    platform::FileSize(f, size);  // a file that is gone counts as empty
    line_ += ' ';
    line_ += std::to_string(size);
  }
  line_ += '\n';
  return file_->Write(line_);
}

win::Status RunJournal::Remove() {
  Close();
  if (path_.empty()) return win::ERROR_SUCCESS;
  return platform::RemoveFile(path_);
}

void RunJournal::Close() {
  if (file_) file_->Close();
  file_.reset();
}

win::Status LoadJournal(const std::string& path, JournalContents& contents) {
  contents = {};
  std::ifstream in(platform::Utf8Path(path), std::ios::binary);
  if (!in) return win::ERROR_FILE_NOT_FOUND;
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string_view rest(text);
  std::size_t end = rest.find('\n');
  if (end == std::string_view::npos || rest.substr(0, end) != kHeader) {
    return win::ERROR_INVALID_DATA;
  }
  rest.remove_prefix(end + 1);
  // A line without its terminator is a write the end of the run cut short.
  while ((end = rest.find('\n')) != std::string_view::npos) {
    if (!ParseLine(rest.substr(0, end), contents)) return win::ERROR_INVALID_DATA;
    rest.remove_prefix(end + 1);
  }
  for (const std::string& file : contents.files) {
    std::uint64_t size = 0;
    contents.found_sizes.push_back(platform::FileSize(file, size) == win::ERROR_SUCCESS
                                       ? std::optional<std::uint64_t>(size)
                                       : std::nullopt);
  }
  return win::ERROR_SUCCESS;
}

std::string JournalLoadRefusal(const std::string& path, win::Status load_status) {
  return FillMessage(load_status == win::ERROR_FILE_NOT_FOUND ? kNoJournal : kNotAJournal, {path});
}

std::string JournalCreateProblem(const std::string& path, win::Status status) {
  return FillMessage(kCannotKeep, {path}) + WindowsErrorText(status);
}

std::string JournalIdentityRefusal(const std::string& journal_path, const JournalContents& journal,
                                   const JournalIdentity& identity) {
  if (journal.identity.configuration_path != identity.configuration_path ||
      journal.identity.configuration_digest != identity.configuration_digest) {
    return FillMessage(kOtherConfiguration, {journal_path, journal.identity.configuration_path});
  }
  if (journal.identity.object_file_path != identity.object_file_path ||
      journal.identity.object_file_digest != identity.object_file_digest) {
    return FillMessage(kOtherObjectFile, {journal_path, journal.identity.object_file_path});
  }
  return {};
}

std::string ChooseResumePoint(const std::string& journal_path, const JournalContents& journal,
                              const JournalIdentity& identity,
                              const std::vector<JournalTarget>& targets,
                              const std::vector<std::string>& files, JournalRecord& point) {
  if (std::string refusal = JournalIdentityRefusal(journal_path, journal, identity);
      !refusal.empty()) {
    return refusal;
  }
  if (journal.files != files) return FillMessage(kOtherFiles, {journal_path});
  if (journal.targets != targets) return FillMessage(kOtherTargets, {journal_path});
  if (journal.records.empty()) return FillMessage(kNoRecord, {journal_path});
  std::vector<std::uint64_t> actual(files.size(), 0);
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!journal.found_sizes[i]) return FillMessage(kFileMissing, {journal_path, files[i]});
    actual[i] = *journal.found_sizes[i];
  }
  for (auto record = journal.records.rbegin(); record != journal.records.rend(); ++record) {
    bool reached = true;
    for (std::size_t i = 0; i < files.size() && reached; ++i) {
      reached = record->sizes[i] <= actual[i];
    }
    if (reached && record->committed <= targets.size()) {
      point = *record;
      return {};
    }
  }
  // No record is reached: name a file that falls short of the first one.
  std::size_t shorter = 0;
  while (shorter + 1 < files.size() && journal.records.front().sizes[shorter] <= actual[shorter]) {
    ++shorter;
  }
  return FillMessage(kFileShorter, {journal_path, files.empty() ? "" : files[shorter]});
}

}  // namespace tabulon

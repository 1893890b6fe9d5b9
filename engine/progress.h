#pragma once
// Progress rows of a run: what the progress window shows target by target.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

inline constexpr std::uint32_t kFailureImage = 88;
// The kind (image) of a failure row, and of the rows that close a target or
// the run.
inline constexpr std::uint32_t kProgressFailure = 2;
inline constexpr std::uint32_t kProgressEndReport = 1;

struct ProgressRow {
  std::uint32_t image = 0;
  std::uint32_t indent = 0;
  std::string name;
  std::string status;
};

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // Returns the new row's number.
  virtual int AddRow(const ProgressRow& row) = 0;
  // Adds text to the end of a row's status; image 0 keeps the row's image.
  virtual void AppendToRow(int row, std::string_view text, std::uint32_t image) = 0;
};

// Image of a progress row for an object kind code; unknown codes give 0.
std::uint32_t ImageForObjectKind(std::uint32_t kind);

// Rows printed as indented lines, for runs in a terminal.
class StreamProgress final : public ProgressSink {
 public:
  explicit StreamProgress(std::FILE* out) : out_(out) {}
  int AddRow(const ProgressRow& row) override;
  void AppendToRow(int row, std::string_view text, std::uint32_t image) override;

 private:
  std::FILE* out_;
  int rows_ = 0;
};

}  // namespace tabulon

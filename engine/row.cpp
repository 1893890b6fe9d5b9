#include "engine/row.h"

#include <span>

#include "engine/catalogue.h"

namespace tabulon {

Row::Row(RunOutput& output, TypedOutput& file, const tagCObjects* target)
    : output_(output),
      typed_(&file),
      target_(target),
      values_(ExportTypeInfo(file.type).field_count) {}

Row::Row(RunOutput& output, OutputFile& file, std::size_t count)
    : output_(output), file_(&file), values_(count), count_(count) {}

const std::string& Row::operator[](std::size_t column) const {
  static const std::string kEmpty;
  return column < values_.size() ? values_[column] : kEmpty;
}

void Row::WriteKeepingValues() {
  if (typed_ != nullptr) {
    output_.WriteRow(*typed_, target_, values_);
  } else {
    output_.WriteRow(*file_, std::span<const std::string>(values_).first(count_));
  }
}

void Row::Write() {
  WriteKeepingValues();
  Clear();
}

}  // namespace tabulon

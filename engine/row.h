#pragma once
// One row of an output file, held by the code that fills it. Each row object
// has its own values, so filling one row never touches another's: an
// exporter may hand an object to the security access export, which writes
// rows of its own, in the middle of its own row. A row object is meant to
// live as long as its loop: its values keep their storage from row to row.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/output_file.h"
#include "engine/run_output.h"
#include "engine/target.h"

namespace tabulon {

class Row {
 public:
  // A row of an export type's file: value c is field c, and the file's
  // symbol columns are evaluated for `target`.
  Row(RunOutput& output, TypedOutput& file, const tagCObjects* target);
  // A row of a template's file: `count` values, one per column in order.
  Row(RunOutput& output, OutputFile& file, std::size_t count);

  Row(const Row&) = delete;
  Row& operator=(const Row&) = delete;

  std::string& operator[](std::size_t column) {
    if (column >= values_.size()) values_.resize(column + 1);
    return values_[column];
  }
  const std::string& operator[](std::size_t column) const;

  // Writes the row and empties its values for the next one.
  void Write();
  // Writes the row; the values stay, for rows that share some of them.
  void WriteKeepingValues();
  void Clear() {
    for (std::string& value : values_) value.clear();
  }

 private:
  RunOutput& output_;
  TypedOutput* typed_ = nullptr;
  OutputFile* file_ = nullptr;
  const tagCObjects* target_ = nullptr;
  std::vector<std::string> values_;
  std::size_t count_ = 0;  // of a template's row
};

}  // namespace tabulon

// Records read and cut ahead of a writer, kept together with the bytes their values are in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_values.h"

namespace quorlin {

// The records of a batch in their order, numbered from 0 within it. Values are views into the
// batch, valid while it is unchanged; swapping two batches keeps them valid. A batch holds less
// than 4 GiB, so that its places take four bytes.
class RecordBatch {
 public:
  RecordBatch() { Clear(); }

  void Clear();
  // Copies the record: its line, with its values as places in the copy. A record that would
  // take the batch to 4 GiB raises std::length_error.
  void Add(std::string_view line, const RecordValues& values);

  std::size_t Size() const { return firstValue_.size() - 1; }
  std::size_t Bytes() const { return bytes_.size(); }

  std::size_t ValueCount(std::size_t record) const { return firstValue_[record + 1] - firstValue_[record]; }
  // The record's value of a field below its ValueCount.
  std::string_view Value(std::size_t record, std::size_t field) const {
    const Place place = values_[firstValue_[record] + field];
    return std::string_view(bytes_.data() + place.offset, place.size);
  }
  void ValuesOf(std::size_t record, RecordValues& values) const;

 private:
  struct Place {
    std::uint32_t offset, size;  // in bytes_
  };

  std::string bytes_;
  std::vector<Place> values_;
  std::vector<std::uint32_t> firstValue_;  // each record's first in values_, and one past the last
};

}  // namespace quorlin

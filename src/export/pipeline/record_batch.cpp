#include "export/pipeline/record_batch.h"

#include <limits>
#include <stdexcept>

#include "platform/view_within.h"

namespace quorlin {

void RecordBatch::Clear() {
  bytes_.clear();
  values_.clear();
  firstValue_.assign(1, 0);
}

namespace {

// Bytes and values alike are counted in four bytes.
constexpr std::size_t kMostInBatch = std::numeric_limits<std::uint32_t>::max();

void CheckRoom(std::size_t count) {
  if (count > kMostInBatch) throw std::length_error("A batch of records cannot hold 4 GiB");
}

}  // namespace

void RecordBatch::Add(std::string_view line, const RecordValues& record) {
  CheckRoom(bytes_.size() + line.size());
  CheckRoom(values_.size() + record.size());
  const auto start = static_cast<std::uint32_t>(bytes_.size());
  bytes_.append(line);
  for (std::string_view value : record) {
    const auto size = static_cast<std::uint32_t>(value.size());
    // Nearly every value is a part of its line; one that is not (a value whose doubled
    // qualifiers were made single) is copied after it. An empty one may point anywhere.
    if (value.empty()) {
      values_.push_back({start, 0});
    } else if (LiesWithin(value, line)) {
      values_.push_back({start + static_cast<std::uint32_t>(value.data() - line.data()), size});
    } else {
      CheckRoom(bytes_.size() + value.size());
      values_.push_back({static_cast<std::uint32_t>(bytes_.size()), size});
      bytes_.append(value);
    }
  }
  firstValue_.push_back(static_cast<std::uint32_t>(values_.size()));
}

void RecordBatch::ValuesOf(std::size_t record, RecordValues& values) const {
  const std::size_t count = ValueCount(record);
  values.resize(count);
  for (std::size_t i = 0; i < count; ++i) values[i] = Value(record, i);
}

}  // namespace quorlin

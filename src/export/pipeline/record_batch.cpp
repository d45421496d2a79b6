#include "export/pipeline/record_batch.h"

#include "platform/view_within.h"

namespace quorlin {

void RecordBatch::Clear() {
  bytes_.clear();
  values_.clear();
  firstValue_.assign(1, 0);
}

void RecordBatch::Add(std::string_view line, const RecordValues& record) {
  const std::size_t start = bytes_.size();
  bytes_.append(line);
  for (std::string_view value : record) {
    // Nearly every value is a part of its line; one that is not (a value whose doubled
    // qualifiers were made single) is copied after it. An empty one may point anywhere.
    if (value.empty()) {
      values_.emplace_back(start, 0);
    } else if (LiesWithin(value, line)) {
      values_.emplace_back(start + static_cast<std::size_t>(value.data() - line.data()), value.size());
    } else {
      values_.emplace_back(bytes_.size(), value.size());
      bytes_.append(value);
    }
  }
  firstValue_.push_back(values_.size());
}

void RecordBatch::ValuesOf(std::size_t record, RecordValues& values) const {
  const std::size_t count = ValueCount(record);
  values.resize(count);
  for (std::size_t i = 0; i < count; ++i) values[i] = Value(record, i);
}

}  // namespace quorlin

// Classifying sample values and summing their votes.
#include "schema/type_vote.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "schema/field_layout.h"
#include "schema/value_recognisers.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

constexpr std::size_t kLongestSmallNumber = 11;

int Sum(const std::array<int, kFieldTypeCount>& sums, FieldType type) {
  return sums[static_cast<std::size_t>(type)];
}

// A value that passed IsNumeric, holds no decimal separator and does not start with "0":
// Byte from 1 to 255, Long for the rest of the 32-bit range. An exponent or a number beyond
// 32 bits votes Char, which keeps such values intact wherever they are exported.
FieldType ClassifyWholeNumber(std::string_view number) {
  bool negative = false;
  if (number.front() == '+' || number.front() == '-') {
    negative = number.front() == '-';
    number.remove_prefix(1);
  }
  long long magnitude = 0;
  for (const char c : number) {
    if (c < '0' || c > '9') return FieldType::Char;
    magnitude = magnitude * 10 + (c - '0');
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return FieldType::Char;
  }
  return value < 0 || value > 255 ? FieldType::Long : FieldType::Byte;
}

}  // namespace

std::string_view FieldTypeName(FieldType type) {
  return kFieldTypeNames[static_cast<std::size_t>(type)];
}

void PrintTo(FieldType type, std::ostream* os) { *os << FieldTypeName(type); }

FieldType ClassifyValue(std::string_view value, const LocaleSettings& locale) {
  value = Trim(value);
  if (IsNumeric(value, locale)) {
    // A comma-decimal locale writes "1,5": its separator makes a Float just as "." does.
    if (value.find('.') != std::string_view::npos ||
        value.find(locale.decimalSeparator) != std::string_view::npos) {
      return FieldType::Float;
    }
    if (value.size() > kLongestSmallNumber || value.front() == '0') return FieldType::Char;
    return ClassifyWholeNumber(value);
  }
  if (IsDate(value, locale)) return FieldType::Date;
  if (IsBoolean(value)) return FieldType::Bit;
  return FieldType::Char;
}

void TypeVote::Add(std::string_view value) {
  if (rows_ >= kMaxVotingRows) return;
  ++rows_;
  ++sums_[static_cast<std::size_t>(ClassifyValue(value, locale_))];
}

FieldType TypeVote::Result(std::string_view sampleValue) const {
  if (rows_ == 0) return ClassifyValue(sampleValue, locale_);
  if (Sum(sums_, FieldType::Long) > 0 && Sum(sums_, FieldType::Float) > 0) return FieldType::Float;
  if (Sum(sums_, FieldType::Byte) > 0 && Sum(sums_, FieldType::Long) > 0) return FieldType::Long;
  // max_element keeps the first of equal sums, which is the lower index.
  return static_cast<FieldType>(std::max_element(sums_.begin(), sums_.end()) - sums_.begin());
}

}  // namespace quorlin

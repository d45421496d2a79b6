// The type a field's sample values vote for.
#pragma once

#include <array>
#include <cstddef>
#include <ostream>
#include <string_view>
#include <utility>

#include "platform/locale_settings.h"

namespace quorlin {

// Indexes into kFieldTypeNames: the type box's order, which also breaks ties in a vote.
enum class FieldType {
  Bit, Byte, Char, Currency, Date, DateTime, Time, Float, Integer, Long, LongChar, Short, Single,
  Double
};

inline constexpr std::size_t kFieldTypeCount = 14;

std::string_view FieldTypeName(FieldType type);
void PrintTo(FieldType type, std::ostream* os);

// At most this many sample rows take part in a vote.
inline constexpr int kMaxVotingRows = 25;

// The type one sample value speaks for: numbers by their size and form, then dates, then the
// boolean words, and everything else (blank included) Char.
FieldType ClassifyValue(std::string_view value, const LocaleSettings& locale);

// Sums the classes of a field's sample values, one per row, over the first kMaxVotingRows rows.
class TypeVote {
 public:
  explicit TypeVote(LocaleSettings locale) : locale_(std::move(locale)) {}

  // Counts the value of the next sample row; rows past the last voting row are not counted.
  void Add(std::string_view value);

  // The type with the highest sum (the lower index on a tie), overridden to Float when Long and
  // Float were both seen, else to Long when Byte and Long were. Without a single sample row
  // the vote has nothing to say and the class of `sampleValue` stands.
  FieldType Result(std::string_view sampleValue) const;

  int Rows() const { return rows_; }

 private:
  LocaleSettings locale_;
  std::array<int, kFieldTypeCount> sums_{};
  int rows_ = 0;
};

}  // namespace quorlin

#include "schema/every_record_guess.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/trim.h"
#include "schema/structure_guess.h"
#include "schema/type_vote.h"
#include "text/fixed_fields.h"
#include "text/preview_loader.h"
#include "text/record_splitter.h"
#include "text/record_reader.h"

namespace quorlin {

namespace {

using TypeSet = std::uint32_t;

constexpr TypeSet Bit(FieldType type) { return TypeSet{1} << static_cast<int>(type); }

constexpr TypeSet kWholeNumbers = Bit(FieldType::Byte) | Bit(FieldType::Short) | Bit(FieldType::Integer) |
                                  Bit(FieldType::Long);
constexpr TypeSet kFractions = Bit(FieldType::Float) | Bit(FieldType::Single) | Bit(FieldType::Double);
constexpr TypeSet kDates = Bit(FieldType::Date) | Bit(FieldType::DateTime) | Bit(FieldType::Time);

// What a column has shown so far.
struct ColumnSeen {
  TypeSet types = 0;
  std::size_t longest = 0;
  // Once a value is text the column is Char whatever follows; only widths still matter.
  bool IsText() const { return (types & Bit(FieldType::Char)) != 0; }

  void Add(std::string_view value, const LocaleSettings& locale) {
    if (IsText() || Trim(value).empty()) return;
    types |= Bit(ClassifyValue(value, locale));
  }
};

// The narrowest type that holds every kind of value in `types`.
FieldType TypeHolding(TypeSet types) {
  const auto only = [types](TypeSet allowed) { return types != 0 && (types & ~allowed) == 0; };
  if (types == 0 || (types & Bit(FieldType::Char)) != 0) return FieldType::Char;
  if (only(Bit(FieldType::Bit))) return FieldType::Bit;
  if (only(kWholeNumbers)) {
    for (const FieldType type : {FieldType::Long, FieldType::Integer, FieldType::Short}) {
      if ((types & Bit(type)) != 0) return type;
    }
    return FieldType::Byte;
  }
  if (only(kWholeNumbers | Bit(FieldType::Currency))) return FieldType::Currency;
  if (only(kWholeNumbers | kFractions | Bit(FieldType::Currency))) {
    return (types & Bit(FieldType::Double)) != 0 ? FieldType::Double : FieldType::Float;
  }
  if (only(Bit(FieldType::Date))) return FieldType::Date;
  if (only(Bit(FieldType::Time))) return FieldType::Time;
  if (only(kDates)) return FieldType::DateTime;
  return FieldType::Char;
}

}  // namespace

void GuessDelimitedFieldsFromEveryRecord(FieldList& fields, const std::string& path, const FileLayout& layout,
                                         const LocaleSettings& locale) {
  const PreviewOptions options = PreviewOptionsFor(layout, 1);
  std::vector<ColumnSeen> seen(fields.size());
  TextRecordReader reader(path, options.characterSet, RecordForm::Delimited, options.separator,
                          options.qualifier);
  const FixedUnit widthUnit = DelimitedWidthUnit(options.characterSet);
  std::string_view record;
  std::vector<std::string_view> values;
  std::string unescaped;
  // The data records as the preview counts them: after the header record, from the start row on.
  if (options.hasHeaderRow) reader.SkipRecord();
  for (long long skipped = 1; skipped < options.startRow && reader.SkipRecord(); ++skipped) {
  }
  while (reader.ReadRecord(record)) {
    SplitRecordViews(record, reader.Separator(), reader.Qualifier(), values, unescaped);
    StripLeftQualifiers(values, record, reader.Qualifier());
    const std::size_t count = std::min(values.size(), seen.size());
    for (std::size_t i = 0; i < count; ++i) {
      const std::string_view value = values[i];
      ColumnSeen& column = seen[i];
      column.longest = std::max(column.longest, FixedLengthOf(value, widthUnit));
      column.Add(value, locale);
    }
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    FieldSpec& field = fields[i];
    if (field.typeName != kUnknownType) continue;
    const FieldType type = TypeHolding(seen[i].types);
    field.typeName = std::string(FieldTypeName(type));
    if (type == FieldType::Char) field.width = std::to_string(seen[i].longest);
  }
}

FixedGuess GuessFixedFieldsFromEveryRecord(const FixedGuessRequest& request, const LocaleSettings& locale) {
  FixedGuess guess = GuessFixedFields(request, locale);
  if (guess.refusal) return guess;
  std::vector<std::size_t> widths;
  for (const FieldSpec& field : guess.fields) widths.push_back(std::stoul(field.width));
  std::vector<ColumnSeen> seen(widths.size());
  TextRecordReader reader(request.path, request.characterSet, RecordForm::FixedLength, {}, {});
  const FixedUnit unit = FixedUnitOf(reader.Lines().Decoded());
  std::string_view record;
  std::vector<std::string_view> values;
  for (long long line = 1; line < FixedFirstDataLine(request) && reader.SkipRecord(); ++line) {
  }
  while (reader.ReadRecord(record)) {
    CutFixedFields(record, widths, [](std::size_t width) { return width; }, values, unit);
    for (std::size_t i = 0; i < values.size(); ++i) seen[i].Add(values[i], locale);
  }
  for (std::size_t i = 0; i < guess.fields.size(); ++i) {
    guess.fields[i].typeName = std::string(FieldTypeName(TypeHolding(seen[i].types)));
  }
  return guess;
}

}  // namespace quorlin

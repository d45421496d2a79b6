// Guessing a layout: the first sample value decides how far to look, a vote decides the rest.
#include "schema/structure_guess.h"

#include <algorithm>
#include <cstddef>

#include "schema/type_vote.h"
#include "schema/value_recognisers.h"
#include "text/fixed_fields.h"
#include "text/preview_limits.h"
#include "text/record_splitter.h"
#include "text/text_line_reader.h"

namespace quorlin {

namespace {

// The type of a field whose first sample value is `sample`: a number asks the vote, since the
// next rows may hold larger numbers or fractions; a date, a boolean word or text is taken as
// it is; a blank value asks the vote too.
template <typename Vote>
FieldType TypeFromSample(std::string_view sample, const LocaleSettings& locale, Vote vote) {
  if (IsBlank(sample) || IsNumeric(sample, locale)) return vote();
  if (IsDate(sample, locale)) return FieldType::Date;
  if (IsBoolean(sample)) return FieldType::Bit;
  return FieldType::Char;
}

// The cell of `column` in a preview row, or nothing for a field beyond the grid's columns.
const std::string* CellOf(const std::vector<std::string>& row, std::size_t column) {
  return column < row.size() ? &row[column] : nullptr;
}

// One field's characters in a fixed-length record: `width` bytes, or decoded characters, from
// `offset` (0-based).
struct Slice {
  std::size_t offset = 0;
  std::size_t width = 0;
  FixedUnit unit = FixedUnit::Bytes;

  std::string_view In(std::string_view line) const {
    if (unit == FixedUnit::Characters) {
      const std::size_t from = Utf8Advance(line, 0, offset);
      return line.substr(from, Utf8Advance(line, from, width) - from);
    }
    return offset < line.size() ? line.substr(offset, width) : std::string_view();
  }
};

std::vector<Slice> SlicesBetween(const std::vector<int>& breaks, long long lineLength) {
  std::vector<Slice> slices;
  long long offset = 0;
  for (const long long width : WidthsFromBreaks(breaks, lineLength)) {
    slices.push_back({static_cast<std::size_t>(offset), static_cast<std::size_t>(width)});
    offset += width;
  }
  return slices;
}

std::string FieldCountMessage(std::size_t fields, int shownCount) {
  return "Field Count (" + std::to_string(fields) + ") and LineBreaks (" +
         std::to_string(shownCount) + ") do not agree";
}

constexpr const char* kTitleCountMessage =
    "Number of Fields defined\ndoes NOT MATCH number marked in Grid";

// The lines of the data file a fixed-length guess looks at.
struct FixedSample {
  std::string title;               // line 1
  std::string sampleLine;          // the line whose values decide how far to look
  std::vector<std::string> voters; // the lines that vote, at most kMaxVotingRows
  FixedUnit unit = FixedUnit::Bytes;
};

constexpr long long kFarthestStart = 1LL << 60;  // keeps the line numbers below from overflowing

// Line 1 is the title; the first data line is the sample line and the voting lines start
// with it. Rows to scan minus the start row lines vote, one fewer with a title, none read past
// the end of the file.
FixedSample ReadFixedSample(const FixedGuessRequest& request) {
  const long long start = std::clamp(request.startRow, 1LL, kFarthestStart);
  const long long titleLines = request.hasHeaderRow ? 1 : 0;
  const long long voting =
      std::clamp(std::max(request.rowsToScan, -kFarthestStart) - start - titleLines, 0LL,
                 static_cast<long long>(kMaxVotingRows));
  const long long sampleNumber = FixedFirstDataLine(request);
  const long long lastNeeded = sampleNumber - 1 + std::max(voting, 1LL);

  TextLineReader reader(request.path, request.characterSet, RecordForm::FixedLength);
  // The lines as the ruler shows them: a file without line ends is one endless line.
  reader.LimitLineLength(kMaxShownLineBytes);
  FixedSample sample;
  sample.unit = FixedUnitOf(reader.Decoded());
  std::string line;
  for (long long number = 1; number <= lastNeeded && reader.ReadTextLine(line); ++number) {
    if (number == 1) sample.title = line;
    if (number == sampleNumber) sample.sampleLine = line;
    if (number >= sampleNumber && number < sampleNumber + voting) sample.voters.push_back(line);
  }
  return sample;
}

// Names from the title line: its comma-separated parts, or else its text at the fields'
// positions. Nothing when the parts do not match the fields one for one.
std::optional<std::vector<std::string>> TitleNames(const std::string& title,
                                                   const std::vector<Slice>& slices,
                                                   const std::string& qualifier) {
  std::vector<std::string> names;
  if (title.find(',') != std::string::npos) {
    SplitRecord(title, ",", qualifier, names, slices.size() + 1);
    if (names.size() != slices.size()) return std::nullopt;
    return names;
  }
  for (const Slice& slice : slices) names.emplace_back(Trim(slice.In(title)));
  return names;
}

}  // namespace

long long FixedFirstDataLine(const FixedGuessRequest& request) {
  const long long start = std::clamp(request.startRow, 1LL, kFarthestStart);
  return (start > 1 ? start : 0) + (request.hasHeaderRow ? 1 : 0) + 1;
}

FixedUnit DelimitedWidthUnit(const CharacterSet& set) {
  return set.Kind() == CharacterSetKind::SingleByte ? FixedUnit::Characters : FixedUnit::Bytes;
}

void GuessDelimitedFields(FieldList& fields, const std::vector<std::vector<std::string>>& rows,
                          const LocaleSettings& locale, int numberingBase, FixedUnit widthUnit) {
  for (std::size_t column = 0; column < fields.size(); ++column) {
    FieldSpec& field = fields[column];
    if (IsBlank(field.name)) field.name = DefaultFieldName(static_cast<long long>(column) + numberingBase);
    if (field.typeName != kUnknownType) continue;
    const std::string* first = rows.empty() ? nullptr : CellOf(rows.front(), column);
    const std::string_view sample = first ? std::string_view(*first) : std::string_view();

    const FieldType type = TypeFromSample(sample, locale, [&] {
      TypeVote vote(locale);
      for (const auto& row : rows) {
        if (vote.Rows() == kMaxVotingRows) break;
        if (const std::string* cell = CellOf(row, column)) vote.Add(*cell);
      }
      return vote.Result(sample);
    });

    if (type == FieldType::Char) {
      // The first cell's own length is among these, blank or not.
      std::size_t width = 0;
      for (const auto& row : rows) {
        if (const std::string* cell = CellOf(row, column)) width = std::max(width, FixedLengthOf(*cell, widthUnit));
      }
      field.width = std::to_string(width);
    }
    field.typeName = std::string(FieldTypeName(type));
  }
}

std::vector<int> GuessBreakPositions(const BreakModel& breaks, long long lineLength) {
  // A flag at or past the record's end would make a field of no characters or a negative
  // width; it does not count, so the ruler's count then disagrees and the guess says so.
  const long long last = std::min<long long>(lineLength - 1, kMaxBreakPosition);
  std::vector<int> positions;
  for (int p = 1; p <= last; ++p) {
    if (breaks.IsSet(p)) positions.push_back(p);
  }
  return positions;
}

FixedGuess GuessFixedFields(const FixedGuessRequest& request, const LocaleSettings& locale) {
  const long long lineLength = std::max(request.lineLength, 1LL);
  std::vector<Slice> slices = SlicesBetween(GuessBreakPositions(request.breaks, lineLength), lineLength);
  if (static_cast<long long>(slices.size()) != request.breaks.fieldCount) {
    return {{}, FieldCountMessage(slices.size(), request.breaks.fieldCount)};
  }

  const FixedSample sample = ReadFixedSample(request);
  for (Slice& slice : slices) slice.unit = sample.unit;
  std::vector<std::string> names;
  if (request.hasHeaderRow) {
    std::optional<std::vector<std::string>> titles =
        TitleNames(sample.title, slices, request.qualifier);
    if (!titles) return {{}, kTitleCountMessage};
    names = std::move(*titles);
  }
  names.resize(slices.size());

  FixedGuess guess;
  guess.fields.reserve(slices.size());
  for (std::size_t i = 0; i < slices.size(); ++i) {
    const Slice& slice = slices[i];
    // A title line shorter than the fields, or an empty title between commas, names no field;
    // a blank name would not survive the schema file, so such a field is named by number.
    std::string name = IsBlank(names[i])
                           ? DefaultFieldName(static_cast<long long>(i) + request.numberingBase)
                           : std::move(names[i]);
    const std::string_view value = Trim(slice.In(sample.sampleLine));
    const FieldType type = TypeFromSample(value, locale, [&] {
      TypeVote vote(locale);
      for (const std::string& line : sample.voters) vote.Add(slice.In(line));
      return vote.Result(value);
    });
    guess.fields.push_back(
        FieldSpec{std::move(name), std::string(FieldTypeName(type)), std::to_string(slice.width), {}});
  }
  return guess;
}

}  // namespace quorlin

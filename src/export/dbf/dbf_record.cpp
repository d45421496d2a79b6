#include "export/dbf/dbf_record.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "export/column_names.h"
#include "export/value_reading.h"
#include "schema/value_recognisers.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

constexpr std::size_t kFloatTextWidth = 18;

enum class Outcome { Written, Cut, Rejected, NotANumber };

char LetterOf(ExportFieldType type) {
  switch (type) {
    case ExportFieldType::Bit: return 'L';
    case ExportFieldType::Date: return 'D';
    case ExportFieldType::Byte:
    case ExportFieldType::Integer:
    case ExportFieldType::Long:
    case ExportFieldType::Float:
    case ExportFieldType::Currency:
    case ExportFieldType::Single:
    case ExportFieldType::Double: return 'N';
    default: return 'C';
  }
}

bool IsFloatType(ExportFieldType type) {
  return type == ExportFieldType::Float || type == ExportFieldType::Currency ||
         type == ExportFieldType::Single || type == ExportFieldType::Double;
}

// Appends `count` blanks: copied from a run of them, which costs less than filling.
void PutBlanks(std::string& out, std::size_t count) {
  static constexpr std::string_view kBlanks =
      "                                                                                ";
  for (; count > kBlanks.size(); count -= kBlanks.size()) out.append(kBlanks);
  out.append(kBlanks.data(), count);
}

// Appends `text` left-justified in `width` bytes: padded with blanks, or cut (never inside a
// UTF-8 character, the cut part padded too).
void PutJustified(std::string& out, std::string_view text, std::size_t width) {
  const std::size_t start = out.size();
  if (text.size() <= width) {
    out.append(text);
  } else {
    out += CutAtCharacter(text, width);
  }
  PutBlanks(out, width - (out.size() - start));
}

// The fixed-point text of a plain decimal ("-12.5", "007", ".25") with `decimals` digits after
// the point, exactly as formatting the number read from it would give, written without
// reading and formatting a double: most Float values are such texts. Nothing for any other
// text, which takes the general way: an exponent, more fraction digits than `decimals`, more
// than fifteen digits (past which a double may not hold the number exactly), a negative zero.
std::optional<std::string_view> PlainFixedText(std::string_view value, char decimalSeparator, int decimals,
                                               std::span<char> buffer) {
  std::string_view text = Trim(value);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::size_t point = text.find(decimalSeparator);
  std::string_view integer = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  const auto allDigits = [](std::string_view digits) {
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!allDigits(integer) || !allDigits(fraction) || integer.size() + fraction.size() == 0) return std::nullopt;
  if (fraction.size() > static_cast<std::size_t>(decimals)) return std::nullopt;
  while (!integer.empty() && integer.front() == '0') integer.remove_prefix(1);
  if (integer.size() + fraction.size() > 15) return std::nullopt;
  const bool zero = integer.empty() && fraction.find_first_not_of('0') == std::string_view::npos;
  if (negative && zero) return std::nullopt;
  const std::size_t length = (negative ? 1 : 0) + std::max<std::size_t>(integer.size(), 1) +
                             (decimals > 0 ? 1 + static_cast<std::size_t>(decimals) : 0);
  if (length > buffer.size()) return std::nullopt;
  char* at = buffer.data();
  if (negative) *at++ = '-';
  if (integer.empty()) *at++ = '0';
  at = std::copy(integer.begin(), integer.end(), at);
  if (decimals > 0) {
    *at++ = '.';
    at = std::copy(fraction.begin(), fraction.end(), at);
    at = std::fill_n(at, static_cast<std::size_t>(decimals) - fraction.size(), '0');
  }
  return std::string_view(buffer.data(), static_cast<std::size_t>(at - buffer.data()));
}

void PutTwoDigits(std::string& out, int value) {
  out += static_cast<char>('0' + value / 10 % 10);
  out += static_cast<char>('0' + value % 10);
}

// An optional sign followed by digits only, so that every dBase reader reads it.
bool IsPlainInteger(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Outcome PutValue(std::string& out, const ExportField& field, std::string_view value,
                 const LocaleSettings& locale) {
  const std::size_t width = static_cast<std::size_t>(std::max(field.length, 0));
  switch (field.typeCode) {
    case ExportFieldType::Bit:
      out += IsTrueWord(value) ? 'Y' : IsBlank(value) ? '?' : 'N';
      return Outcome::Written;
    case ExportFieldType::Byte:
    case ExportFieldType::Integer:
    case ExportFieldType::Long: {
      const std::string_view number = Trim(value);
      if (number.empty()) break;
      if (!IsPlainInteger(number) || number.size() > width) {
        PutBlanks(out, width);
        return Outcome::Rejected;
      }
      PutJustified(out, number, width);
      return Outcome::Written;
    }
    case ExportFieldType::Date: {
      const std::optional<DateTime> date = ReadCalendarDate(value, locale);
      if (!date) {
        PutBlanks(out, width);
        return Outcome::Rejected;
      }
      std::string text;
      PutTwoDigits(text, date->year / 100);
      PutTwoDigits(text, date->year % 100);
      PutTwoDigits(text, date->month);
      PutTwoDigits(text, date->day);
      PutJustified(out, text, width);
      return Outcome::Written;
    }
    case ExportFieldType::Time: {
      if (IsBlank(value)) break;
      const std::optional<DateTime> time = ReadDateTime(value, locale);
      if (!time) {
        PutBlanks(out, width);
        return Outcome::Rejected;
      }
      std::string text;
      PutTwoDigits(text, time->hour);
      text += ':';
      PutTwoDigits(text, time->minute);
      text += ':';
      PutTwoDigits(text, time->second);
      PutJustified(out, text, width);
      return Outcome::Written;
    }
    default:
      if (!IsFloatType(field.typeCode)) {
        PutJustified(out, value, width);
        // Blanks past the field's end are no loss.
        return Trim(value.substr(std::min(width, value.size()))).empty() ? Outcome::Written : Outcome::Cut;
      }
      if (IsBlank(value)) break;
      // "%18.2f" without the C library's locale: right-aligned in 18 characters (fewer in a
      // narrower field, so that no digit is cut off), then left-justified in the field.
      const int decimals = std::clamp(field.decimals, 0, 15);
      char digits[400];
      std::string_view text;
      if (const auto plain = PlainFixedText(value, locale.decimalSeparator, decimals, digits)) {
        text = *plain;
      } else {
        const NumberReading number = ReadNumber(value, locale);
        if (!number) return Outcome::NotANumber;
        const auto [end, error] =
            std::to_chars(digits, digits + sizeof digits, *number, std::chars_format::fixed, decimals);
        if (error == std::errc()) text = std::string_view(digits, static_cast<std::size_t>(end - digits));
      }
      const std::size_t aligned = std::min(kFloatTextWidth, width);
      if (text.empty() || text.size() > aligned) {
        PutBlanks(out, width);
        return Outcome::Rejected;
      }
      PutBlanks(out, aligned - text.size());
      out.append(text);
      PutBlanks(out, width - aligned);
      return Outcome::Written;
  }
  PutBlanks(out, width);
  return Outcome::Written;
}

}  // namespace

std::vector<DbfColumn> DbfColumnsFor(const ExportFields& fields) {
  std::vector<std::string> names;
  for (const ExportField& field : fields) names.push_back(field.name);
  names = DbfColumnNames(names);
  std::vector<DbfColumn> columns;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    DbfColumn column;
    column.name = names[i];
    column.typeLetter = LetterOf(fields[i].typeCode);
    column.length = static_cast<std::uint8_t>(std::clamp(fields[i].length, 0, 255));
    column.decimals =
        IsFloatType(fields[i].typeCode) ? static_cast<std::uint8_t>(fields[i].decimals) : 0;
    columns.push_back(std::move(column));
  }
  return columns;
}

void MakeDbfRecord(const ExportFields& fields, const RecordValues& values,
                   std::int32_t recordLength, const LocaleSettings& locale, DbfRecord& record) {
  record.bytes.clear();
  record.bytes += kDbfLiveRecord;
  record.rejectedFields.clear();
  record.cutFields.clear();
  record.notANumberField.reset();
  const std::size_t count = std::min(fields.size(), values.size());
  for (std::size_t i = 0; i < count; ++i) {
    switch (PutValue(record.bytes, fields[i], values[i], locale)) {
      case Outcome::Written:
        break;
      case Outcome::Cut:
        record.cutFields.push_back(i);
        break;
      case Outcome::Rejected:
        record.rejectedFields.push_back(i);
        break;
      case Outcome::NotANumber:
        record.notANumberField = i;
        return;
    }
  }
  record.textLength = record.bytes.size();
  record.bytes.resize(static_cast<std::size_t>(std::max(recordLength, 1)), ' ');
}

std::string DbfRecord::LogText(std::string_view value) const {
  std::string text = bytes.substr(0, textLength);
  text += ">> ";
  text += value;
  text += " <<";
  return text;
}

}  // namespace quorlin

#include "export/dbf/dbf_record.h"

#include <algorithm>
#include <charconv>

#include "export/column_names.h"
#include "export/value_reading.h"
#include "schema/value_recognisers.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

constexpr std::size_t kFloatTextWidth = 18;

enum class Outcome { Written, Rejected, NotANumber };

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

// Appends `text` left-justified in `width` bytes: padded with blanks, or cut (never inside a
// UTF-8 character, the cut part padded too).
void PutJustified(std::string& out, std::string_view text, std::size_t width) {
  const std::size_t start = out.size();
  if (text.size() <= width) {
    out.append(text);
  } else {
    out += CutAtCharacter(text, width);
  }
  out.append(width - (out.size() - start), ' ');
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
        out.append(width, ' ');
        return Outcome::Rejected;
      }
      PutJustified(out, number, width);
      return Outcome::Written;
    }
    case ExportFieldType::Date: {
      const std::optional<DateTime> date = ReadCalendarDate(value, locale);
      if (!date) {
        out.append(width, ' ');
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
      const std::optional<DateTime> time = ReadTimeOfDay(value, locale);
      if (!time) {
        out.append(width, ' ');
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
        return Outcome::Written;
      }
      if (IsBlank(value)) break;
      const std::optional<double> number = ReadNumber(value, locale);
      if (!number) return Outcome::NotANumber;
      // "%18.2f" without the C library's locale: right-aligned in 18 characters (fewer in a
      // narrower field, so that no digit is cut off), then left-justified in the field.
      char digits[400];
      const auto [end, error] = std::to_chars(digits, digits + sizeof digits, *number,
                                              std::chars_format::fixed, std::clamp(field.decimals, 0, 15));
      const std::size_t length = static_cast<std::size_t>(end - digits);
      const std::size_t aligned = std::min(kFloatTextWidth, width);
      if (error != std::errc() || length > aligned) {
        out.append(width, ' ');
        return Outcome::Rejected;
      }
      out.append(aligned - length, ' ');
      out.append(digits, length);
      out.append(width - aligned, ' ');
      return Outcome::Written;
  }
  out.append(width, ' ');
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
  record.rejected = false;
  record.notANumberField.reset();
  std::string_view lastRejected;
  const std::size_t count = std::min(fields.size(), values.size());
  for (std::size_t i = 0; i < count; ++i) {
    switch (PutValue(record.bytes, fields[i], values[i], locale)) {
      case Outcome::Written:
        break;
      case Outcome::Rejected:
        record.rejected = true;
        lastRejected = values[i];
        break;
      case Outcome::NotANumber:
        record.notANumberField = i;
        return;
    }
  }
  if (record.rejected) {
    record.logText = record.bytes;
    record.logText += ">> ";
    record.logText += lastRejected;
    record.logText += " <<";
  }
  record.bytes.resize(static_cast<std::size_t>(std::max(recordLength, 1)), ' ');
}

}  // namespace quorlin

#include "export/parquet/field_columns.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <optional>

#include "export/column_names.h"
#include "export/export_values.h"
#include "export/value_reading.h"
#include "platform/trim.h"
#include "text/utf8_text.h"

namespace quorlin::parquet {

namespace {

constexpr std::int32_t kCurrencyPrecision = 19;
constexpr std::int32_t kCurrencyScale = 4;
constexpr std::int32_t kCurrencyBytes = 9;  // 19 digits need more than 64 bits with the sign
constexpr std::int64_t kCurrencyFactor = 10'000;
// Names past this are cut: no engine needs longer ones.
constexpr std::size_t kMaxNameBytes = 255;

FieldColumn ColumnOf(const ExportField& field, CurrencyColumns currency) {
  FieldColumn result;
  ColumnSchema& schema = result.column.schema;
  switch (field.typeCode) {
    case ExportFieldType::Bit:
      schema.type = PhysicalType::Boolean;
      result.kind = ValueKind::Boolean;
      break;
    case ExportFieldType::Byte:
    case ExportFieldType::Integer:
      schema.type = PhysicalType::Int32;
      result.kind = field.typeCode == ExportFieldType::Byte ? ValueKind::Byte : ValueKind::Integer;
      break;
    case ExportFieldType::Long:
      schema.type = PhysicalType::Int64;
      result.kind = ValueKind::Long;
      break;
    case ExportFieldType::Currency:
      if (currency == CurrencyColumns::Decimal) {
        schema.type = PhysicalType::FixedLenByteArray;
        schema.logical = LogicalType::Decimal;
        schema.typeLength = kCurrencyBytes;
        schema.precision = kCurrencyPrecision;
        schema.scale = kCurrencyScale;
        result.kind = ValueKind::Decimal;
        break;
      }
      [[fallthrough]];
    case ExportFieldType::Float:
    case ExportFieldType::Single:
    case ExportFieldType::Double:
      schema.type = PhysicalType::Double;
      result.kind = ValueKind::Double;
      break;
    case ExportFieldType::Date:
      // A format with hours says the values carry times; otherwise the values tell.
      schema.type = PhysicalType::Int32;
      schema.logical = LogicalType::Date;
      result.kind = ValueKind::DateTime;
      if (field.format.find_first_of("hH") != std::string::npos) {
        schema.type = PhysicalType::Int64;
        schema.logical = LogicalType::TimestampMillis;
      } else {
        result.column.dateTyping = DateTyping::ByFirstPage;
      }
      break;
    case ExportFieldType::Datetime:
      schema.type = PhysicalType::Int64;
      schema.logical = LogicalType::TimestampMillis;
      result.kind = ValueKind::DateTime;
      break;
    case ExportFieldType::Time:
      schema.type = PhysicalType::Int32;
      schema.logical = LogicalType::TimeMillis;
      result.kind = ValueKind::Time;
      break;
    case ExportFieldType::Char:
      schema.type = PhysicalType::ByteArray;
      schema.logical = LogicalType::String;
      result.kind = ValueKind::String;
      break;
  }
  return result;
}

// Ten-thousandths of a currency amount, exact for plain decimals (rounded half away from zero
// past four places), through the number reader otherwise.
std::optional<std::int64_t> ReadCurrency(std::string_view text, const LocaleSettings& locale) {
  const std::string_view trimmed = Trim(text);
  if (IsPlainDecimal(trimmed, locale.decimalSeparator)) {
    std::string_view digits = trimmed;
    const bool negative = digits.front() == '-';
    if (digits.front() == '-' || digits.front() == '+') digits.remove_prefix(1);
    constexpr std::uint64_t kLargest = std::numeric_limits<std::int64_t>::max();
    std::uint64_t units = 0;
    int places = -1;
    bool roundUp = false;
    const auto grow = [&units](int digit) {
      if (units > (kLargest - static_cast<std::uint64_t>(digit)) / 10) return false;
      units = units * 10 + static_cast<std::uint64_t>(digit);
      return true;
    };
    for (const char c : digits) {
      if (c == locale.decimalSeparator) {
        places = 0;
        continue;
      }
      if (places >= kCurrencyScale) {
        if (places == kCurrencyScale) roundUp = c >= '5';
        ++places;
        continue;
      }
      if (!grow(c - '0')) return std::nullopt;
      if (places >= 0) ++places;
    }
    for (int shown = std::max(places, 0); shown < kCurrencyScale; ++shown) {
      if (!grow(0)) return std::nullopt;
    }
    if (roundUp) {
      if (units == kLargest) return std::nullopt;
      ++units;
    }
    const auto value = static_cast<std::int64_t>(units);
    return negative ? -value : value;
  }
  const NumberReading number = ReadNumber(text, locale);
  if (!number) return std::nullopt;
  const double units = std::round(*number * kCurrencyFactor);
  if (!(std::abs(units) < 9.2e18)) return std::nullopt;
  return static_cast<std::int64_t>(units);
}

std::int64_t MillisOfDay(const DateTime& value) {
  return ((value.hour * 60LL + value.minute) * 60 + value.second) * 1000 + value.millisecond;
}

std::int64_t MillisOf(const DateTime& value) {
  using namespace std::chrono;
  const sys_days day = year_month_day{year{value.year}, month{static_cast<unsigned>(value.month)},
                                      std::chrono::day{static_cast<unsigned>(value.day)}};
  return day.time_since_epoch().count() * 86'400'000LL + MillisOfDay(value);
}

}  // namespace

std::vector<FieldColumn> FieldColumnsFor(const ExportFields& fields, CurrencyColumns currency) {
  std::vector<std::string> names;
  for (const ExportField& field : fields) names.push_back(field.name);
  names = UniqueColumnNames(names, kMaxNameBytes);
  std::vector<FieldColumn> columns;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    columns.push_back(ColumnOf(fields[i], currency));
    columns.back().column.schema.name = AsUtf8(names[i]);
  }
  return columns;
}

namespace {

// Gives `add` every text of the field that is not blank; the kind is chosen once per run of
// records, not once per value.
template <typename Add>
void AddEach(ColumnChunk& chunk, const RecordBatch& batch, std::size_t field, std::size_t begin, std::size_t end,
             std::vector<std::size_t>& refused, Add add) {
  for (std::size_t record = begin; record < end; ++record) {
    if (field >= batch.ValueCount(record)) {
      chunk.AddNull();
      continue;
    }
    const std::string_view text = batch.Value(record, field);
    if (IsBlank(text)) {
      chunk.AddNull();
    } else if (!add(text)) {
      chunk.AddNull();
      refused.push_back(record);
    }
  }
}

template <typename Integer>
auto WholeNumbers(ColumnChunk& chunk, const LocaleSettings& locale, std::int64_t least, std::int64_t most) {
  return [&chunk, &locale, least, most](std::string_view text) {
    const auto value = ReadWholeNumber(text, locale, least, most);
    if (!value) return false;
    if constexpr (sizeof(Integer) == 4) {
      chunk.AddInt32(static_cast<std::int32_t>(*value));
    } else {
      chunk.AddInt64(*value);
    }
    return true;
  };
}

}  // namespace

void AddFieldValues(ColumnChunk& chunk, ValueKind kind, const RecordBatch& batch, std::size_t field,
                    std::size_t begin, std::size_t end, ValueReading& reading, std::vector<std::size_t>& refused) {
  const LocaleSettings& locale = reading.locale;
  const auto each = [&](auto add) { AddEach(chunk, batch, field, begin, end, refused, add); };
  switch (kind) {
    case ValueKind::Boolean:
      return each([&chunk](std::string_view text) {
        const std::optional<bool> value = TruthOf(text);
        if (value) chunk.AddBoolean(*value);
        return value.has_value();
      });
    case ValueKind::Byte:
      return each(WholeNumbers<std::int32_t>(chunk, locale, 0, 255));
    case ValueKind::Integer:
      return each(WholeNumbers<std::int32_t>(chunk, locale, std::numeric_limits<std::int32_t>::min(),
                                             std::numeric_limits<std::int32_t>::max()));
    case ValueKind::Long:
      return each(WholeNumbers<std::int64_t>(chunk, locale, std::numeric_limits<std::int64_t>::min(),
                                             std::numeric_limits<std::int64_t>::max()));
    case ValueKind::Double:
      return each([&chunk, &locale](std::string_view text) {
        const NumberReading value = ReadNumber(text, locale);
        if (value) chunk.AddDouble(*value);
        return static_cast<bool>(value);
      });
    case ValueKind::Decimal:
      return each([&chunk, &locale](std::string_view text) {
        const std::optional<std::int64_t> value = ReadCurrency(text, locale);
        if (value) chunk.AddDecimal(*value);
        return value.has_value();
      });
    case ValueKind::DateTime:
      return each([&chunk, &locale](std::string_view text) {
        const std::optional<DateTime> value = ReadCalendarDate(text, locale);
        return value && chunk.AddDateTime(MillisOf(*value));
      });
    case ValueKind::Time:
      return each([&chunk, &locale](std::string_view text) {
        const std::optional<DateTime> value = ReadDateTime(text, locale);
        if (value) chunk.AddInt32(static_cast<std::int32_t>(MillisOfDay(*value)));
        return value.has_value();
      });
    case ValueKind::String:
      return each([&chunk, &reading](std::string_view text) {
        const std::string_view kept = reading.trimText ? Trim(text) : text;
        if (IsValidUtf8(kept)) {
          chunk.AddBytes(kept);
        } else {
          reading.scratch.clear();
          AppendAsUtf8(reading.scratch, kept);
          chunk.AddBytes(reading.scratch);
        }
        return true;
      });
  }
}

}  // namespace quorlin::parquet

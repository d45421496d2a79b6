// Export fields as Parquet columns, and field values as column values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "export/export_field.h"
#include "export/parquet/column_chunk.h"
#include "export/parquet/parquet_file.h"
#include "platform/locale_settings.h"

namespace quorlin::parquet {

// How a field's texts are read.
enum class ValueKind : std::uint8_t { Boolean, Byte, Integer, Long, Double, Decimal, DateTime, Time, String };

struct FieldColumn {
  FileColumn column;
  ValueKind kind = ValueKind::String;
};

// Currency as DOUBLE, or as DECIMAL(19,4), the range of the text driver's Currency.
enum class CurrencyColumns { Double, Decimal };

// One column per field, named by the field (names made unique, as engines need them).
std::vector<FieldColumn> FieldColumnsFor(const ExportFields& fields, CurrencyColumns currency);

struct ValueReading {
  LocaleSettings locale;
  bool trimText = false;  // fixed-length fields are padded with blanks that are no data
  std::string scratch;
};

// Adds the value of a text to `chunk`, a null for a blank text. False, with a null added, when
// the text is no value of the kind (a rejected value).
bool AddFieldValue(ColumnChunk& chunk, ValueKind kind, std::string_view text, ValueReading& reading);

}  // namespace quorlin::parquet

// Export fields as Parquet columns, and field values as column values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "export/export_field.h"
#include "export/parquet/column_chunk.h"
#include "export/parquet/parquet_file.h"
#include "export/pipeline/record_batch.h"
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

// Adds to `chunk` the values of field `field` in records [begin, end) of `batch`: a null for a
// blank text or a record without the field, and for a text that is no value of the kind (a
// rejected value), whose record then goes to `refused`.
void AddFieldValues(ColumnChunk& chunk, ValueKind kind, const RecordBatch& batch, std::size_t field,
                    std::size_t begin, std::size_t end, ValueReading& reading, std::vector<std::size_t>& refused);

}  // namespace quorlin::parquet

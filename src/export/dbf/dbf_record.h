// One dBase record from one input line's values, with the values it had to reject.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_field.h"
#include "export/export_values.h"
#include "export/dbf/dbf_format.h"
#include "platform/locale_settings.h"

namespace quorlin {

struct DbfRecord {
  std::string bytes;  // recordLength bytes, starting with the deletion flag
  // The fields whose values were written as blanks, in field order: each gets a log line.
  std::vector<std::size_t> rejectedFields;
  // The text fields whose values were cut to the field's length.
  std::vector<std::size_t> cutFields;
  // A Float value that is not a number: the record must not be written and the export stops.
  std::optional<std::size_t> notANumberField;
  // The bytes of the fields' texts, before the record is fitted to its length.
  std::size_t textLength = 0;

  // The log text of a rejected value: the record text followed by ">> " + the value + " <<".
  std::string LogText(std::string_view value) const;
};

// The descriptor of each field: its column name (DbfColumnNames), letter, length and decimals.
std::vector<DbfColumn> DbfColumnsFor(const ExportFields& fields);

// Builds `record` (reused between calls) from the values of one line; value i belongs to
// field i, values beyond the last field are ignored, missing values leave their fields blank.
void MakeDbfRecord(const ExportFields& fields, const RecordValues& values,
                   std::int32_t recordLength, const LocaleSettings& locale, DbfRecord& record);

}  // namespace quorlin

// A table's layout from Schema.INI, or from the file's first line when it has none.
#include "odbc/driver/table_layout.h"

#include <filesystem>
#include <limits>

#include "odbc/driver/sql_error.h"
#include "odbc/driver/sqlite_tables.h"
#include "odbc/driver/table_cursor.h"
#include "odbc/driver/table_files.h"
#include "platform/ascii_case.h"
#include "platform/file_error.h"
#include "platform/profile_file.h"
#include "schema/field_layout.h"
#include "schema/saved_section.h"
#include "schema/schema_reader.h"
#include "text/character_set_detection.h"
#include "text/record_splitter.h"
#include "text/record_reader.h"

namespace quorlin::driver {

namespace {

// Names of line 1, blank ones numbered as the preview numbers fields. A line of more fields than
// a table can have is refused before they are all kept.
std::vector<std::string> HeaderNames(const TableLayout& layout) {
  TextRecordReader reader(layout.path, layout.characterSet, RecordForm::Delimited, layout.separator,
                          layout.qualifier);
  reader.LimitLineLength(kMaxRecordBytes);
  std::string_view line;
  reader.ReadRecord(line);
  std::vector<std::string> fields;
  SplitRecord(line, reader.Separator(), reader.Qualifier(), fields, kMaxColumns + 1);
  if (reader.LastRecordCut()) throw RecordTooLong(layout.path, 1);
  if (fields.size() > kMaxColumns) {
    throw SqlError(state::kGeneralError, "Line 1 of " + layout.path + " has more than " +
                                             std::to_string(kMaxColumns) + " fields, more than a table can have");
  }
  for (std::size_t k = 0; k < fields.size(); ++k) {
    fields[k] = std::string(Trim(fields[k]));
    if (fields[k].empty()) fields[k] = DefaultFieldName(static_cast<long long>(k) + 1);
  }
  return fields;
}

// Columns named from line 1 when it is a header, else Field1, Field2, ... for its fields;
// every one of them text.
void AddTextColumns(TableLayout& layout, const LocaleSettings& locale) {
  std::vector<std::string> names = HeaderNames(layout);
  if (!layout.headerRow) {
    for (std::size_t k = 0; k < names.size(); ++k) names[k] = DefaultFieldName(static_cast<long long>(k) + 1);
  }
  for (std::string& name : names) layout.columns.push_back({std::move(name), ColumnKind::Text, kDefaultTextSize, locale});
}

bool NamesDateOrder(const std::string& format) {
  return format.find_first_of("dDmMyY") != std::string::npos;
}

ColumnDef ColumnOf(const FieldSpec& field, std::size_t number, const LocaleSettings& locale) {
  ColumnDef column;
  column.name = std::string(Trim(field.name));
  if (column.name.empty()) column.name = DefaultFieldName(static_cast<long long>(number));
  column.kind = KindOfTypeWord(field.typeName);
  column.locale = locale;
  if (field.format && NamesDateOrder(*field.format)) column.locale.shortDateFormat = *field.format;
  if (column.kind == ColumnKind::LongText) column.textSize = kLongTextSize;
  const std::vector<long long> width = FieldWidths({field});
  if (column.kind == ColumnKind::Text && width[0] > 0) column.textSize = static_cast<std::size_t>(width[0]);
  return column;
}

std::string SeparatorOf(const SavedLayout& saved) {
  FileLayout layout;
  layout.separator = saved.separator;
  layout.customSeparator = saved.customSeparator;
  return SeparatorText(layout);
}

void ReadSection(TableLayout& layout, const ProfileFile& schema, const LocaleSettings& systemLocale) {
  const SavedLayout saved = ReadSavedLayout(schema, layout.tableName);
  const LocaleSettings locale = WithConventions(systemLocale, saved.conventions);
  layout.headerRow = saved.hasHeaderRow;
  layout.fixed = saved.separator == SeparatorKind::Fixed;
  layout.separator = SeparatorOf(saved);
  layout.characterSet = saved.characterSet;
  FieldList fields;
  if (layout.fixed) {
    fields = ReadFixedFields(schema, layout.tableName);
    if (fields.empty()) {
      throw SqlError(state::kGeneralError, schema.Path() + " [" + layout.tableName +
                                               "]: a fixed-length layout needs its Col1, Col2, ... entries");
    }
    for (const long long width : FieldWidths(fields)) layout.widths.push_back(static_cast<std::size_t>(width));
  } else if (SectionHasFields(schema, layout.tableName)) {
    fields = ReadDelimitedFields(schema, layout.tableName,
                                 std::numeric_limits<std::size_t>::max());
  } else {
    AddTextColumns(layout, locale);
    return;
  }
  for (std::size_t k = 0; k < fields.size(); ++k) layout.columns.push_back(ColumnOf(fields[k], k + 1, locale));
}

}  // namespace

TableLayout ReadTableLayout(const std::string& folder, const std::string& table,
                            const LocaleSettings& locale) {
  TableLayout layout;
  layout.path = ResolveTableFile(folder, table);
  layout.tableName = std::filesystem::path(layout.path).filename().string();
  try {
    // A Schema.INI that is there but cannot be read is an error, never a file without a layout.
    const ProfileFile schema = SavedSectionFile(SavedSectionOf(layout.path));
    if (!schema.ReadSection(layout.tableName).empty()) {
      ReadSection(layout, schema, locale);
    } else {
      layout.separator = std::string(1, ',');
      layout.headerRow = true;
      layout.characterSet = DetectFileCharacterSet(layout.path);
      AddTextColumns(layout, locale);
    }
  } catch (const SchemaError& error) {
    throw SqlError(state::kGeneralError, error.what());
  } catch (const FileError& error) {
    throw SqlError(state::kGeneralError, error.what());
  }
  return layout;
}

std::size_t FindColumn(const TableLayout& layout, const std::string& name) {
  for (std::size_t k = 0; k < layout.columns.size(); ++k) {
    if (EqualNoCase(layout.columns[k].name, name)) return k;
  }
  throw SqlError(state::kColumnNotFound, "Column '" + name + "' not found in table " + layout.tableName);
}

}  // namespace quorlin::driver

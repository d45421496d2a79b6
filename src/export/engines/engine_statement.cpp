#include "export/engines/engine_statement.h"

#include <vector>

#include "export/engines/date_patterns.h"
#include "platform/ascii_case.h"
#include "platform/file_paths.h"

namespace quorlin {

namespace {

enum class ColumnKind { Boolean, Integer, Long, Double, Date, Timestamp, Time, Text };

ColumnKind KindOf(const ExportField& field) {
  switch (field.typeCode) {
    case ExportFieldType::Bit: return ColumnKind::Boolean;
    case ExportFieldType::Byte:
    case ExportFieldType::Integer: return ColumnKind::Integer;
    case ExportFieldType::Long: return ColumnKind::Long;
    case ExportFieldType::Float:
    case ExportFieldType::Single:
    case ExportFieldType::Double:
    case ExportFieldType::Currency: return ColumnKind::Double;
    case ExportFieldType::Date: return PatternHasTime(field.format) ? ColumnKind::Timestamp : ColumnKind::Date;
    case ExportFieldType::Datetime: return ColumnKind::Timestamp;
    case ExportFieldType::Time: return ColumnKind::Time;
    case ExportFieldType::Char: break;
  }
  return ColumnKind::Text;
}

bool IsDateKind(ColumnKind kind) { return kind == ColumnKind::Date || kind == ColumnKind::Timestamp; }

// The layout's pattern for a date field: its own, else the file's with a four-digit year.
std::string LayoutPattern(const ExportField& field, const StatementSource& source) {
  if (!field.format.empty()) return field.format;
  std::string pattern = source.dateFormat.empty() ? "MM/dd/yyyy" : source.dateFormat;
  if (pattern.find("yyyy") == std::string::npos) {
    const std::size_t year = pattern.find("yy");
    if (year != std::string::npos) pattern.replace(year, 2, "yyyy");
  }
  return pattern;
}

std::string Quoted(std::string_view text, char quote) {
  std::string result(1, quote);
  for (const char c : text) {
    result += c;
    if (c == quote) result += quote;
  }
  return result + quote;
}

std::string SqlText(std::string_view text) { return Quoted(text, '\''); }
std::string SqlName(std::string_view name) { return Quoted(name, '"'); }
std::string SparkName(std::string_view name) { return Quoted(name, '`'); }

// Spark's string literals escape with a backslash.
std::string SparkText(std::string_view text) {
  std::string result = "'";
  for (const char c : text) {
    if (c == '\\' || c == '\'') result += '\\';
    result += c;
  }
  return result + "'";
}

// A one-character option: the tab and NUL spelled as the engines read them.
std::string CharacterText(std::string_view character) {
  if (character == "\t") return "'\\t'";
  return SqlText(character);
}

bool IsLatin1(std::string_view characterSet) {
  for (const std::string_view name : {"ANSI", "1252", "28591", "ISO-8859-1", "LATIN1", "LATIN-1"}) {
    if (EqualNoCase(characterSet, name)) return true;
  }
  return false;
}

bool IsUtf8(std::string_view characterSet) {
  return characterSet.empty() || EqualNoCase(characterSet, "UTF-8") || EqualNoCase(characterSet, "65001");
}

// A comment for a character set the engine cannot decode; the file is then read as UTF-8.
std::string CharacterSetNote(const StatementSource& source, bool latin1Readable) {
  if (IsUtf8(source.characterSet) || (latin1Readable && IsLatin1(source.characterSet))) return "";
  return "-- CharacterSet=" + source.characterSet + " is read as UTF-8: same as ASCII, other bytes differ\n";
}

// Where each fixed-length field starts, counting from 1.
std::vector<long long> FieldStarts(const ExportFields& fields) {
  std::vector<long long> starts;
  long long at = 1;
  for (const ExportField& field : fields) {
    starts.push_back(at);
    at += std::max(field.inputWidth, 0);
  }
  return starts;
}

// Joins select items, one per line.
std::string SelectList(const std::vector<std::string>& items) {
  std::string list;
  for (std::size_t i = 0; i < items.size(); ++i) list += "    " + items[i] + (i + 1 < items.size() ? ",\n" : "\n");
  return list;
}

// ---- DuckDB ----

const char* DuckDbType(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Boolean: return "BOOLEAN";
    case ColumnKind::Integer: return "INTEGER";
    case ColumnKind::Long: return "BIGINT";
    case ColumnKind::Double: return "DOUBLE";
    case ColumnKind::Date: return "DATE";
    case ColumnKind::Timestamp: return "TIMESTAMP";
    case ColumnKind::Time: return "TIME";
    case ColumnKind::Text: break;
  }
  return "VARCHAR";
}

// A date read with the layout's pattern, alone or with a time of day after it; a text none of
// them reads is NULL, as the export writes a value the recognisers refuse.
std::string DuckDbDate(const std::string& value, const ExportField& field, const StatementSource& source,
                       ColumnKind kind) {
  const std::string pattern = EnginePattern(LayoutPattern(field, source), PatternStyle::Strftime);
  std::string formats = SqlText(pattern);
  if (field.format.empty()) {
    for (const char* more : {" %H:%M:%S", " %H:%M"}) formats += ", " + SqlText(pattern + more);
  }
  return "CAST(try_strptime(trim(" + value + "), [" + formats + "]) AS " + DuckDbType(kind) + ")";
}

// A fixed-length field: cut, trimmed, and cast (NULL when blank or not of the type).
std::string DuckDbFixedItem(const ExportField& field, long long start, const StatementSource& source) {
  const ColumnKind kind = KindOf(field);
  const std::string cut = "substr(line, " + std::to_string(start) + ", " + std::to_string(field.inputWidth) + ")";
  std::string item;
  if (IsDateKind(kind)) {
    item = DuckDbDate(cut, field, source, kind);
  } else if (kind == ColumnKind::Text) {
    item = "NULLIF(trim(" + cut + "), '')";
  } else if (kind == ColumnKind::Double && source.decimalSymbol != '.') {
    item = "TRY_CAST(replace(trim(" + cut + "), " + SqlText(std::string(1, source.decimalSymbol)) + ", '.') AS DOUBLE)";
  } else {
    item = "TRY_CAST(trim(" + cut + ") AS " + DuckDbType(kind) + ")";
  }
  return item + " AS " + SqlName(field.name);
}

std::string DuckDbStatement(const StatementSource& source) {
  std::string statement = CharacterSetNote(source, true);
  const std::string encoding = IsLatin1(source.characterSet) ? "latin-1" : "utf-8";
  std::vector<std::string> items;
  if (source.fixedInput) {
    const std::vector<long long> starts = FieldStarts(source.fields);
    for (std::size_t i = 0; i < source.fields.size(); ++i) {
      items.push_back(DuckDbFixedItem(source.fields[i], starts[i], source));
    }
    return statement + "SELECT\n" + SelectList(items) + "FROM read_csv(" + SqlText(source.dataPath) +
           ",\n    delim = '\\0', quote = '', escape = '',\n    header = " +
           (source.hasHeaderRow ? "true" : "false") + ",\n    encoding = " + SqlText(encoding) +
           ",\n    auto_detect = false,\n    columns = {'line': 'VARCHAR'});\n";
  }
  std::string columns;
  for (const ExportField& field : source.fields) {
    const ColumnKind kind = KindOf(field);
    // Dates are read as text and converted with their own patterns, as the reader has one.
    const bool asText = IsDateKind(kind) || kind == ColumnKind::Time;
    if (!columns.empty()) columns += ",\n        ";
    columns += SqlText(field.name) + ": " + SqlText(asText ? "VARCHAR" : DuckDbType(kind));
    const std::string name = SqlName(field.name);
    if (IsDateKind(kind)) {
      items.push_back(DuckDbDate(name, field, source, kind) + " AS " + name);
    } else if (kind == ColumnKind::Time) {
      items.push_back("TRY_CAST(trim(" + name + ") AS TIME) AS " + name);
    } else {
      items.push_back(name);
    }
  }
  const std::string quote = source.qualifier.empty() ? "''" : SqlText(source.qualifier);
  return statement + "SELECT\n" + SelectList(items) + "FROM read_csv(" + SqlText(source.dataPath) +
         ",\n    delim = " + CharacterText(source.separator) + ", quote = " + quote + ", escape = " + quote +
         ",\n    header = " + (source.hasHeaderRow ? "true" : "false") +
         ",\n    decimal_separator = " + SqlText(std::string(1, source.decimalSymbol)) +
         ",\n    encoding = " + SqlText(encoding) + ",\n    auto_detect = false,\n    columns = {" + columns +
         "});\n";
}

// ---- Spark ----

const char* SparkType(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Boolean: return "BOOLEAN";
    case ColumnKind::Integer: return "INT";
    case ColumnKind::Long: return "BIGINT";
    case ColumnKind::Double: return "DOUBLE";
    case ColumnKind::Date: return "DATE";
    case ColumnKind::Timestamp: return "TIMESTAMP";
    case ColumnKind::Time:  // Spark has no time of day type
    case ColumnKind::Text: break;
  }
  return "STRING";
}

std::string SparkDate(const std::string& value, const ExportField& field, const StatementSource& source,
                      ColumnKind kind) {
  const std::string pattern = SparkText(EnginePattern(LayoutPattern(field, source), PatternStyle::Java));
  return std::string(kind == ColumnKind::Date ? "to_date(" : "to_timestamp(") + value + ", " + pattern + ")";
}

std::string SparkStatement(const StatementSource& source) {
  const std::string view = SparkName(source.tableName);
  std::string statement = CharacterSetNote(source, true);
  if (source.fixedInput) {
    const std::string lines = SparkName(source.tableName + "_lines");
    statement += "CREATE OR REPLACE TEMPORARY VIEW " + lines + "\nUSING text\nOPTIONS (path " +
                 SparkText(source.dataPath) + ");\n\n";
    std::vector<std::string> items;
    const std::vector<long long> starts = FieldStarts(source.fields);
    for (std::size_t i = 0; i < source.fields.size(); ++i) {
      const ExportField& field = source.fields[i];
      const ColumnKind kind = KindOf(field);
      const std::string cut = "trim(substring(value, " + std::to_string(starts[i]) + ", " +
                              std::to_string(field.inputWidth) + "))";
      std::string item;
      if (IsDateKind(kind)) {
        item = SparkDate(cut, field, source, kind);
      } else if (kind == ColumnKind::Text || kind == ColumnKind::Time) {
        item = "nullif(" + cut + ", '')";
      } else if (kind == ColumnKind::Double && source.decimalSymbol != '.') {
        item = "try_cast(replace(" + cut + ", " + SparkText(std::string(1, source.decimalSymbol)) + ", '.') AS DOUBLE)";
      } else {
        item = "try_cast(" + cut + " AS " + SparkType(kind) + ")";
      }
      items.push_back(item + " AS " + SparkName(field.name));
    }
    statement += "CREATE OR REPLACE TEMPORARY VIEW " + view + " AS\nSELECT\n" + SelectList(items) + "FROM " + lines;
    // The text source reads every line; the header is the one line that is not data.
    if (source.hasHeaderRow) statement += "\nWHERE value <> " + SparkText(source.headerLine);
    return statement + ";\n";
  }
  // Spark's CSV reader knows one date and one timestamp pattern, and only the full stop as
  // the decimal point: fields that need more are read as text and converted in a second view.
  std::string columns;
  std::vector<std::string> items;
  bool converts = false;
  std::string datePattern;
  std::string timestampPattern;
  for (const ExportField& field : source.fields) {
    const ColumnKind kind = KindOf(field);
    const std::string name = SparkName(field.name);
    std::string type = SparkType(kind);
    std::string item = name;
    std::string& shared = kind == ColumnKind::Date ? datePattern : timestampPattern;
    const std::string pattern = EnginePattern(LayoutPattern(field, source), PatternStyle::Java);
    if (IsDateKind(kind) && (shared.empty() || shared == pattern)) {
      shared = pattern;
    } else if (IsDateKind(kind)) {
      type = "STRING";
      item = SparkDate(name, field, source, kind) + " AS " + name;
      converts = true;
    } else if (kind == ColumnKind::Double && source.decimalSymbol != '.') {
      type = "STRING";
      item = "try_cast(replace(" + name + ", " + SparkText(std::string(1, source.decimalSymbol)) + ", '.') AS DOUBLE) AS " + name;
      converts = true;
    }
    columns += (columns.empty() ? "    " : ",\n    ") + name + " " + type;
    items.push_back(item);
  }
  const std::string raw = converts ? SparkName(source.tableName + "_text") : view;
  statement += "CREATE OR REPLACE TEMPORARY VIEW " + raw + " (\n" + columns + "\n)\nUSING csv\nOPTIONS (\n    path " +
               SparkText(source.dataPath) + ",\n    sep " + SparkText(source.separator) + ",\n    quote " +
               (source.qualifier.empty() ? std::string("'\\u0000'") : SparkText(source.qualifier)) +
               ",\n    escape " + (source.qualifier.empty() ? std::string("'\\\\'") : SparkText(source.qualifier)) +
               ",\n    header " + (source.hasHeaderRow ? "'true'" : "'false'");
  if (!datePattern.empty()) statement += ",\n    dateFormat " + SparkText(datePattern);
  if (!timestampPattern.empty()) statement += ",\n    timestampFormat " + SparkText(timestampPattern);
  statement += ",\n    encoding " + SparkText(IsLatin1(source.characterSet) ? "ISO-8859-1" : "UTF-8") +
               ",\n    mode 'PERMISSIVE'\n);\n";
  if (converts) {
    statement += "\nCREATE OR REPLACE TEMPORARY VIEW " + view + " AS\nSELECT\n" + SelectList(items) + "FROM " + raw + ";\n";
  }
  return statement;
}

// ---- Trino ----

const char* TrinoType(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Boolean: return "boolean";
    case ColumnKind::Integer: return "integer";
    case ColumnKind::Long: return "bigint";
    case ColumnKind::Double: return "double";
    case ColumnKind::Date: return "date";
    case ColumnKind::Timestamp: return "timestamp(3)";
    case ColumnKind::Time: return "time(3)";
    case ColumnKind::Text: break;
  }
  return "varchar";
}

// The Hive connector reads CSV and text files as varchar columns; the view gives the types.
std::string TrinoItem(const std::string& value, const ExportField& field, const StatementSource& source) {
  const ColumnKind kind = KindOf(field);
  const std::string trimmed = "trim(" + value + ")";
  switch (kind) {
    case ColumnKind::Text: return "nullif(" + trimmed + ", '')";
    case ColumnKind::Boolean:
      return "CASE WHEN lower(" + trimmed + ") IN ('true', 't', 'yes', 'y', 'on', '1') THEN true WHEN lower(" +
             trimmed + ") IN ('false', 'f', 'no', 'n', 'off', '0') THEN false END";
    case ColumnKind::Date:
    case ColumnKind::Timestamp:
      return "try(CAST(date_parse(" + trimmed + ", " +
             SqlText(EnginePattern(LayoutPattern(field, source), PatternStyle::MySql)) + ") AS " + TrinoType(kind) + "))";
    case ColumnKind::Double:
      if (source.decimalSymbol != '.') {
        return "try_cast(replace(" + trimmed + ", " + SqlText(std::string(1, source.decimalSymbol)) + ", '.') AS double)";
      }
      break;
    default: break;
  }
  return "try_cast(" + trimmed + " AS " + TrinoType(kind) + ")";
}

std::string TrinoStatement(const StatementSource& source) {
  const std::string table = "hive.default." + SqlName(source.tableName + "_raw");
  const std::string view = "hive.default." + SqlName(source.tableName);
  std::string statement = CharacterSetNote(source, false);
  statement += "-- The table reads every file in its folder: keep " +
               FileNameOf(source.dataPath) + " in a folder of its own there.\n";
  std::vector<std::string> items;
  std::string columns;
  if (source.fixedInput) {
    columns = "    line varchar";
    const std::vector<long long> starts = FieldStarts(source.fields);
    for (std::size_t i = 0; i < source.fields.size(); ++i) {
      const ExportField& field = source.fields[i];
      items.push_back(TrinoItem("substr(line, " + std::to_string(starts[i]) + ", " + std::to_string(field.inputWidth) + ")",
                                field, source) + " AS " + SqlName(field.name));
    }
  } else {
    for (const ExportField& field : source.fields) {
      columns += (columns.empty() ? "    " : ",\n    ") + SqlName(field.name) + " varchar";
      items.push_back(TrinoItem(SqlName(field.name), field, source) + " AS " + SqlName(field.name));
    }
  }
  statement += "CREATE TABLE " + table + " (\n" + columns + "\n)\nWITH (\n";
  if (source.fixedInput) {
    statement += "    format = 'TEXTFILE',\n";
  } else {
    statement += "    format = 'CSV',\n    csv_separator = " + CharacterText(source.separator) + ",\n";
    if (!source.qualifier.empty()) statement += "    csv_quote = " + SqlText(source.qualifier) + ",\n";
  }
  if (source.hasHeaderRow) statement += "    skip_header_line_count = 1,\n";
  statement += "    external_location = " + SqlText("file://" + FolderOf(source.dataPath)) + "\n);\n\n";
  return statement + "CREATE VIEW " + view + " AS\nSELECT\n" + SelectList(items) + "FROM " + table + ";\n";
}

}  // namespace

std::optional<Engine> EngineFromWord(std::string_view word) {
  if (word == "duckdb") return Engine::DuckDb;
  if (word == "spark") return Engine::Spark;
  if (word == "trino") return Engine::Trino;
  return std::nullopt;
}

std::string EngineStatement(Engine engine, const StatementSource& source) {
  switch (engine) {
    case Engine::DuckDb: return DuckDbStatement(source);
    case Engine::Spark: return SparkStatement(source);
    case Engine::Trino: break;
  }
  return TrinoStatement(source);
}

}  // namespace quorlin

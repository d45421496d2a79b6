// A saved layout as a statement that reads the raw flat file on DuckDB, Spark or Trino.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "export/export_field.h"

namespace quorlin {

enum class Engine { DuckDb, Spark, Trino };

// The engine of a quorlin-cli word ("duckdb", "spark", "trino"), or nothing.
std::optional<Engine> EngineFromWord(std::string_view word);

// What a statement needs to know of the file and its layout.
struct StatementSource {
  std::string dataPath;        // absolute
  std::string tableName;       // the name the statement gives the table or view
  ExportFields fields;         // as an export to a typed format reads them
  bool fixedInput = false;
  std::string separator;       // delimited files
  std::string qualifier;       // empty for none
  bool hasHeaderRow = false;
  std::string headerLine;      // the file's first line, which Spark's text reader cannot skip
  std::string dateFormat;      // dates without a format of their own, e.g. "dd/MM/yyyy"
  char decimalSymbol = '.';
  std::string characterSet;    // the section's CharacterSet value, or empty
};

std::string EngineStatement(Engine engine, const StatementSource& source);

}  // namespace quorlin

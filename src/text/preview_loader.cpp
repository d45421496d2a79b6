// The first lines of a delimited file, cut into the preview's columns.
#include "text/preview_loader.h"

#include <algorithm>
#include <limits>
#include <new>
#include <ostream>

#include "platform/file_error.h"
#include "text/record_splitter.h"
#include "text/text_line_reader.h"

namespace quorlin {

namespace {

constexpr long long kDefaultRowsToScan = 25;

}  // namespace

void StripLeftQualifier(std::string& field, const std::string& qualifier) {
  std::string_view stripped = field;
  StripLeftQualifier(stripped, qualifier);
  if (stripped.size() != field.size()) field = std::string(stripped);
}

void StripLeftQualifier(std::string_view& field, std::string_view qualifier) {
  if (qualifier.empty() || !field.starts_with(qualifier)) return;
  field = field.size() <= 2 ? std::string_view() : field.substr(1, field.size() - 2);
}

namespace {

// Reads the next line, noting the first one that had to be cut.
bool ReadShownLine(TextLineReader& reader, std::string& line, long long fileLine, PreviewTable& table) {
  if (!reader.ReadTextLine(line)) return false;
  if (reader.LastLineCut() && table.cutLine == 0) table.cutLine = fileLine;
  return true;
}

PreviewTable ReadPreview(const std::string& path, const PreviewOptions& options) {
  const long long rowsToScan = options.rowsToScan < 1 ? kDefaultRowsToScan : options.rowsToScan;
  const long long startRow = std::max(options.startRow, 1LL);
  // Saturates instead of overflowing when both boxes hold huge numbers.
  const long long lastLine =
      rowsToScan > std::numeric_limits<long long>::max() - startRow ? std::numeric_limits<long long>::max()
                                                                    : startRow + rowsToScan - 1;

  TextLineReader reader(path, options.characterSet, RecordForm::Delimited);
  reader.LimitLineLength(kMaxShownLineBytes);
  PreviewTable table;
  std::string line;
  std::vector<std::string> fields;
  std::size_t kept = 0;  // what the table's texts cost so far

  ReadShownLine(reader, line, 1, table);
  SplitRecord(line, options.separator, options.qualifier, fields, kMaxPreviewColumns + 1);
  if (fields.size() > kMaxPreviewColumns) {
    fields.resize(kMaxPreviewColumns);
    table.columnsCut = true;
  }
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const std::string number = std::to_string(static_cast<long long>(k) + options.numberingBase);
    table.numbers.push_back(number);
    table.names.push_back(options.hasHeaderRow ? std::move(fields[k]) : "Field" + number);
    kept += KeptCost(table.numbers.back()) + KeptCost(table.names.back());
  }
  fields.clear();

  reader.Rewind();
  const long long firstDataLine = options.hasHeaderRow ? 2 : 1;
  if (options.hasHeaderRow) {
    reader.LimitLineLength(0);
    reader.ReadTextLine(line);
    reader.LimitLineLength(kMaxShownLineBytes);
  }
  for (long long number = 1;
       number <= lastLine && ReadShownLine(reader, line, number + firstDataLine - 1, table); ++number) {
    if (number < startRow) continue;
    // The most a row of this line can cost, known before it is split.
    const std::size_t rowCost = line.size() + table.names.size() * sizeof(std::string);
    if (kept + rowCost > kMaxPreviewBytes) {
      table.linesCut = true;
      break;
    }
    kept += rowCost;
    SplitRecord(line, options.separator, options.qualifier, fields, table.names.size());
    std::vector<std::string>& row = table.rows.emplace_back(table.names.size());
    const std::size_t shown = std::min(fields.size(), row.size());
    for (std::size_t j = 0; j < shown; ++j) {
      StripLeftQualifier(fields[j], options.qualifier);
      row[j] = std::move(fields[j]);
    }
  }
  return table;
}

}  // namespace

PreviewTable LoadPreview(const std::string& path, const PreviewOptions& options) {
  try {
    return ReadPreview(path, options);
  } catch (const std::bad_alloc&) {
    throw OutOfMemoryError(path);
  }
}

std::vector<std::string> CutMessages(const PreviewTable& table) {
  std::vector<std::string> messages;
  if (table.columnsCut) messages.push_back(ColumnsCutMessage());
  if (table.cutLine > 0) messages.push_back(LineCutMessage(table.cutLine));
  if (table.linesCut) messages.push_back(LinesCutMessage(table.rows.size()));
  return messages;
}

void PrintTo(const PreviewTable& table, std::ostream* out) {
  const auto row = [out](const std::vector<std::string>& cells) {
    *out << '[';
    for (std::size_t i = 0; i < cells.size(); ++i) *out << (i > 0 ? "|" : "") << cells[i];
    *out << ']';
  };
  *out << "numbers ";
  row(table.numbers);
  *out << " names ";
  row(table.names);
  *out << " rows";
  for (const auto& cells : table.rows) {
    *out << ' ';
    row(cells);
  }
  if (table.columnsCut) *out << " (columns cut)";
  if (table.cutLine > 0) *out << " (cut at line " << table.cutLine << ")";
  if (table.linesCut) *out << " (lines cut)";
}

}  // namespace quorlin

// The first lines of a delimited file, cut into the preview's columns.
#include "text/preview_loader.h"

#include <algorithm>
#include <limits>
#include <ostream>

#include "text/record_splitter.h"
#include "text/text_line_reader.h"

namespace quorlin {

namespace {

constexpr long long kDefaultRowsToScan = 25;

}  // namespace

void StripLeftQualifier(std::string& field, const std::string& qualifier) {
  if (qualifier.empty() || !field.starts_with(qualifier)) return;
  field = field.size() <= 2 ? std::string() : field.substr(1, field.size() - 2);
}

PreviewTable LoadPreview(const std::string& path, const PreviewOptions& options) {
  const long long rowsToScan = options.rowsToScan < 1 ? kDefaultRowsToScan : options.rowsToScan;
  const long long startRow = std::max(options.startRow, 1LL);
  // Saturates instead of overflowing when both boxes hold huge numbers.
  const long long lastLine =
      rowsToScan > std::numeric_limits<long long>::max() - startRow ? std::numeric_limits<long long>::max()
                                                                    : startRow + rowsToScan - 1;

  TextLineReader reader(path);
  PreviewTable table;
  std::string line;
  std::vector<std::string> fields;

  reader.ReadTextLine(line);
  SplitRecord(line, options.separator, options.qualifier, fields, kMaxPreviewColumns + 1);
  if (fields.size() > kMaxPreviewColumns) {
    fields.resize(kMaxPreviewColumns);
    table.columnsCut = true;
  }
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const std::string number = std::to_string(static_cast<long long>(k) + options.numberingBase);
    table.numbers.push_back(number);
    table.names.push_back(options.hasHeaderRow ? fields[k] : "Field" + number);
  }

  reader.Rewind();
  if (options.hasHeaderRow) reader.ReadTextLine(line);
  for (long long number = 1; number <= lastLine && reader.ReadTextLine(line); ++number) {
    if (number < startRow) continue;
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
}

std::string ColumnsCutMessage() {
  const std::string most = std::to_string(kMaxPreviewColumns);
  return "Line 1 holds more than " + most + " fields; the preview shows the first " + most + ".";
}

}  // namespace quorlin

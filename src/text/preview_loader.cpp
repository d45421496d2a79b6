// The first lines of a delimited file, cut into the preview's columns.
#include "text/preview_loader.h"

#include <algorithm>
#include <limits>
#include <new>
#include <ostream>

#include "platform/file_error.h"
#include "text/field_mark.h"
#include "text/record_splitter.h"
#include "text/record_reader.h"

namespace quorlin {

namespace {

constexpr long long kDefaultRowsToScan = 25;

}  // namespace

void StripLeftQualifiers(std::vector<std::string_view>& fields, std::string_view record,
                         std::string_view qualifier) {
  if (qualifier.empty()) return;
  const char* const begin = record.data();
  const char* const end = begin + record.size();
  for (std::string_view& field : fields) {
    // The first byte alone rules out nearly every field, without a call to compare.
    if (field.empty() || field.front() != qualifier.front() || !field.starts_with(qualifier) ||
        field.data() < begin || field.data() >= end) {
      continue;
    }
    const std::size_t q = LeadingCharacter(qualifier).size();
    field = field.size() <= 2 * q ? std::string_view() : field.substr(q, field.size() - 2 * q);
  }
}

namespace {

// Reads the next record, noting the first line that had to be cut.
bool ReadShownRecord(TextRecordReader& reader, std::string& record, PreviewTable& table) {
  if (!reader.ReadRecord(record)) return false;
  if (reader.LastRecordCut() && table.cutLine == 0) table.cutLine = reader.FirstLine();
  return true;
}

PreviewTable ReadPreview(const std::string& path, const PreviewOptions& options) {
  const long long rowsToScan = options.rowsToScan < 1 ? kDefaultRowsToScan : options.rowsToScan;
  const long long startRow = std::max(options.startRow, 1LL);
  // Saturates instead of overflowing when both boxes hold huge numbers.
  const long long lastLine =
      rowsToScan > std::numeric_limits<long long>::max() - startRow ? std::numeric_limits<long long>::max()
                                                                    : startRow + rowsToScan - 1;

  TextRecordReader reader(path, options.characterSet, RecordForm::Delimited, options.separator,
                          options.qualifier);
  reader.LimitLineLength(kMaxShownLineBytes);
  PreviewTable table;
  std::string line;
  std::vector<std::string> fields;
  std::vector<std::string_view> cut;
  std::string unescaped;
  std::size_t kept = 0;  // what the table's texts cost so far

  ReadShownRecord(reader, line, table);
  SplitRecord(line, reader.Separator(), reader.Qualifier(), fields, kMaxPreviewColumns + 1);
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
  if (options.hasHeaderRow) reader.SkipRecord();
  for (long long number = 1; number <= lastLine && ReadShownRecord(reader, line, table); ++number) {
    if (number < startRow) continue;
    // The most a row of this line can cost, known before it is split.
    const std::size_t rowCost = line.size() + table.names.size() * sizeof(std::string);
    if (kept + rowCost > kMaxPreviewBytes) {
      table.linesCut = true;
      break;
    }
    kept += rowCost;
    SplitRecordViews(line, reader.Separator(), reader.Qualifier(), cut, unescaped, table.names.size());
    StripLeftQualifiers(cut, line, reader.Qualifier());
    std::vector<std::string>& row = table.rows.emplace_back(table.names.size());
    const std::size_t shown = std::min(cut.size(), row.size());
    for (std::size_t j = 0; j < shown; ++j) row[j] = std::string(cut[j]);
  }
  table.unclosedLine = reader.UnclosedLine();
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

// Reading a table file row by row through the program's line reader and splitter.
#include "odbc/driver/table_cursor.h"

#include <tuple>

#include "odbc/driver/sql_error.h"
#include "platform/file_error.h"
#include "text/fixed_fields.h"
#include "text/preview_loader.h"
#include "text/record_splitter.h"
#include "text/record_reader.h"

namespace quorlin::driver {

namespace {

CellValue::Kind ValueKindOf(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::LongText:
      return CellValue::Kind::Text;
    case ColumnKind::TinyInt:
    case ColumnKind::SmallInt:
    case ColumnKind::Integer:
      return CellValue::Kind::Integer;
    case ColumnKind::Double:
      return CellValue::Kind::Double;
    case ColumnKind::Date:
      return CellValue::Kind::Date;
    case ColumnKind::Time:
      return CellValue::Kind::Time;
    case ColumnKind::Timestamp:
      return CellValue::Kind::Timestamp;
    case ColumnKind::Bit:
      return CellValue::Kind::Bit;
  }
  return CellValue::Kind::Text;
}

[[noreturn]] void LiteralMismatch(const Condition& condition, const ColumnDef& column, const char* what) {
  throw SqlError(state::kBadValue, "The value '" + condition.literal.text + "' compared with column " +
                                       column.name + " is not " + what);
}

BoundCondition Bind(const TableLayout& layout, const Condition& condition) {
  BoundCondition bound;
  bound.column = FindColumn(layout, condition.column);
  bound.op = condition.op;
  const ColumnDef& column = layout.columns[bound.column];
  bound.kind = ValueKindOf(column.kind);
  const Literal& literal = condition.literal;
  switch (bound.kind) {
    case CellValue::Kind::Text:
      bound.text = literal.text;
      break;
    case CellValue::Kind::Integer:
    case CellValue::Kind::Double:
      if (literal.kind != LiteralKind::Number && literal.kind != LiteralKind::Text) {
        LiteralMismatch(condition, column, "a number");
      }
      if (!ParseNumber(literal.text, LocaleSettings{}, bound.number) &&
          !ParseNumber(literal.text, column.locale, bound.number)) {
        LiteralMismatch(condition, column, "a number");
      }
      break;
    case CellValue::Kind::Bit:
      if (literal.kind != LiteralKind::Number && literal.kind != LiteralKind::Text) {
        LiteralMismatch(condition, column, "a Bit");
      }
      try {
        bound.number = static_cast<double>(ConvertField(literal.text, ColumnKind::Bit, column.locale).integer);
      } catch (const SqlError&) {
        LiteralMismatch(condition, column, "a Bit");
      }
      break;
    case CellValue::Kind::Date:
    case CellValue::Kind::Time:
    case CellValue::Kind::Timestamp: {
      if (literal.kind == LiteralKind::Number) LiteralMismatch(condition, column, "a date or time");
      const auto literalKind = literal.kind == LiteralKind::Date   ? CellValue::Kind::Date
                               : literal.kind == LiteralKind::Time ? CellValue::Kind::Time
                                                                   : CellValue::Kind::Timestamp;
      if (!ParseIsoDateTime(literal.text, literalKind, bound.when)) {
        if (literal.kind != LiteralKind::Text) LiteralMismatch(condition, column, "a date or time");
        // A plain text is read as the column's own values are.
        try {
          bound.when = ConvertField(literal.text, column.kind, column.locale).when;
        } catch (const SqlError&) {
          LiteralMismatch(condition, column, "a date or time");
        }
      }
      break;
    }
    case CellValue::Kind::Null:
      break;
  }
  return bound;
}

template <typename T>
bool Compare(const T& left, CompareOp op, const T& right) {
  switch (op) {
    case CompareOp::Equal:
      return left == right;
    case CompareOp::NotEqual:
      return left != right;
    case CompareOp::Less:
      return left < right;
    case CompareOp::LessOrEqual:
      return left <= right;
    case CompareOp::Greater:
      return left > right;
    case CompareOp::GreaterOrEqual:
      return left >= right;
  }
  return false;
}

auto DateKey(const DateTime& when) { return std::tie(when.year, when.month, when.day); }
auto TimeKey(const DateTime& when) { return std::tie(when.hour, when.minute, when.second, when.millisecond); }
auto FullKey(const DateTime& when) {
  return std::tie(when.year, when.month, when.day, when.hour, when.minute, when.second, when.millisecond);
}

}  // namespace

std::vector<BoundCondition> BindConditions(const TableLayout& layout, const std::vector<Condition>& conditions) {
  std::vector<BoundCondition> bound;
  bound.reserve(conditions.size());
  for (const Condition& condition : conditions) bound.push_back(Bind(layout, condition));
  return bound;
}

TableCursor::TableCursor(TableLayout layout, std::vector<BoundCondition> conditions)
    : layout_(std::move(layout)), conditions_(std::move(conditions)) {
  try {
    reader_ = std::make_unique<TextRecordReader>(layout_.path, layout_.fixed ? "" : layout_.separator,
                                                 layout_.fixed ? "" : layout_.qualifier);
    if (layout_.headerRow) reader_->SkipRecord();
  } catch (const FileError& error) {
    throw SqlError(state::kGeneralError, error.what());
  }
}

TableCursor::~TableCursor() = default;

bool TableCursor::Next() {
  do {
    try {
      if (!reader_->ReadRecord(line_)) return false;
    } catch (const FileError& error) {
      throw SqlError(state::kGeneralError, error.what());
    }
    ++row_;
    CutLine();
  } while (!MeetsConditions());
  return true;
}

void TableCursor::CutLine() {
  if (layout_.fixed) {
    CutFixedFields(line_, layout_.widths, [](std::size_t width) { return width; }, fixedFields_);
    // Fixed fields are padded with blanks to their width.
    for (std::string_view& field : fixedFields_) field = Trim(field);
    return;
  }
  SplitRecordViews(line_, layout_.separator, layout_.qualifier, fields_, unescaped_, layout_.columns.size());
  StripLeftQualifiers(fields_, line_, layout_.qualifier);
}

std::string_view TableCursor::Field(std::size_t column) const {
  if (layout_.fixed) return column < fixedFields_.size() ? fixedFields_[column] : std::string_view();
  return column < fields_.size() ? fields_[column] : std::string_view();
}

CellValue TableCursor::Value(std::size_t column) const {
  const ColumnDef& def = layout_.columns[column];
  try {
    return ConvertField(Field(column), def.kind, def.locale);
  } catch (const SqlError& error) {
    throw SqlError(error.SqlState(), "Row " + std::to_string(row_) + " (line " + std::to_string(reader_->FirstLine()) +
                                         " of " + layout_.tableName + "), column " + def.name + ": " +
                                         error.what());
  }
}

bool TableCursor::MeetsConditions() const {
  for (const BoundCondition& condition : conditions_) {
    const CellValue value = Value(condition.column);
    bool met = false;
    switch (value.kind) {
      case CellValue::Kind::Null:
        return false;
      case CellValue::Kind::Text:
        met = Compare(value.text, condition.op, std::string_view(condition.text));
        break;
      case CellValue::Kind::Integer:
      case CellValue::Kind::Bit:
        met = Compare(static_cast<double>(value.integer), condition.op, condition.number);
        break;
      case CellValue::Kind::Double:
        met = Compare(value.real, condition.op, condition.number);
        break;
      case CellValue::Kind::Date:
        met = Compare(DateKey(value.when), condition.op, DateKey(condition.when));
        break;
      case CellValue::Kind::Time:
        met = Compare(TimeKey(value.when), condition.op, TimeKey(condition.when));
        break;
      case CellValue::Kind::Timestamp:
        met = Compare(FullKey(value.when), condition.op, FullKey(condition.when));
        break;
    }
    if (!met) return false;
  }
  return true;
}

}  // namespace quorlin::driver

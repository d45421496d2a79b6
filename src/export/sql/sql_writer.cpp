#include "export/sql/sql_writer.h"

#include <algorithm>
#include <cstring>

#include "export/column_names.h"
#include "export/export_choices.h"
#include "export/export_paths.h"
#include "export/pipeline/sink_room.h"
#include "export/sql/sql_keywords.h"
#include "export/typed_values.h"
#include "schema/value_recognisers.h"
#include "text/byte_search.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {


bool IsIdentifierStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentifierChar(char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); }

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

bool IsControlChar(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

// Whether `trimmed` is a sign, digits and at most one decimal separator followed by digits,
// as most numbers are: a number by the locale's rule without an exponent to check, whose
// only separator is its decimal point.
bool IsPlainDecimal(std::string_view trimmed, char decimalSeparator) {
  if (IsDigitChar(decimalSeparator) || decimalSeparator == '+' || decimalSeparator == '-') return false;
  const char* at = trimmed.data();
  const char* const end = at + trimmed.size();
  if (at != end && (*at == '+' || *at == '-')) ++at;
  const char* const digits = at;
  while (at != end && IsDigitChar(*at)) ++at;
  if (at == digits) return false;
  if (at != end && *at == decimalSeparator) {
    const char* const fraction = ++at;
    while (at != end && IsDigitChar(*at)) ++at;
    if (at == fraction) return false;
  }
  return at == end;
}

// Writes `trimmed` at `out` as an SQL number literal with "." as its decimal point (room for
// its size and one more byte); nothing when it is no number by the locale's rule nor by the
// "." rule. A text that is only a point reads as 0.
std::optional<char*> PutNumber(char* out, std::string_view trimmed, const LocaleSettings& locale) {
  const bool byLocale = IsPlainDecimal(trimmed, locale.decimalSeparator) || IsNumeric(trimmed, locale);
  if (!byLocale) {
    if (locale.decimalSeparator == '.') return std::nullopt;
    LocaleSettings pointLocale = locale;
    pointLocale.decimalSeparator = '.';
    if (!IsNumeric(trimmed, pointLocale)) return std::nullopt;
  }
  char* const start = out;
  std::memcpy(out, trimmed.data(), trimmed.size());
  char* const end = out + trimmed.size();
  if (byLocale && locale.decimalSeparator != '.') {
    char* const point = std::find(start, end, locale.decimalSeparator);
    if (point != end) *point = '.';
  }
  // "." or ".e5" hold no digit before or after the point, which SQL does not accept.
  char* const mantissa = start + (trimmed.front() == '+' || trimmed.front() == '-' ? 1 : 0);
  const auto isDigitAt = [end](const char* at) { return at < end && IsDigitChar(*at); };
  if (isDigitAt(mantissa) || isDigitAt(mantissa + 1)) return end;
  std::memmove(mantissa + 1, mantissa, static_cast<std::size_t>(end - mantissa));
  *mantissa = '0';
  return end + 1;
}

// Appends `value` as PutPaddedDecimal writes it, `width` being at most 24.
void AppendPadded(std::string& out, long long value, int width, char pad = '0') {
  char text[24];
  out.append(text, PutPaddedDecimal(text, value, width, pad));
}

// Writes the two digits of `value` (0 to 99) at `at`.
void PutTwoDigits(char* at, int value) {
  at[0] = static_cast<char>('0' + value / 10);
  at[1] = static_cast<char>('0' + value % 10);
}

// The longest date literal: six numbers of up to eleven characters each and nine marks.
constexpr std::size_t kLongestDateLiteral = 6 * 11 + 9;
// The most an item takes beyond twice its value's bytes (a quoted text doubles its quotes):
// a blank, a date literal and the comma after it.
constexpr std::size_t kMostItemMarkup = 1 + kLongestDateLiteral + 1;

// "#MM/dd/yyyy HH:mm:ss#", with "/" and ":" whatever the locale, as SQL tools read them;
// written at `out`, which has room for kLongestDateLiteral bytes. Gives the literal's end.
char* PutDateLiteral(char* out, const DateTime& date) {
  const auto inRange = [](int value, int limit) { return value >= 0 && value < limit; };
  if (inRange(date.year, 10000) && inRange(date.month, 100) && inRange(date.day, 100) &&
      inRange(date.hour, 100) && inRange(date.minute, 100) && inRange(date.second, 100)) {
    // The dates values hold: built in place, as every date of every record comes here.
    char text[] = "#MM/dd/yyyy HH:mm:ss#";
    PutTwoDigits(text + 1, date.month);
    PutTwoDigits(text + 4, date.day);
    PutTwoDigits(text + 7, date.year / 100);
    PutTwoDigits(text + 9, date.year % 100);
    PutTwoDigits(text + 12, date.hour);
    PutTwoDigits(text + 15, date.minute);
    PutTwoDigits(text + 18, date.second);
    std::memcpy(out, text, sizeof text - 1);
    return out + sizeof text - 1;
  }
  // Values out of the usual ranges keep all their digits.
  const struct {
    int value;
    std::size_t width;
    char after;
  } parts[] = {{date.month, 2, '/'}, {date.day, 2, '/'},    {date.year, 4, ' '},
               {date.hour, 2, ':'},  {date.minute, 2, ':'}, {date.second, 2, '#'}};
  std::string literal = "#";
  for (const auto& part : parts) {
    AppendPadded(literal, part.value, part.width);
    literal += part.after;
  }
  std::memcpy(out, literal.data(), literal.size());
  return out + literal.size();
}

// How the script spells what databases spell differently.
struct SqlSpelling {
  bool batches;  // GO lines end the statements, names go in brackets, dates between "#"
  std::string_view lineJoin;  // between the pieces of a text and a line-break character
  std::string_view lineFeed;  // the line-break characters as the database's function gives them
  std::string_view carriageReturn;
  bool rawLineBreaks;  // line breaks stay inside the quotes
  bool typedDateLiterals;  // DATE '...' rather than a quoted text
  std::string_view beginTransaction;
};

SqlSpelling SpellingOf(SqlDialect dialect) {
  switch (dialect) {
    case SqlDialect::Sqlite:
      return {false, " || ", "char(10)", "char(13)", false, false, "BEGIN TRANSACTION;"};
    case SqlDialect::Postgresql:
      return {false, " || ", "chr(10)", "chr(13)", false, true, "BEGIN;"};
    case SqlDialect::Ansi:
      return {false, "", "", "", true, true, "START TRANSACTION;"};
    case SqlDialect::Script:
      break;
  }
  return {true, " + ", "CHAR(10)", "CHAR(13)", false, false, ""};
}

// A database commits its statements in groups of this many, each group one transaction.
constexpr std::int64_t kStatementsPerTransaction = 10000;
// The most bytes a line-break character of a text becomes: the quote, a join, the function,
// a join and the quote again.
constexpr std::size_t kMostLineBreakBytes = 2 + 2 * 4 + 8;

std::string ColumnType(SqlDialect dialect, const ExportField& field) {
  const bool isChar = field.typeCode == ExportFieldType::Char;
  switch (dialect) {
    case SqlDialect::Script:
      return isChar ? "TEXT(" + std::to_string(field.length) + ")" : std::string(TypeName(field.typeCode));
    case SqlDialect::Sqlite:
      switch (field.typeCode) {
        case ExportFieldType::Bit:
        case ExportFieldType::Byte:
        case ExportFieldType::Integer:
        case ExportFieldType::Long:
          return "INTEGER";
        case ExportFieldType::Float:
        case ExportFieldType::Single:
        case ExportFieldType::Double:
          return "REAL";
        case ExportFieldType::Currency:
          return "NUMERIC";
        default:
          // Dates as the ISO texts SQLite's date functions read.
          return "TEXT";
      }
    case SqlDialect::Postgresql:
    case SqlDialect::Ansi:
      break;
  }
  switch (field.typeCode) {
    case ExportFieldType::Bit: return "BOOLEAN";
    case ExportFieldType::Byte: return "SMALLINT";
    case ExportFieldType::Integer: return "INTEGER";
    case ExportFieldType::Long: return "BIGINT";
    case ExportFieldType::Single: return "REAL";
    case ExportFieldType::Float:
    case ExportFieldType::Double: return "DOUBLE PRECISION";
    case ExportFieldType::Currency: return "DECIMAL(19,4)";
    case ExportFieldType::Date: return "DATE";
    case ExportFieldType::Datetime: return "TIMESTAMP";
    case ExportFieldType::Time: return "TIME";
    case ExportFieldType::Char: break;
  }
  // PostgreSQL's own text type has no length to overflow; the standard's needs one.
  if (dialect == SqlDialect::Postgresql) return "TEXT";
  return "CHARACTER VARYING(" + std::to_string(field.length) + ")";
}

// The closing message that names where the rejected values were logged.
std::string RejectedMessage(const std::string& shownLog) {
  return "Errors found whilst creating \"INPUT\" statements\nSee " + shownLog + "\nfor rejected Data (replaced with NULL)";
}

class SqlWriter : public FormatWriter {
 public:
  explicit SqlWriter(const ExportRequest& request)
      : request_(request),
        spelling_(SpellingOf(request.sqlDialect)),
        lineEnd_(request.lineEnd),
        logPath_(BesideOutput(request.outputPath, kSqlLogName)) {
    std::vector<std::string> names;
    for (const ExportField& field : request.fields) names.push_back(field.name);
    for (std::string& name : UniqueColumnNames(names, kLongestSqlName)) columns_.push_back(Name(name));
    table_ = Name(request.title);
    std::string joined;
    for (const std::string& column : columns_) joined += (joined.empty() ? "" : ",") + column;
    if (spelling_.batches) {
      prefix_ = "INSERT INTO " + table_ + " (" + joined + ")" + lineEnd_ + "  VALUES(";
      statementEnd_ = ");" + lineEnd_ + "GO" + lineEnd_;
    } else {
      prefix_ = "INSERT INTO " + table_ + " (" + joined + ") VALUES (";
      statementEnd_ = ");" + lineEnd_;
    }
    const std::string commit = "COMMIT;" + lineEnd_;
    nextTransaction_ = commit + std::string(spelling_.beginTransaction) + lineEnd_;
  }

  HeaderLineUse HeaderUse() const override { return HeaderLineUse::Drop; }
  std::unique_ptr<FormatWriter> RecordTwin() const override { return std::make_unique<SqlWriter>(request_); }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath, logPath_}; }

  std::optional<std::string> Refusal() const override {
    if (Trim(request_.title).empty()) return kNoTitleMessage;
    const auto refusal = [this](std::string_view what, std::string_view name) {
      return spelling_.batches ? SqlNameRefusal(what, name) : QuotedNameRefusal(what, name);
    };
    if (auto refused = refusal("table name", request_.title)) return refused;
    for (const ExportField& field : request_.fields) {
      if (auto refused = refusal("field name", field.name)) return refused;
    }
    return std::nullopt;
  }

  void Open(OutputFiles& files) override {
    out_ = &files.Create(request_.outputPath, FileRole::Output);
    log_ = &files.Create(logPath_, FileRole::Log);
  }

  void Begin(std::optional<std::int64_t>) override {
    std::string head;
    if (!spelling_.batches) head = std::string(spelling_.beginTransaction) + lineEnd_;
    head += "CREATE TABLE " + table_ + lineEnd_ + "(";
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      head += "    " + columns_[i] + " " + ColumnType(request_.sqlDialect, request_.fields[i]) + "," + lineEnd_;
    }
    if (!columns_.empty()) head.resize(head.size() - 1 - lineEnd_.size());
    // ")" and "GO" stand on lines of their own: batch tools see GO only alone on its line.
    head += lineEnd_ + ");" + lineEnd_;
    if (spelling_.batches) head += "GO" + lineEnd_ + lineEnd_ + lineEnd_;
    out_->Write(head);
  }

  void Record(std::int64_t number, const RecordValues& values) override {
    const std::size_t count = std::min(values.size(), request_.fields.size());
    std::size_t valueBytes = 0;
    std::size_t lineBreaks = 0;
    for (std::size_t i = 0; i < count; ++i) {
      valueBytes += values[i].size();
      if (!spelling_.rawLineBreaks) {
        const char* const end = values[i].data() + values[i].size();
        lineBreaks += CountByte(values[i].data(), end, '\n') + CountByte(values[i].data(), end, '\r');
      }
    }
    const bool newTransaction = !spelling_.batches && number > 1 && (number - 1) % kStatementsPerTransaction == 0;
    SinkRoom line(*out_, nextTransaction_.size() + prefix_.size() + 2 * valueBytes +
                             lineBreaks * kMostLineBreakBytes + request_.fields.size() * kMostItemMarkup +
                             statementEnd_.size());
    if (newTransaction) line.Put(nextTransaction_);
    line.Put(prefix_);
    rejected_.clear();
    // Held in locals: the bytes written through the room might otherwise be any member.
    const ExportField* const fields = request_.fields.data();
    const std::size_t fieldCount = request_.fields.size();
    const std::string_view* const items = values.data();
    for (std::size_t i = 0; i < count; ++i) {
      if (!PutItem(line, fields[i].typeCode, items[i], lineBreaks > 0)) rejected_.push_back(i);
      line.Put(',');
    }
    for (std::size_t i = count; i < fieldCount; ++i) line.Put("NULL,");
    // The last item's comma is taken back.
    if (fieldCount > 0) line.MovedTo(line.At() - 1);
    line.Put(statementEnd_);
    line.Commit();
    for (const std::size_t position : rejected_) LogRejected(number, position, values[position]);
  }

  ExportResult Finish() override {
    if (!spelling_.batches) out_->Write("COMMIT;" + lineEnd_);
    // Only a rejected value is logged, by this writer or by its twins.
    if (log_->Size() == 0) return {ExportOutcome::Exported, {}};
    return {ExportOutcome::Failed, {RejectedMessage(ShownLog(logPath_, kSqlLogName, request_.toStandardOutput))}};
  }

 private:
  static constexpr std::size_t kLongestSqlName = 128;

  std::string Name(std::string_view name) const {
    if (spelling_.batches) return SqlName(name);
    std::string quoted = "\"";
    for (const char c : name) {
      quoted += c;
      if (c == '"') quoted += '"';
    }
    return quoted + "\"";
  }

  // Puts the value's item; false when the value was rejected and became NULL.
  bool PutItem(SinkRoom& line, ExportFieldType type, std::string_view value, bool lineBreaks) {
    const std::string_view trimmed = Trim(value);
    if (trimmed.empty()) {
      line.Put(" NULL");
      return true;
    }
    // The dialog's script writes a Datetime value as it writes a number.
    if (type == ExportFieldType::Datetime && spelling_.batches) type = ExportFieldType::Double;
    switch (type) {
      case ExportFieldType::Bit:
        line.Put(IsTrueWord(trimmed) ? std::string_view(" TRUE") : std::string_view(" FALSE"));
        return true;
      case ExportFieldType::Char:
        // No database keeps a NUL in a text, and some tools stop reading the script at one.
        if (FindByte(value.data(), value.data() + value.size(), '\0') != value.data() + value.size()) break;
        PutQuoted(line, value, lineBreaks);
        return true;
      case ExportFieldType::Date:
      case ExportFieldType::Time:
      case ExportFieldType::Datetime:
        if (const std::optional<DateTime> date = ReadDateTime(value, request_.locale)) {
          line.Put(' ');
          if (spelling_.batches) {
            line.MovedTo(PutDateLiteral(line.At(), *date));
          } else {
            PutIsoLiteral(line, type, *date);
          }
          return true;
        }
        break;
      default:
        // A value that is no number would otherwise become SQL of its own when the script runs.
        if (const std::optional<char*> end = PutNumber(line.At() + 1, trimmed, request_.locale)) {
          line.Put(' ');
          line.MovedTo(*end);
          return true;
        }
        break;
    }
    line.Put("NULL");
    return false;
  }

  void PutIsoLiteral(SinkRoom& line, ExportFieldType type, const DateTime& date) {
    const DateParts parts = DatePartsOf(type, date);
    if (spelling_.typedDateLiterals) {
      line.Put(parts == DateParts::Day ? std::string_view("DATE ")
                                       : parts == DateParts::Time ? std::string_view("TIME ")
                                                                  : std::string_view("TIMESTAMP "));
    }
    line.Put('\'');
    line.MovedTo(PutIsoDateTime(line.At(), date, parts));
    line.Put('\'');
  }

  // The value between apostrophes, each doubled. With `lineBreaks` (the record holds a line
  // break that is not to stay raw) each CR and LF is written as the database's character
  // function joined to the pieces around it, so that no line of the script holds anything
  // of a value but its first or last piece: a value can never put a line of its own, such as
  // GO, into the script.
  void PutQuoted(SinkRoom& line, std::string_view value, bool lineBreaks) {
    line.Put(" '");
    const char* from = value.data();
    const char* const end = from + value.size();
    if (!lineBreaks) {
      for (const char* quote; (quote = FindByte(from, end, '\'')) != end; from = quote + 1) {
        line.Put(std::string_view(from, static_cast<std::size_t>(quote + 1 - from)));
        line.Put('\'');
      }
    } else {
      for (const char* at = from; at != end; ++at) {
        const char c = *at;
        if (c != '\'' && c != '\n' && c != '\r') continue;
        line.Put(std::string_view(from, static_cast<std::size_t>(at - from)));
        from = at + 1;
        if (c == '\'') {
          line.Put("''");
          continue;
        }
        line.Put('\'');
        line.Put(spelling_.lineJoin);
        line.Put(c == '\n' ? spelling_.lineFeed : spelling_.carriageReturn);
        line.Put(spelling_.lineJoin);
        line.Put('\'');
      }
    }
    line.Put(std::string_view(from, static_cast<std::size_t>(end - from)));
    line.Put('\'');
  }

  void LogRejected(std::int64_t number, std::size_t position, std::string_view value) {
    logLine_.clear();
    AppendPadded(logLine_, number, 6, ' ');
    logLine_ += " :  Col : ";
    AppendPadded(logLine_, static_cast<long long>(position), 1);
    logLine_ += " (";
    logLine_ += request_.fields[position].name;
    logLine_ += ") : ";
    // A NUL would end the line for most readers of the log.
    for (const char c : value) logLine_ += c == '\0' ? ' ' : c;
    logLine_ += lineEnd_;
    log_->Write(logLine_);
  }

  const ExportRequest& request_;
  SqlSpelling spelling_;
  std::string lineEnd_;
  std::string logPath_;
  ByteSink* out_ = nullptr;
  ByteSink* log_ = nullptr;
  std::string table_;
  std::vector<std::string> columns_;
  std::string prefix_;
  std::vector<std::size_t> rejected_;  // the positions of the record's rejected values
  std::string statementEnd_;
  std::string nextTransaction_;
  std::string logLine_;
};

}  // namespace

std::string SqlName(std::string_view name) {
  bool plain = !name.empty() && IsIdentifierStart(name.front());
  for (const char c : name) plain = plain && IsIdentifierChar(c);
  return plain && !IsSqlKeyword(name) ? std::string(name) : "[" + std::string(name) + "]";
}

std::optional<std::string> SqlNameRefusal(std::string_view what, std::string_view name) {
  for (const char c : name) {
    if (c == ']' || IsControlChar(c)) {
      return "The " + std::string(what) + " \"" + std::string(name) +
             "\" holds \"]\" or a control character and cannot be written into an SQL script";
    }
  }
  return std::nullopt;
}

std::optional<std::string> QuotedNameRefusal(std::string_view what, std::string_view name) {
  for (const char c : name) {
    if (IsControlChar(c)) {
      return "The " + std::string(what) + " \"" + std::string(name) +
             "\" holds a control character and cannot be written into an SQL script";
    }
  }
  return std::nullopt;
}

std::string SqlRejectedMessage(const std::string& logFolder) { return RejectedMessage(logFolder + kSqlLogName); }

std::unique_ptr<FormatWriter> MakeSqlWriter(const ExportRequest& request) {
  return std::make_unique<SqlWriter>(request);
}

}  // namespace quorlin

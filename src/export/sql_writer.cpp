#include "export/sql_writer.h"

#include <algorithm>
#include <cstring>

#include "export/export_choices.h"
#include "export/export_paths.h"
#include "export/sink_room.h"
#include "export/sql_keywords.h"
#include "schema/value_recognisers.h"
#include "text/byte_search.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kStatementEnd = ");\r\nGO\r\n";

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

// Appends `value` in decimal with at least `width` digits, zeros in front.
void AppendPadded(std::string& out, long long value, std::size_t width, char pad = '0') {
  char text[48];
  char* const end = text + sizeof text;
  char* at = end;
  const bool negative = value < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                          : static_cast<unsigned long long>(value);
  do {
    *--at = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) *--at = '-';
  while (static_cast<std::size_t>(end - at) < width && at > text) *--at = pad;
  out.append(at, static_cast<std::size_t>(end - at));
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

class SqlWriter : public FormatWriter {
 public:
  explicit SqlWriter(const ExportRequest& request)
      : request_(request), logPath_(BesideOutput(request.outputPath, kSqlLogName)) {
    std::string names;
    for (const ExportField& field : request.fields) {
      if (!names.empty()) names += ",";
      names += SqlName(field.name);
    }
    prefix_ = "INSERT INTO " + SqlName(request.title) + " (" + names + ")" + std::string(kLineEnd) + "  VALUES(";
  }

  HeaderLineUse HeaderUse() const override { return HeaderLineUse::Drop; }
  std::unique_ptr<FormatWriter> RecordTwin() const override { return std::make_unique<SqlWriter>(request_); }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath, logPath_}; }

  std::optional<std::string> Refusal() const override {
    if (Trim(request_.title).empty()) return kNoTitleMessage;
    if (auto refusal = SqlNameRefusal("table name", request_.title)) return refusal;
    for (const ExportField& field : request_.fields) {
      if (auto refusal = SqlNameRefusal("field name", field.name)) return refusal;
    }
    return std::nullopt;
  }

  void Open(OutputFiles& files) override {
    out_ = &files.Create(request_.outputPath, FileRole::Output);
    log_ = &files.Create(logPath_, FileRole::Log);
  }

  void Begin(std::int64_t) override {
    const std::string table = SqlName(request_.title);
    std::string head = "CREATE TABLE " + table + std::string(kLineEnd) + "(";
    for (const ExportField& field : request_.fields) {
      head += "    " + SqlName(field.name);
      if (field.typeCode == ExportFieldType::Char) {
        head += " TEXT(" + std::to_string(field.length) + ")";
      } else {
        head += " ";
        head += TypeName(field.typeCode);
      }
      head += ",";
      head += kLineEnd;
    }
    if (!request_.fields.empty()) head.resize(head.size() - 1 - kLineEnd.size());
    // ")" and "GO" stand on lines of their own: batch tools see GO only alone on its line.
    head += std::string(kLineEnd) + ");" + std::string(kLineEnd) + "GO" + std::string(kLineEnd) +
            std::string(kLineEnd) + std::string(kLineEnd);
    out_->Write(head);
  }

  void Record(std::int64_t number, const RecordValues& values) override {
    const std::size_t count = std::min(values.size(), request_.fields.size());
    std::size_t valueBytes = 0;
    for (std::size_t i = 0; i < count; ++i) valueBytes += values[i].size();
    SinkRoom line(*out_, prefix_.size() + 2 * valueBytes + request_.fields.size() * kMostItemMarkup +
                             kStatementEnd.size());
    line.Put(prefix_);
    rejected_.clear();
    // Held in locals: the bytes written through the room might otherwise be any member.
    const ExportField* const fields = request_.fields.data();
    const std::size_t fieldCount = request_.fields.size();
    const std::string_view* const items = values.data();
    for (std::size_t i = 0; i < count; ++i) {
      if (!PutItem(line, fields[i].typeCode, items[i])) rejected_.push_back(i);
      line.Put(',');
    }
    for (std::size_t i = count; i < fieldCount; ++i) line.Put("NULL,");
    // The last item's comma is taken back.
    if (fieldCount > 0) line.MovedTo(line.At() - 1);
    line.Put(kStatementEnd);
    line.Commit();
    for (const std::size_t position : rejected_) LogRejected(number, position, values[position]);
  }

  ExportResult Finish() override {
    // Only a rejected value is logged, by this writer or by its twins.
    if (log_->Size() == 0) return {ExportOutcome::Exported, {}};
    return {ExportOutcome::Failed, {SqlRejectedMessage(FolderOf(logPath_))}};
  }

 private:
  // Puts the value's item; false when the value was rejected and became NULL.
  bool PutItem(SinkRoom& line, ExportFieldType type, std::string_view value) {
    const std::string_view trimmed = Trim(value);
    if (trimmed.empty()) {
      line.Put(" NULL");
      return true;
    }
    switch (type) {
      case ExportFieldType::Bit:
        line.Put(IsTrueWord(trimmed) ? std::string_view(" TRUE") : std::string_view(" FALSE"));
        return true;
      case ExportFieldType::Char:
        PutQuoted(line, value);
        return true;
      case ExportFieldType::Date:
      case ExportFieldType::Time:
        if (const std::optional<DateTime> date = ReadDateTime(value, request_.locale)) {
          line.Put(' ');
          line.MovedTo(PutDateLiteral(line.At(), *date));
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

  void PutQuoted(SinkRoom& line, std::string_view value) {
    line.Put(" '");
    const char* const end = value.data() + value.size();
    for (const char* quote; (quote = FindByte(value.data(), end, '\'')) != end;) {
      line.Put(std::string_view(value.data(), static_cast<std::size_t>(quote + 1 - value.data())));
      line.Put('\'');
      value = std::string_view(quote + 1, static_cast<std::size_t>(end - quote - 1));
    }
    line.Put(value);
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
    logLine_ += value;
    logLine_ += kLineEnd;
    log_->Write(logLine_);
  }

  const ExportRequest& request_;
  std::string logPath_;
  ByteSink* out_ = nullptr;
  ByteSink* log_ = nullptr;
  std::string prefix_;
  std::vector<std::size_t> rejected_;  // the positions of the record's rejected values
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

std::string SqlRejectedMessage(const std::string& logFolder) {
  return "Errors found whilst creating \"INPUT\" statements\nSee " + logFolder + kSqlLogName +
         "\nfor rejected Data (replaced with NULL)";
}

std::unique_ptr<FormatWriter> MakeSqlWriter(const ExportRequest& request) {
  return std::make_unique<SqlWriter>(request);
}

}  // namespace quorlin

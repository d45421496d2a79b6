#include "export/sql_writer.h"

#include "export/export_choices.h"
#include "export/export_paths.h"
#include "export/sql_keywords.h"
#include "schema/value_recognisers.h"
#include "text/byte_search.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsIdentifierStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentifierChar(char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); }

bool IsControlChar(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

// Appends `trimmed` as an SQL number literal with "." as its decimal point; false when it is
// no number by the locale's rule nor by the "." rule. A text that is only a point reads as 0.
bool AppendNumber(std::string& out, std::string_view trimmed, const LocaleSettings& locale) {
  const bool byLocale = IsNumeric(trimmed, locale);
  if (!byLocale) {
    if (locale.decimalSeparator == '.') return false;
    LocaleSettings pointLocale = locale;
    pointLocale.decimalSeparator = '.';
    if (!IsNumeric(trimmed, pointLocale)) return false;
  }
  const std::size_t start = out.size();
  out += trimmed;
  if (byLocale && locale.decimalSeparator != '.') {
    const std::size_t point = out.find(locale.decimalSeparator, start);
    if (point != std::string::npos) out[point] = '.';
  }
  // "." or ".e5" hold no digit before or after the point, which SQL does not accept.
  const std::size_t mantissa = start + (trimmed.front() == '+' || trimmed.front() == '-' ? 1 : 0);
  const auto isDigitAt = [&out](std::size_t at) {
    return at < out.size() && out[at] >= '0' && out[at] <= '9';
  };
  if (!isDigitAt(mantissa) && !isDigitAt(mantissa + 1)) out.insert(mantissa, "0");
  return true;
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

// "#MM/dd/yyyy HH:mm:ss#", with "/" and ":" whatever the locale, as SQL tools read them.
void AppendDateLiteral(std::string& out, const DateTime& date) {
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
    out.append(text, sizeof text - 1);
    return;
  }
  out += '#';
  AppendPadded(out, date.month, 2);
  out += '/';
  AppendPadded(out, date.day, 2);
  out += '/';
  AppendPadded(out, date.year, 4);
  out += ' ';
  AppendPadded(out, date.hour, 2);
  out += ':';
  AppendPadded(out, date.minute, 2);
  out += ':';
  AppendPadded(out, date.second, 2);
  out += '#';
}

class SqlWriter : public FormatWriter {
 public:
  explicit SqlWriter(const ExportRequest& request)
      : request_(request), logPath_(BesideOutput(request.outputPath, kSqlLogName)) {}

  HeaderLineUse HeaderUse() const override { return HeaderLineUse::Drop; }
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
    out_ = &files.Create(request_.outputPath);
    log_ = &files.Create(logPath_);
  }

  void Begin(std::int64_t) override {
    const std::string table = SqlName(request_.title);
    std::string head = "CREATE TABLE " + table + std::string(kLineEnd) + "(";
    std::string names;
    for (const ExportField& field : request_.fields) {
      const std::string name = SqlName(field.name);
      head += "    " + name;
      if (field.typeCode == ExportFieldType::Char) {
        head += " TEXT(" + std::to_string(field.length) + ")";
      } else {
        head += " ";
        head += TypeName(field.typeCode);
      }
      head += ",";
      head += kLineEnd;
      if (!names.empty()) names += ",";
      names += name;
    }
    if (!request_.fields.empty()) head.resize(head.size() - 1 - kLineEnd.size());
    // ")" and "GO" stand on lines of their own: batch tools see GO only alone on its line.
    head += std::string(kLineEnd) + ");" + std::string(kLineEnd) + "GO" + std::string(kLineEnd) +
            std::string(kLineEnd) + std::string(kLineEnd);
    out_->Write(head);
    prefix_ = "INSERT INTO " + table + " (" + names + ")" + std::string(kLineEnd) + "  VALUES(";
  }

  void Record(std::int64_t number, const RecordValues& values) override {
    line_.assign(prefix_);
    std::optional<std::size_t> rejected;
    const std::size_t count = std::min(values.size(), request_.fields.size());
    for (std::size_t i = 0; i < count; ++i) {
      if (!AppendItem(request_.fields[i].typeCode, values[i])) rejected = i;
      line_ += ',';
    }
    for (std::size_t i = count; i < request_.fields.size(); ++i) line_ += "NULL,";
    if (line_.back() == ',') line_.pop_back();
    line_ += ");";
    line_ += kLineEnd;
    line_ += "GO";
    line_ += kLineEnd;
    out_->Write(line_);
    if (rejected) LogRejected(number, *rejected, values[*rejected]);
  }

  ExportResult Finish() override {
    if (!anyRejected_) return {ExportOutcome::Exported, {}};
    return {ExportOutcome::Failed, {SqlRejectedMessage(FolderOf(logPath_))}};
  }

 private:
  // Appends the value's item; false when the value was rejected and became NULL.
  bool AppendItem(ExportFieldType type, std::string_view value) {
    const std::string_view trimmed = Trim(value);
    if (trimmed.empty()) {
      line_ += " NULL";
      return true;
    }
    switch (type) {
      case ExportFieldType::Bit:
        line_ += IsTrueWord(trimmed) ? " TRUE" : " FALSE";
        return true;
      case ExportFieldType::Char:
        AppendQuoted(value);
        return true;
      case ExportFieldType::Date:
      case ExportFieldType::Time:
        if (const std::optional<DateTime> date = ReadDateTime(value, request_.locale)) {
          line_ += ' ';
          AppendDateLiteral(line_, *date);
          return true;
        }
        break;
      default:
        // A value that is no number would otherwise become SQL of its own when the script runs.
        line_ += ' ';
        if (AppendNumber(line_, trimmed, request_.locale)) return true;
        line_.pop_back();
        break;
    }
    line_ += "NULL";
    return false;
  }

  void AppendQuoted(std::string_view value) {
    line_ += " '";
    const char* const end = value.data() + value.size();
    for (const char* quote; (quote = FindByte(value.data(), end, '\'')) != end;) {
      line_.append(value.data(), quote + 1);
      line_ += '\'';
      value = std::string_view(quote + 1, static_cast<std::size_t>(end - quote - 1));
    }
    line_ += value;
    line_ += '\'';
  }

  void LogRejected(std::int64_t number, std::size_t position, std::string_view value) {
    anyRejected_ = true;
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
  std::string line_;
  std::string logLine_;
  bool anyRejected_ = false;
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

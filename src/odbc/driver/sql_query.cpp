// Reading a statement token by token only as far as file names and ODBC escapes need it.
#include "odbc/driver/sql_query.h"

#include <vector>

#include "odbc/driver/sqlite_tables.h"
#include "platform/ascii_case.h"

namespace quorlin::driver {

namespace {

bool IsWordByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
         byte >= 0x80;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool StartsName(char c) { return IsWordByte(c) || c == '"' || c == '[' || c == '`'; }

struct NamePart {
  std::string name;      // as SQLite would read it
  std::string_view raw;  // as written
};

class Translator {
 public:
  Translator(std::string_view sql, const NamesTableFile& namesTableFile) : sql_(sql), names_(namesTableFile) {}

  std::string Run() {
    while (at_ < sql_.size()) {
      const char c = sql_[at_];
      if (c == '\'') {
        CopyQuoted();
      } else if (c == '-' && Next(1) == '-') {
        CopyUntil("\n");
      } else if (c == '/' && Next(1) == '*') {
        CopyUntil("*/");
      } else if (c == '{') {
        OpenEscape();
      } else if (c == '}' && !escapes_.empty()) {
        escapes_.pop_back();
        ++at_;
      } else if (StartsName(c) && (at_ == 0 || !IsWordByte(sql_[at_ - 1]))) {
        Name();
      } else {
        out_ += c;
        ++at_;
      }
    }
    return out_;
  }

 private:
  char Next(std::size_t ahead) const { return at_ + ahead < sql_.size() ? sql_[at_ + ahead] : '\0'; }

  std::size_t SkipBlanks(std::size_t from) const {
    while (from < sql_.size() && IsBlank(sql_[from])) ++from;
    return from;
  }

  // The end of the quoted text starting at `from` (past its closing quote), doubled quotes
  // inside; the end of the statement when it is never closed.
  std::size_t QuotedEnd(std::size_t from, char close, bool* closed = nullptr) const {
    std::size_t k = from + 1;
    while (k < sql_.size()) {
      if (sql_[k] == close) {
        if (k + 1 < sql_.size() && sql_[k + 1] == close) {
          k += 2;
          continue;
        }
        if (closed != nullptr) *closed = true;
        return k + 1;
      }
      ++k;
    }
    if (closed != nullptr) *closed = false;
    return sql_.size();
  }

  void CopyQuoted() {
    const std::size_t end = QuotedEnd(at_, '\'');
    out_.append(sql_.substr(at_, end - at_));
    at_ = end;
  }

  void CopyUntil(std::string_view close) {
    const std::size_t found = sql_.find(close, at_ + 2);
    const std::size_t end = found == std::string_view::npos ? sql_.size() : found + close.size();
    out_.append(sql_.substr(at_, end - at_));
    at_ = end;
  }

  std::string_view WordAt(std::size_t from) const {
    std::size_t end = from;
    while (end < sql_.size() && IsWordByte(sql_[end])) ++end;
    return sql_.substr(from, end - from);
  }

  void OpenEscape() {
    const std::size_t wordAt = SkipBlanks(at_ + 1);
    const std::string word = AsciiLower(WordAt(wordAt));
    const std::size_t after = wordAt + word.size();
    if (word == "d" || word == "t" || word == "ts") {
      const std::size_t literal = SkipBlanks(after);
      if (literal < sql_.size() && sql_[literal] == '\'') {
        const std::size_t end = QuotedEnd(literal, '\'');
        const std::size_t close = SkipBlanks(end);
        if (close < sql_.size() && sql_[close] == '}') {
          out_.append(sql_.substr(literal, end - literal));
          at_ = close + 1;
          return;
        }
      }
    } else if (word == "fn" || word == "oj" || word == "escape") {
      if (word == "escape") out_ += "ESCAPE";
      escapes_.push_back(true);
      at_ = after;
      return;
    }
    out_ += '{';
    ++at_;
  }

  // One part of a name at `from`: a word, "quoted", [bracketed] or `quoted`; false when none.
  bool PartAt(std::size_t from, NamePart& part, std::size_t& end) const {
    if (from >= sql_.size()) return false;
    const char c = sql_[from];
    part.name.clear();
    if (c == '"' || c == '`' || c == '[') {
      const char close = c == '[' ? ']' : c;
      bool closed = false;
      end = QuotedEnd(from, close, &closed);
      const std::string_view inner = sql_.substr(from + 1, end - from - (closed ? 2 : 1));
      for (std::size_t k = 0; k < inner.size(); ++k) {
        part.name += inner[k];
        if (inner[k] == close && k + 1 < inner.size() && inner[k + 1] == close) ++k;
      }
    } else if (IsWordByte(c)) {
      part.name = std::string(WordAt(from));
      end = from + part.name.size();
    } else {
      return false;
    }
    part.raw = sql_.substr(from, end - from);
    return true;
  }

  void Name() {
    std::vector<NamePart> parts;
    std::vector<std::size_t> ends;
    std::size_t end = at_;
    NamePart part;
    while (PartAt(parts.empty() ? at_ : end + 1, part, end)) {
      parts.push_back(part);
      ends.push_back(end);
      if (end >= sql_.size() || sql_[end] != '.') break;
    }
    if (parts.size() == 1 && DateWordBeforeText(parts[0])) return;
    // The longest run of leading parts that names a file becomes one name.
    for (std::size_t count = parts.size(); count >= 2; --count) {
      std::string joined = parts[0].name;
      for (std::size_t k = 1; k < count; ++k) joined += "." + parts[k].name;
      if (!names_(joined)) continue;
      out_ += SqlQuoted(joined, '"');
      at_ = ends[count - 1];
      return;
    }
    out_.append(parts[0].raw);
    at_ = ends[0];
  }

  // DATE '2002-01-15' and its like: only the text stays.
  bool DateWordBeforeText(const NamePart& word) {
    if (word.raw.front() == '"' || word.raw.front() == '[' || word.raw.front() == '`') return false;
    const std::string lower = AsciiLower(word.raw);
    if (lower != "date" && lower != "time" && lower != "timestamp") return false;
    const std::size_t literal = SkipBlanks(at_ + word.raw.size());
    if (literal >= sql_.size() || sql_[literal] != '\'') return false;
    at_ = literal;
    CopyQuoted();
    return true;
  }

  std::string_view sql_;
  const NamesTableFile& names_;
  std::size_t at_ = 0;
  std::string out_;
  std::vector<bool> escapes_;
};

}  // namespace

std::string SqliteStatement(std::string_view sql, const NamesTableFile& namesTableFile) {
  return Translator(sql, namesTableFile).Run();
}

}  // namespace quorlin::driver

// A small recursive-descent reader of the SELECT statement the driver runs.
#include "odbc/driver/sql_query.h"

#include <ostream>

#include "odbc/driver/sql_error.h"
#include "platform/ascii_case.h"
#include "text/record_splitter.h"

namespace quorlin::driver {

namespace {

bool IsWordChar(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$' || c == '#' || c == '@' || c == '-' || byte >= 0x80;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the statement straight from its characters: names and literals are told apart by
// where they stand, so "2024.csv" is a table name and "2024.5" a number without a tokenizer
// having to guess.
class Parser {
 public:
  explicit Parser(std::string_view sql) : sql_(sql) {}

  SelectQuery Statement() {
    if (!Keyword("SELECT")) {
      SkipBlanks();
      if (AtEnd()) Fail("a SELECT query");
      throw SqlError(state::kSyntax, "Only SELECT queries are supported, found '" + NextText() +
                                         "': the text driver never writes its files");
    }
    SelectQuery query;
    Keyword("ALL");
    if (!Symbol("*")) {
      do {
        query.columns.push_back(Name("a column name or *"));
      } while (Symbol(","));
    }
    if (!Keyword("FROM")) Fail(query.columns.empty() ? "FROM after *" : "FROM or a comma after the column name");
    query.table = Name("a table name after FROM");
    if (Keyword("WHERE")) {
      do {
        query.conditions.push_back(ConditionClause());
      } while (Keyword("AND"));
    }
    Symbol(";");
    SkipBlanks();
    if (!AtEnd()) Fail(query.conditions.empty() ? "WHERE or the end of the query" : "AND or the end of the query");
    return query;
  }

 private:
  bool AtEnd() const { return pos_ >= sql_.size(); }

  void SkipBlanks() {
    while (!AtEnd() && IsBlankChar(sql_[pos_])) ++pos_;
  }

  bool Keyword(std::string_view word) {
    SkipBlanks();
    if (sql_.size() - pos_ < word.size() || !EqualNoCase(sql_.substr(pos_, word.size()), word)) return false;
    if (pos_ + word.size() < sql_.size() && IsWordChar(sql_[pos_ + word.size()])) return false;
    pos_ += word.size();
    return true;
  }

  bool Symbol(std::string_view symbol) {
    SkipBlanks();
    if (sql_.substr(pos_, symbol.size()) != symbol) return false;
    pos_ += symbol.size();
    return true;
  }

  // What stands at the cursor, for messages: a word, one other character, or the end.
  std::string NextText() const {
    if (AtEnd()) return "the end of the query";
    std::size_t end = pos_;
    while (end < sql_.size() && end - pos_ < 40 && IsWordChar(sql_[end])) ++end;
    if (end == pos_) ++end;
    return std::string(sql_.substr(pos_, end - pos_));
  }

  [[noreturn]] void Fail(const std::string& expected) {
    SkipBlanks();
    const std::string found = AtEnd() ? "the end of the query" : "'" + NextText() + "'";
    throw SqlError(state::kSyntax, "Syntax error at character " + std::to_string(pos_ + 1) +
                                       ": expected " + expected + ", found " + found);
  }

  // Text up to `close`, where a doubled `close` stands for one; the cursor stands after the
  // opening character.
  std::string Quoted(char close, const std::string& what) {
    std::string text;
    const std::size_t opening = pos_;
    for (;;) {
      const std::size_t end = sql_.find(close, pos_);
      if (end == std::string_view::npos) {
        throw SqlError(state::kSyntax, "Syntax error at character " + std::to_string(opening) + ": the " + what +
                                           " that starts there is never closed by " + std::string(1, close));
      }
      text.append(sql_.substr(pos_, end - pos_));
      pos_ = end + 1;
      if (pos_ < sql_.size() && sql_[pos_] == close) {
        text += close;
        ++pos_;
        continue;
      }
      return text;
    }
  }

  std::string NamePart(const std::string& expected) {
    SkipBlanks();
    if (AtEnd()) Fail(expected);
    const char c = sql_[pos_];
    std::string part;
    if (c == '"' || c == '[' || c == '`') {
      ++pos_;
      part = Quoted(c == '[' ? ']' : c, "name");
    } else {
      const std::size_t start = pos_;
      while (!AtEnd() && IsWordChar(sql_[pos_])) ++pos_;
      part = std::string(sql_.substr(start, pos_ - start));
    }
    if (part.empty()) Fail(expected);
    return part;
  }

  std::string Name(const std::string& expected) {
    std::string name = NamePart(expected);
    while (Symbol(".")) name += "." + NamePart("a name after the dot");
    return name;
  }

  Condition ConditionClause() {
    Condition condition;
    condition.column = Name("a column name");
    condition.op = Operator();
    condition.literal = LiteralValue();
    return condition;
  }

  CompareOp Operator() {
    if (Symbol("<>") || Symbol("!=")) return CompareOp::NotEqual;
    if (Symbol("<=")) return CompareOp::LessOrEqual;
    if (Symbol(">=")) return CompareOp::GreaterOrEqual;
    if (Symbol("<")) return CompareOp::Less;
    if (Symbol(">")) return CompareOp::Greater;
    if (Symbol("=")) return CompareOp::Equal;
    Fail("a comparison (=, <>, <, <=, >, >=)");
  }

  std::string StringLiteral(const std::string& expected) {
    if (!Symbol("'")) Fail(expected);
    return Quoted('\'', "text");
  }

  Literal LiteralValue() {
    SkipBlanks();
    if (Symbol("{")) {
      Literal literal;
      if (Keyword("ts")) {
        literal.kind = LiteralKind::Timestamp;
      } else if (Keyword("d")) {
        literal.kind = LiteralKind::Date;
      } else if (Keyword("t")) {
        literal.kind = LiteralKind::Time;
      } else {
        Fail("d, t or ts after {");
      }
      literal.text = StringLiteral("a quoted date or time");
      if (!Symbol("}")) Fail("} after the date or time");
      return literal;
    }
    for (const auto& [word, kind] : {std::pair{"TIMESTAMP", LiteralKind::Timestamp},
                                     std::pair{"DATE", LiteralKind::Date},
                                     std::pair{"TIME", LiteralKind::Time}}) {
      if (Keyword(word)) return {kind, StringLiteral("a quoted value after " + std::string(word))};
    }
    if (!AtEnd() && sql_[pos_] == '\'') return {LiteralKind::Text, StringLiteral("a text")};
    return {LiteralKind::Number, Number()};
  }

  std::string Number() {
    const std::size_t start = pos_;
    if (!AtEnd() && (sql_[pos_] == '+' || sql_[pos_] == '-')) ++pos_;
    std::size_t digits = 0;
    while (!AtEnd() && IsDigit(sql_[pos_])) ++pos_, ++digits;
    if (!AtEnd() && sql_[pos_] == '.') {
      ++pos_;
      while (!AtEnd() && IsDigit(sql_[pos_])) ++pos_, ++digits;
    }
    if (digits == 0) {
      pos_ = start;
      Fail("a number, a quoted text or a date");
    }
    if (!AtEnd() && (sql_[pos_] == 'e' || sql_[pos_] == 'E')) {
      std::size_t at = pos_ + 1;
      if (at < sql_.size() && (sql_[at] == '+' || sql_[at] == '-')) ++at;
      if (at < sql_.size() && IsDigit(sql_[at])) {
        pos_ = at;
        while (!AtEnd() && IsDigit(sql_[pos_])) ++pos_;
      }
    }
    if (!AtEnd() && IsWordChar(sql_[pos_])) {
      pos_ = start;
      Fail("a number, a quoted text or a date");
    }
    return std::string(sql_.substr(start, pos_ - start));
  }

  std::string_view sql_;
  std::size_t pos_ = 0;
};

std::string QuotedName(const std::string& name) {
  std::string text = "\"";
  for (const char c : name) {
    text += c;
    if (c == '"') text += '"';
  }
  return text + "\"";
}

std::string QuotedText(const std::string& value) {
  std::string text = "'";
  for (const char c : value) {
    text += c;
    if (c == '\'') text += '\'';
  }
  return text + "'";
}

std::string FormatLiteral(const Literal& literal) {
  switch (literal.kind) {
    case LiteralKind::Number:
      return literal.text;
    case LiteralKind::Text:
      return QuotedText(literal.text);
    case LiteralKind::Date:
      return "{d " + QuotedText(literal.text) + "}";
    case LiteralKind::Time:
      return "{t " + QuotedText(literal.text) + "}";
    case LiteralKind::Timestamp:
      return "{ts " + QuotedText(literal.text) + "}";
  }
  return {};
}

}  // namespace

SelectQuery ParseSelect(std::string_view sql) { return Parser(sql).Statement(); }

const char* CompareOpText(CompareOp op) {
  switch (op) {
    case CompareOp::Equal:
      return "=";
    case CompareOp::NotEqual:
      return "<>";
    case CompareOp::Less:
      return "<";
    case CompareOp::LessOrEqual:
      return "<=";
    case CompareOp::Greater:
      return ">";
    case CompareOp::GreaterOrEqual:
      return ">=";
  }
  return "?";
}

std::string FormatSelect(const SelectQuery& query) {
  std::string sql = "SELECT ";
  if (query.columns.empty()) sql += "*";
  for (std::size_t i = 0; i < query.columns.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += QuotedName(query.columns[i]);
  }
  sql += " FROM " + QuotedName(query.table);
  for (std::size_t i = 0; i < query.conditions.size(); ++i) {
    const Condition& condition = query.conditions[i];
    sql += i == 0 ? " WHERE " : " AND ";
    sql += QuotedName(condition.column) + " " + CompareOpText(condition.op) + " " +
           FormatLiteral(condition.literal);
  }
  return sql;
}

void PrintTo(const SelectQuery& query, std::ostream* out) { *out << FormatSelect(query); }

}  // namespace quorlin::driver

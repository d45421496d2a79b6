// The one statement the driver runs: SELECT <columns|*> FROM <table> [WHERE <col> <op> <literal> [AND ...]].
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorlin::driver {

enum class CompareOp { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

// Number: as written (sign, digits, fraction, exponent). Text: the characters between the
// quotes, a doubled quote read as one. Date, Time and Timestamp: the text of an escape such as
// {d '2002-01-15'} or of DATE '2002-01-15'.
enum class LiteralKind { Number, Text, Date, Time, Timestamp };

struct Literal {
  LiteralKind kind = LiteralKind::Text;
  std::string text;

  bool operator==(const Literal&) const = default;
};

struct Condition {
  std::string column;
  CompareOp op = CompareOp::Equal;
  Literal literal;

  bool operator==(const Condition&) const = default;
};

struct SelectQuery {
  std::vector<std::string> columns;  // empty for *
  std::string table;                 // the parts of a dotted name joined by "."
  std::vector<Condition> conditions;

  bool operator==(const SelectQuery&) const = default;
};

// Names are bare words, "quoted", [bracketed] or `quoted`, and dotted names ("orders"."csv",
// orders.csv) are one name, as tools that quote each part write a file name. Keywords are
// matched without regard to case and a final ";" is allowed. Raises SqlError (42000) with a
// message that names what was expected and what was found.
SelectQuery ParseSelect(std::string_view sql);

// The query written back as SQL that ParseSelect reads unchanged.
std::string FormatSelect(const SelectQuery& query);

const char* CompareOpText(CompareOp op);

void PrintTo(const SelectQuery& query, std::ostream* out);

}  // namespace quorlin::driver

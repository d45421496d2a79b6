#include "odbc/driver/sql_query.h"

#include <gtest/gtest.h>

#include "odbc/driver/sql_error.h"
#include "support/case_names.h"

namespace quorlin::driver {
namespace {

struct ParseCase {
  const char* sql;
  SelectQuery expected;
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << c.sql; }

class SelectParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(SelectParsing, ReadsTheQuery) {
  const SelectQuery query = ParseSelect(GetParam().sql);
  EXPECT_EQ(GetParam().expected, query);
  EXPECT_EQ(query, ParseSelect(FormatSelect(query)));
}

INSTANTIATE_TEST_SUITE_P(
    Queries, SelectParsing,
    ::testing::Values(
        ParseCase{"SELECT * FROM [orders.csv]", {{}, "orders.csv", {}}},
        ParseCase{"select * from orders.csv;", {{}, "orders.csv", {}}},
        ParseCase{R"(SELECT "a", [b c], `d` FROM "orders"."csv")", {{"a", "b c", "d"}, "orders.csv", {}}},
        ParseCase{"SELECT x FROM 2024.csv WHERE n=2024.5",
                  {{"x"}, "2024.csv", {{"n", CompareOp::Equal, {LiteralKind::Number, "2024.5"}}}}},
        ParseCase{"SELECT * FROM t.txt WHERE a <> 'it''s' AND b >= -1e3 AND c<.5",
                  {{},
                   "t.txt",
                   {{"a", CompareOp::NotEqual, {LiteralKind::Text, "it's"}},
                    {"b", CompareOp::GreaterOrEqual, {LiteralKind::Number, "-1e3"}},
                    {"c", CompareOp::Less, {LiteralKind::Number, ".5"}}}}},
        ParseCase{"SELECT * FROM t WHERE d = {d '2002-01-15'} AND t != {t'10:30:00'} AND s <= TIMESTAMP "
                  "'2002-01-15 10:30:00'",
                  {{},
                   "t",
                   {{"d", CompareOp::Equal, {LiteralKind::Date, "2002-01-15"}},
                    {"t", CompareOp::NotEqual, {LiteralKind::Time, "10:30:00"}},
                    {"s", CompareOp::LessOrEqual, {LiteralKind::Timestamp, "2002-01-15 10:30:00"}}}}},
        ParseCase{"SELECT [a]]b] FROM \"x\"\"y.csv\"", {{"a]b"}, "x\"y.csv", {}}}),
    testing::PrintedCaseName{});

struct ErrorCase {
  const char* sql;
  const char* message;
};

void PrintTo(const ErrorCase& c, std::ostream* out) { *out << c.sql; }

class SelectErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(SelectErrors, AreSyntaxErrorsThatSayWhatWasExpected) {
  try {
    ParseSelect(GetParam().sql);
    FAIL() << "parsed";
  } catch (const SqlError& error) {
    EXPECT_EQ("42000", error.SqlState());
    EXPECT_EQ(GetParam().message, std::string(error.what()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Queries, SelectErrors,
    ::testing::Values(
        ErrorCase{"", "Syntax error at character 1: expected a SELECT query, found the end of the query"},
        ErrorCase{"INSERT INTO t VALUES (1)",
                  "Only SELECT queries are supported, found 'INSERT': the text driver never writes its files"},
        ErrorCase{"select 'test'", "Syntax error at character 8: expected a column name or *, found '''"},
        ErrorCase{"SELECT COUNT(*) FROM t",
                  "Syntax error at character 13: expected FROM or a comma after the column name, found '('"},
        ErrorCase{"SELECT * FROM",
                  "Syntax error at character 14: expected a table name after FROM, found the end of the query"},
        ErrorCase{"SELECT * FROM t WHERE a = ",
                  "Syntax error at character 27: expected a number, a quoted text or a date, found the end of the "
                  "query"},
        ErrorCase{"SELECT * FROM t WHERE a LIKE 'x'",
                  "Syntax error at character 25: expected a comparison (=, <>, <, <=, >, >=), found 'LIKE'"},
        ErrorCase{"SELECT * FROM t WHERE a = 'open",
                  "Syntax error at character 27: the text that starts there is never closed by '"},
        ErrorCase{"SELECT * FROM t ORDER BY a",
                  "Syntax error at character 17: expected WHERE or the end of the query, found 'ORDER'"},
        ErrorCase{"SELECT * FROM t WHERE a = 1 OR b = 2",
                  "Syntax error at character 29: expected AND or the end of the query, found 'OR'"},
        ErrorCase{"SELECT * FROM t WHERE a = 12abc",
                  "Syntax error at character 27: expected a number, a quoted text or a date, found '12abc'"}),
    testing::PrintedCaseName{});

}  // namespace
}  // namespace quorlin::driver

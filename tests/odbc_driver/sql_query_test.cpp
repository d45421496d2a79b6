#include "odbc/driver/sql_query.h"

#include <gtest/gtest.h>

#include "support/case_names.h"

namespace quorlin::driver {
namespace {

struct TranslationCase {
  const char* sql;
  const char* sqlite;
};

void PrintTo(const TranslationCase& c, std::ostream* out) { *out << c.sql; }

class StatementTranslation : public ::testing::TestWithParam<TranslationCase> {};

TEST_P(StatementTranslation, GivesSqliteFileNamesAndPlainLiterals) {
  const auto files = [](const std::string& name) {
    return name == "orders.csv" || name == "2024.csv" || name == "x\"y.csv" || name == "a.b.txt";
  };
  EXPECT_EQ(GetParam().sqlite, SqliteStatement(GetParam().sql, files));
}

INSTANTIATE_TEST_SUITE_P(
    Statements, StatementTranslation,
    ::testing::Values(
        TranslationCase{"SELECT * FROM [orders.csv]", "SELECT * FROM [orders.csv]"},
        TranslationCase{"select * from orders.csv;", "select * from \"orders.csv\";"},
        TranslationCase{R"(SELECT o.a, "orders"."csv".b FROM "orders"."csv" o)",
                        R"(SELECT o.a, "orders.csv".b FROM "orders.csv" o)"},
        TranslationCase{"SELECT x FROM 2024.csv WHERE n=2024.5", "SELECT x FROM \"2024.csv\" WHERE n=2024.5"},
        TranslationCase{"SELECT * FROM `x\"y`.csv, a.b.txt", "SELECT * FROM \"x\"\"y.csv\", \"a.b.txt\""},
        TranslationCase{"SELECT 'orders.csv', \"t\".\"u\" FROM t -- orders.csv\n",
                        "SELECT 'orders.csv', \"t\".\"u\" FROM t -- orders.csv\n"},
        TranslationCase{"SELECT * FROM t WHERE d = {d '2002-01-15'} AND t != {t'10:30:00'} AND s <= TIMESTAMP "
                        "'2002-01-15 10:30:00'",
                        "SELECT * FROM t WHERE d = '2002-01-15' AND t != '10:30:00' AND s <= '2002-01-15 10:30:00'"},
        TranslationCase{"SELECT {fn UCASE(name)} FROM t WHERE name LIKE 'a\\_%' {escape '\\'}",
                        "SELECT  UCASE(name) FROM t WHERE name LIKE 'a\\_%' ESCAPE '\\'"},
        TranslationCase{"SELECT Date, {x} FROM t WHERE 'it''s {d' = Date",
                        "SELECT Date, {x} FROM t WHERE 'it''s {d' = Date"}),
    testing::PrintedCaseName{});

}  // namespace
}  // namespace quorlin::driver

// Qt's ODBC driver, as the window's "Open Table" uses it, sends whole SQL to the text driver and
// gets what sqlite3 gives on the same rows in a real table.
#include <gtest/gtest.h>

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlField>
#include <QSqlRecord>
#include <QVariant>

#include "support/odbc_sandbox.h"
#include "support/sql_reference.h"
#include "support/test_files.h"

namespace quorlin::testing {
namespace {

// Qt hands the values of a BIT column (ODBC type -7) over as the texts "0" and "1".
nlohmann::json CellOf(const QVariant& value, int odbcType) {
  if (value.isNull()) return nullptr;
  if (odbcType == -7) return value.toLongLong();
  switch (value.metaType().id()) {
    case QMetaType::Double:
      return value.toDouble();
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UChar:
    case QMetaType::Bool:
      return value.toLongLong();
    case QMetaType::QDate:
      return value.toDate().toString(Qt::ISODate).toStdString();
    default:
      return value.toString().toStdString();
  }
}

TEST(SqlThroughQt, SortsGroupsFiltersAndJoinsAsSqlite3Does) {
  TempDir data;
  OdbcSandbox sandbox;
  ASSERT_TRUE(WriteSqlFolder(data.Path(), data.File("reference.db")));
  sandbox.AddTextDataSource("Sales", data.Path());
  {
    QSqlDatabase database = QSqlDatabase::addDatabase("QODBC", "sql-statements");
    database.setDatabaseName("Sales");
    ASSERT_TRUE(database.open()) << database.lastError().text().toStdString();
    for (const char* sql :
         {"SELECT Customer, COUNT(*), SUM(Amount), AVG(Amount), MIN(Placed), MAX(Amount) FROM [orders.csv] "
          "GROUP BY Customer ORDER BY Customer",
          "SELECT OrderNo, Placed, Paid FROM [orders.csv] WHERE Customer LIKE 'M%' OR Amount BETWEEN 5 AND 20 "
          "ORDER BY Paid DESC, Placed, OrderNo LIMIT 20 OFFSET 3",
          "SELECT DISTINCT c.City, o.Paid FROM [orders.csv] o JOIN [customers.txt] c ON c.Name = o.Customer "
          "WHERE o.Placed IS NOT NULL AND c.Name IN ('Lee', 'Ng', 'Smith') ORDER BY 1, 2"}) {
      QSqlQuery query(database);
      query.setForwardOnly(true);
      ASSERT_TRUE(query.exec(sql)) << sql << ": " << query.lastError().text().toStdString();
      nlohmann::json rows = nlohmann::json::array();
      while (query.next()) {
        nlohmann::json& row = rows.emplace_back(nlohmann::json::array());
        for (int k = 0; k < query.record().count(); ++k) row.push_back(CellOf(query.value(k), query.record().field(k).typeID()));
      }
      const nlohmann::json expected = ReferenceRows(data.File("reference.db"), sql);
      ASSERT_FALSE(expected.empty()) << sql;
      EXPECT_TRUE(SameRows(expected, rows)) << sql << "\nsqlite3: " << expected << "\nQt: " << rows;
    }
  }
  QSqlDatabase::removeDatabase("sql-statements");
}

}  // namespace
}  // namespace quorlin::testing

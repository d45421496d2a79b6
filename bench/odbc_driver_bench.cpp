// Throughput of the text driver's fetch loop: SQLFetch and SQLGetData through the driver manager.
#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

// A scratch folder with a typed CSV of about `megabytes`, the text driver registered beside it,
// for the whole run. unixODBC reads ODBCSYSINI once per process, so there is one of it.
class FetchData {
 public:
  static const FetchData& Get() {
    static const FetchData data;
    return data;
  }

  std::string folder;
  std::uintmax_t bytes = 0;

 private:
  FetchData() {
    char pattern[] = "/tmp/quorlin-odbc-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("no scratch folder");
    folder = std::string(pattern) + "/";
    std::ofstream(folder + "odbcinst.ini") << "[Microsoft Text Driver (*.txt; *.csv)]\nDriver="
                                           << QUORLIN_ODBC_TEXT_DRIVER << "\n";
    setenv("ODBCSYSINI", folder.c_str(), 1);
    setenv("ODBCINI", (folder + "user-odbc.ini").c_str(), 1);
    std::ofstream(folder + "Schema.INI", std::ios::binary)
        << "[typed.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=OrderNo Integer\r\n"
           "Col2=Customer Char WIDTH 30\r\nCol3=Amount Double\r\nCol4=Placed Date\r\nCol5=Note Char WIDTH 60\r\n";
    std::ofstream csv(folder + "typed.csv", std::ios::binary);
    csv << "OrderNo,Customer,Amount,Placed,Note\r\n";
    std::uint64_t state = 42;
    for (long long row = 1; csv.tellp() < 32'000'000; ++row) {
      state = state * 6364136223846793005ULL + 1442695040888963407ULL;
      const auto random = static_cast<unsigned>(state >> 33);
      csv << row << ",\"Customer " << random % 1000 << "\"," << random % 100000 << "." << random % 100 << ','
          << 1 + random % 12 << '/' << 1 + random % 28 << '/' << 1990 + random % 35 << ",Note "
          << std::string(random % 40, 'n') << "\r\n";
    }
    csv.close();
    std::filesystem::copy_file(folder + "typed.csv", folder + "plain.csv");
    bytes = std::filesystem::file_size(folder + "typed.csv");
  }
};

void FetchAll(benchmark::State& state, const char* table) {
  const FetchData& data = FetchData::Get();
  SQLHENV environment = SQL_NULL_HENV;
  SQLHDBC connection = SQL_NULL_HDBC;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
  SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection);
  std::string connect = "DRIVER={Microsoft Text Driver (*.txt; *.csv)};DefaultDir=" + data.folder;
  if (!SQL_SUCCEEDED(SQLDriverConnect(connection, nullptr, reinterpret_cast<SQLCHAR*>(connect.data()), SQL_NTS,
                                      nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT))) {
    state.SkipWithError("cannot connect to the text driver");
    return;
  }
  std::string sql = std::string("SELECT * FROM ") + table;
  long long rows = 0;
  for (auto _ : state) {
    SQLHSTMT statement = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement);
    SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS);
    SQLSMALLINT columns = 0;
    SQLNumResultCols(statement, &columns);
    char value[4096];
    SQLLEN indicator = 0;
    while (SQLFetch(statement) == SQL_SUCCESS) {
      for (SQLUSMALLINT k = 1; k <= columns; ++k) {
        SQLGetData(statement, k, SQL_C_CHAR, value, sizeof value, &indicator);
      }
      ++rows;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(data.bytes) * state.iterations());
  state.counters["rows/s"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
  SQLDisconnect(connection);
  SQLFreeHandle(SQL_HANDLE_DBC, connection);
  SQLFreeHandle(SQL_HANDLE_ENV, environment);
}

// Integer, text, double, date and text columns, every value converted to its type and back.
void BM_FetchTypedCsv(benchmark::State& state) { FetchAll(state, "[typed.csv]"); }
BENCHMARK(BM_FetchTypedCsv)->Unit(benchmark::kMillisecond);

// The same file without a section: text columns named by the header line.
void BM_FetchPlainCsv(benchmark::State& state) { FetchAll(state, "[plain.csv]"); }
BENCHMARK(BM_FetchPlainCsv)->Unit(benchmark::kMillisecond);

}  // namespace

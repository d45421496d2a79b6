// SQL through the text driver on the 2-million-record file, against Debian's SQLite ODBC driver
// reading the same rows from a real SQLite table, in the same run. Each measurement runs in a
// child process of its own, for its own peak memory:
//   SELECT * read by a C fetch loop (SQLFetch, then SQLGetData of every column into a buffer);
//   SELECT city, COUNT(*), SUM(amount) ... GROUP BY city.
#include <sql.h>
#include <sqlext.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string kFolder = "/tmp/quorlin-odbc-sql-bench/";
constexpr long kRows = 2'000'000;

// The same rows as the generated file, typed, in the table "data" of data.db.
constexpr const char* kImport = R"py(
import csv, sqlite3, sys
database = sqlite3.connect(sys.argv[2])
database.execute("CREATE TABLE data (id INTEGER, name VARCHAR(40), city VARCHAR(20), amount DOUBLE, "
                 "qty INTEGER, date DATE, flag BIT, note VARCHAR(40))")
def rows():
    with open(sys.argv[1], newline="", encoding="ascii") as source:
        reader = csv.reader(source)
        next(reader)
        for id, name, city, amount, qty, date, flag, note in reader:
            day, month, year = date.split("/")
            yield (int(id), name or None, city or None, float(amount), int(qty), year + "-" + month + "-" + day,
                   1 if flag == "yes" else 0, note or None)
database.executemany("INSERT INTO data VALUES (?, ?, ?, ?, ?, ?, ?, ?)", rows())
database.commit()
)py";

void Prepare() {
  fs::create_directories(kFolder);
  const std::string csv = kFolder + "data.csv";
  if (!fs::exists(csv)) {
    std::printf("generating %ld records ...\n", kRows);
    // The program's splitter does not read a doubled quote inside quotes as one quote, as the
    // generator writes a nickname: those become single quotes, so both sides read the same rows.
    const std::string command = std::string("/usr/bin/python3 ") + QUORLIN_GEN_CSV + " " + std::to_string(kRows) +
                                " " + csv + ".generated && sed \"s/\\\"\\\"/'/g\" " + csv + ".generated > " + csv +
                                ".partial && rm " + csv + ".generated";
    if (std::system(command.c_str()) != 0) std::exit(2);
    fs::rename(csv + ".partial", csv);
  }
  if (!fs::exists(kFolder + "data.db")) {
    std::printf("importing them into a real SQLite table ...\n");
    std::ofstream(kFolder + "import.py") << kImport;
    const std::string command =
        "/usr/bin/python3 " + kFolder + "import.py " + csv + " " + kFolder + "data.db.partial";
    fs::remove(kFolder + "data.db.partial");
    if (std::system(command.c_str()) != 0) std::exit(2);
    fs::rename(kFolder + "data.db.partial", kFolder + "data.db");
  }
  std::ofstream(kFolder + "Schema.INI", std::ios::binary | std::ios::trunc)
      << "[data.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=id Integer\r\nCol2=name Char WIDTH 40\r\n"
         "Col3=city Char WIDTH 20\r\nCol4=amount Double\r\nCol5=qty Integer\r\nCol6=date Date FMT dd/MM/yyyy\r\n"
         "Col7=flag Bit\r\nCol8=note Char WIDTH 40\r\n";
  std::ofstream(kFolder + "odbcinst.ini", std::ios::trunc)
      << "[Microsoft Text Driver (*.txt; *.csv)]\nDriver=" << QUORLIN_ODBC_TEXT_DRIVER
      << "\n\n[SQLite3]\nDriver=libsqlite3odbc.so\n";
  setenv("ODBCSYSINI", kFolder.c_str(), 1);
  setenv("ODBCINI", (kFolder + "user-odbc.ini").c_str(), 1);
}

// Runs the statement and reads every value as text; gives the rows read.
long FetchLoop(const std::string& connect, const std::string& sql) {
  SQLHENV environment = SQL_NULL_HENV;
  SQLHDBC connection = SQL_NULL_HDBC;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
  SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection);
  std::string text = connect;
  if (!SQL_SUCCEEDED(SQLDriverConnect(connection, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr,
                                      0, nullptr, SQL_DRIVER_NOPROMPT))) {
    return -1;
  }
  SQLHSTMT statement = SQL_NULL_HSTMT;
  SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement);
  std::string query = sql;
  if (!SQL_SUCCEEDED(SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(query.data()), SQL_NTS))) return -1;
  SQLSMALLINT columns = 0;
  SQLNumResultCols(statement, &columns);
  char value[4096];
  SQLLEN indicator = 0;
  long rows = 0;
  while (SQLFetch(statement) == SQL_SUCCESS) {
    for (SQLUSMALLINT k = 1; k <= columns; ++k) SQLGetData(statement, k, SQL_C_CHAR, value, sizeof value, &indicator);
    ++rows;
  }
  SQLFreeHandle(SQL_HANDLE_STMT, statement);
  SQLDisconnect(connection);
  SQLFreeHandle(SQL_HANDLE_DBC, connection);
  SQLFreeHandle(SQL_HANDLE_ENV, environment);
  return rows;
}

struct Run {
  double seconds = 0;
  double cpuSeconds = 0;  // user and system: what the run costs on a busy machine too
  long rows = 0;
  long peakKilobytes = 0;
};

Run Measure(const std::string& connect, const std::string& sql) {
  int channel[2];
  if (pipe(channel) != 0) std::exit(2);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const long rows = FetchLoop(connect, sql);
    if (write(channel[1], &rows, sizeof rows) != sizeof rows) _exit(3);
    _exit(rows < 0 ? 1 : 0);
  }
  int status = 0;
  struct rusage usage {};
  wait4(child, &status, 0, &usage);
  Run run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (read(channel[0], &run.rows, sizeof run.rows) != sizeof run.rows) run.rows = -1;
  close(channel[0]);
  close(channel[1]);
  run.peakKilobytes = usage.ru_maxrss;
  run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return run;
}

void Print(const char* name, const Run& run) {
  std::printf("%-44s %8.2f s %8.2f s CPU %9ld rows %8.1f MB peak\n", name, run.seconds, run.cpuSeconds, run.rows,
              run.peakKilobytes / 1024.0);
}

}  // namespace

int main() {
  Prepare();
  const std::string text = "DRIVER={Microsoft Text Driver (*.txt; *.csv)};DefaultDir=" + kFolder;
  const std::string lite = "DRIVER={SQLite3};Database=" + kFolder + "data.db";
  const std::string group = " GROUP BY city ORDER BY city";
  const Run ours = Measure(text, "SELECT * FROM [data.csv]");
  const Run theirs = Measure(lite, "SELECT * FROM data");
  const Run grouped = Measure(text, "SELECT city, COUNT(*), SUM(amount) FROM [data.csv]" + group);
  const Run theirsGrouped = Measure(lite, "SELECT city, COUNT(*), SUM(amount) FROM data" + group);
  Print("text driver, SELECT * of data.csv", ours);
  Print("SQLite ODBC driver, SELECT * of table data", theirs);
  Print("text driver, GROUP BY city of data.csv", grouped);
  Print("SQLite ODBC driver, GROUP BY city of data", theirsGrouped);
  std::printf("SELECT * through the text driver is %.1f times as fast as through SQLite's driver (%.1f in CPU time)\n",
              theirs.seconds / ours.seconds, theirs.cpuSeconds / ours.cpuSeconds);
  return ours.rows == kRows && theirs.rows == kRows && grouped.rows > 0 ? 0 : 1;
}

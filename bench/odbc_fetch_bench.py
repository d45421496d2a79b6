#!/usr/bin/python3
"""Fetch speed of the text driver: pyodbc reads a generated CSV through it in batches, and the
same rows through Debian's SQLite ODBC driver in the same run; isql streams the whole file.

Usage: odbc_fetch_bench.py --driver build/src/odbc/libquorlin-odbc-text.so [--megabytes 200]
"""

import argparse
import os
import random
import resource
import sqlite3
import subprocess
import sys
import tempfile
import time

SECTION = """[orders.csv]\r
ColNameHeader=True\r
Format=CSVDelimited\r
MaxScanRows=25\r
CharacterSet=OEM\r
Col1=OrderNo Integer\r
Col2=Customer Char WIDTH 30\r
Col3=Amount Double\r
Col4=Placed Date\r
Col5=Note Char WIDTH 60\r
"""

CUSTOMERS = ["Smith", "Jones", "Meyer & Sons, Ltd.", "Blue Harbor Imports", "Koch", "Northwind Traders"]


def write_data(folder, megabytes):
    """The CSV, its Schema.INI section, and the same rows in an SQLite table."""
    rng = random.Random(7)
    path = os.path.join(folder, "orders.csv")
    rows = []
    database = sqlite3.connect(os.path.join(folder, "orders.db"))
    database.execute("CREATE TABLE orders (OrderNo INTEGER, Customer VARCHAR(30), Amount DOUBLE, "
                     "Placed DATE, Note VARCHAR(60))")
    size = 0
    number = 0
    with open(path, "w", newline="") as out:
        out.write("OrderNo,Customer,Amount,Placed,Note\r\n")
        while size < megabytes * 1_000_000:
            number += 1
            row = (number, rng.choice(CUSTOMERS), round(rng.random() * 10000, 2),
                   (rng.randint(1990, 2024), rng.randint(1, 12), rng.randint(1, 28)),
                   "note " * rng.randint(1, 12))
            line = '%d,"%s",%.2f,%02d/%02d/%04d,%s\r\n' % (row[0], row[1], row[2], row[3][1], row[3][2],
                                                          row[3][0], row[4])
            out.write(line)
            size += len(line)
            rows.append((row[0], row[1], row[2], "%04d-%02d-%02d" % row[3], row[4]))
            if len(rows) == 50000:
                database.executemany("INSERT INTO orders VALUES (?, ?, ?, ?, ?)", rows)
                rows = []
    database.executemany("INSERT INTO orders VALUES (?, ?, ?, ?, ?)", rows)
    database.commit()
    database.close()
    with open(os.path.join(folder, "Schema.INI"), "w", newline="") as schema:
        schema.write(SECTION)
    return path, number


def write_configuration(folder, data, driver):
    with open(os.path.join(folder, "odbcinst.ini"), "w") as drivers:
        drivers.write("[Microsoft Text Driver (*.txt; *.csv)]\nDriver=%s\nSetup=%s\n\n"
                      "[SQLite3]\nDriver=libsqlite3odbc.so\n" % (driver, driver))
    with open(os.path.join(folder, "odbc.ini"), "w") as sources:
        sources.write("[Text]\nDriver=Microsoft Text Driver (*.txt; *.csv)\nDefaultDir=%s\n\n"
                      "[Lite]\nDriver=SQLite3\nDatabase=%s\n" % (data, os.path.join(data, "orders.db")))


def resident_kib():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * resource.getpagesize() // 1024


def fetch(pyodbc, source, table, batch):
    connection = pyodbc.connect("DSN=" + source)
    cursor = connection.cursor()
    before = resident_kib()
    peak = before
    start = time.perf_counter()
    cursor.execute("SELECT * FROM " + table)
    rows = 0
    while True:
        got = cursor.fetchmany(batch)
        if not got:
            break
        rows += len(got)
        peak = max(peak, resident_kib())
    seconds = time.perf_counter() - start
    connection.close()
    return rows, seconds, peak - before


def isql_peak(source, table):
    """Streams every row through isql and gives its time and its peak memory."""
    start = time.perf_counter()
    timed = subprocess.run(["/usr/bin/time", "-f", "%M", "isql", "-b", source],
                           input="SELECT * FROM %s\n" % table, capture_output=True, text=True, check=True)
    seconds = time.perf_counter() - start
    return seconds, int(timed.stderr.strip().splitlines()[-1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--megabytes", type=int, default=200)
    parser.add_argument("--batch", type=int, default=10000)
    arguments = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="quorlin-odbc-bench-") as scratch:
        data = os.path.join(scratch, "data")
        configuration = os.path.join(scratch, "odbc")
        os.makedirs(data)
        os.makedirs(configuration)
        # unixODBC reads these once per process: before pyodbc loads it.
        os.environ["ODBCSYSINI"] = configuration
        os.environ["ODBCINI"] = os.path.join(configuration, "user-odbc.ini")
        write_configuration(configuration, data, os.path.abspath(arguments.driver))
        print("generating %d MB of CSV and the same rows in SQLite ..." % arguments.megabytes, flush=True)
        path, count = write_data(data, arguments.megabytes)
        megabytes = os.path.getsize(path) / 1e6
        import pyodbc
        print("%.1f MB, %d rows, pyodbc fetchmany(%d)" % (megabytes, count, arguments.batch))
        print("%-28s %9s %10s %10s %12s" % ("", "seconds", "rows/s", "MB/s", "memory +KiB"))
        for name, source, table in (("text driver (orders.csv)", "Text", "[orders.csv]"),
                                    ("SQLite ODBC (orders table)", "Lite", "orders")):
            rows, seconds, grown = fetch(pyodbc, source, table, arguments.batch)
            if rows != count:
                sys.exit("%s fetched %d rows of %d" % (name, rows, count))
            print("%-28s %9.2f %10.0f %10.1f %12d" % (name, seconds, rows / seconds, megabytes / seconds, grown))
        seconds, peak = isql_peak("Text", "[orders.csv]")
        print("isql streams orders.csv in %.2f s with a peak of %d KiB" % (seconds, peak))


if __name__ == "__main__":
    main()

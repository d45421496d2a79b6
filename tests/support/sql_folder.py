# Writes a data folder with Python's csv module and the same rows, typed, into a real SQLite
# table of the same name, so that any statement can be run on both and the results compared.
#   sql_folder.py FOLDER REFERENCE_DB
import csv
import datetime
import random
import sqlite3
import sys

folder, reference = sys.argv[1], sys.argv[2]
rng = random.Random(22)
names = ["Smith", "Jones, A", "Lee", "O'Brien", "M\u00fcller", "Brown", "", "Ng"]

orders = []
for number in range(1, 401):
    customer = rng.choice(names) or None
    amount = None if rng.random() < 0.05 else float("%.2f" % rng.uniform(-50, 500))
    placed = None if rng.random() < 0.05 else datetime.date(1995 + rng.randrange(30), 1 + rng.randrange(12),
                                                            1 + rng.randrange(28))
    paid = rng.choice([1, 0, None])
    orders.append((number, customer, amount, placed.isoformat() if placed else None, paid))

with open(folder + "/orders.csv", "w", newline="", encoding="utf-8") as out:
    writer = csv.writer(out)
    writer.writerow(["OrderNo", "Customer", "Amount", "Placed", "Paid"])
    for number, customer, amount, placed, paid in orders:
        writer.writerow([number, customer or "", "" if amount is None else "%.2f" % amount, placed or "",
                         "" if paid is None else ("Yes" if paid else "No")])

customers = [(name, rng.choice(["Paris", "Rome", "Oslo"]), rng.randrange(1, 6)) for name in names if name]
with open(folder + "/customers.txt", "w", newline="", encoding="utf-8") as out:
    writer = csv.writer(out, delimiter="\t")
    writer.writerow(["Name", "City", "Rating"])
    writer.writerows(customers)

with open(folder + "/Schema.INI", "w", newline="") as out:
    out.write("[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=OrderNo Integer\r\n"
              "Col2=Customer Char Width 30\r\nCol3=Amount Double\r\nCol4=Placed Date\r\nCol5=Paid Bit\r\n"
              "[customers.txt]\r\nColNameHeader=True\r\nFormat=TabDelimited\r\nCol1=Name Char Width 20\r\n"
              "Col2=City Char Width 20\r\nCol3=Rating Short\r\n")

database = sqlite3.connect(reference)
database.execute('CREATE TABLE "orders.csv" (OrderNo INTEGER, Customer VARCHAR(30), Amount DOUBLE, Placed DATE, '
                 'Paid BIT)')
database.executemany('INSERT INTO "orders.csv" VALUES (?, ?, ?, ?, ?)', orders)
database.execute('CREATE TABLE "customers.txt" (Name VARCHAR(20), City VARCHAR(20), Rating SMALLINT)')
database.executemany('INSERT INTO "customers.txt" VALUES (?, ?, ?)', customers)
database.commit()

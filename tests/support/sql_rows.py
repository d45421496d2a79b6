# Prints the rows a statement gives through pyodbc as one JSON array of arrays: dates and times
# in ISO form, bits as 0 or 1, NULL as null.
#   sql_rows.py DSN STATEMENT
import datetime
import decimal
import json
import sys

import pyodbc


def plain(value):
    if isinstance(value, bool):
        return int(value)
    if isinstance(value, datetime.datetime):
        return value.isoformat(sep=" ")
    if isinstance(value, (datetime.date, datetime.time)):
        return value.isoformat()
    if isinstance(value, decimal.Decimal):
        return float(value)
    return value


connection = pyodbc.connect("DSN=" + sys.argv[1])
cursor = connection.cursor()
cursor.execute(sys.argv[2])
print(json.dumps([[plain(value) for value in row] for row in cursor.fetchall()]))
connection.close()

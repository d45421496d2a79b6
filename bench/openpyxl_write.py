"""The peer of the xlsx export: openpyxl's write-only workbook from the same CSV, values typed
as the export types them (whole numbers, amounts, day-first dates, yes/no flags, text)."""
import csv
import datetime
import sys

import openpyxl


def typed(row):
    day, month, year = row[5].split("/")
    return [int(row[0]), row[1], row[2], float(row[3]), int(row[4]),
            datetime.datetime(int(year), int(month), int(day)), row[6] == "yes", row[7]]


def main():
    source, target = sys.argv[1], sys.argv[2]
    workbook = openpyxl.Workbook(write_only=True)
    sheet = workbook.create_sheet()
    with open(source, newline="", encoding="utf-8") as rows:
        reader = csv.reader(rows)
        sheet.append(next(reader))
        for row in reader:
            sheet.append(typed(row))
    workbook.save(target)


if __name__ == "__main__":
    main()

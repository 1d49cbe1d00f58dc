#!/usr/bin/env python3
"""Writes a schema 2.0 CSV file whose check reports about RECORDS x 5 problems.

Each account report of the shipped sample is repeated with its own DocRefId and
five broken columns (country codes, date, currency). Used to measure the tool's
HTML report at the 100,000-problem limit:

    python3 bench/many_problems_csv.py 25000 /tmp/many.csv
"""
import csv
import io
import pathlib
import sys

SAMPLE = pathlib.Path(__file__).resolve().parent.parent / "samples" / "crs-sample-2.0.csv"


def main():
    records, target = int(sys.argv[1]), sys.argv[2]
    rows = list(csv.reader(io.StringIO(SAMPLE.read_bytes().decode("cp932"), newline="")))
    header, account = rows[0], rows[1]
    out = io.StringIO(newline="")
    writer = csv.writer(out, lineterminator="\r\n")
    writer.writerow(header)
    for number in range(1, records + 1):
        row = list(account)
        row[2] = "%sAC%07d" % (header[4], number)
        row[4] = "ACC-%07d" % number
        for column, value in ((9, "ZZ"), (11, "Z1"), (90, "ZZ"), (105, "1980-02-30"), (149, "XXX")):
            row[column] = value
        writer.writerow(row)
    pathlib.Path(target).write_bytes(out.getvalue().encode("cp932"))


if __name__ == "__main__":
    main()

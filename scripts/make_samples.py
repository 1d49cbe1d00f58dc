#!/usr/bin/env python3
"""Writes the sample CSV files of samples/ (Shift_JIS, CR LF).

crs-sample-2.0.csv   a valid schema 2.0 file: individual and organisation
                     accounts, controlling persons and payments
crs-mistakes-2.0.csv the same data with typical mistakes
"""
import csv
import io
import pathlib

MESSAGE_REF_ID = "JP2023JPCN" + "8000000000001" + "001"


def record(kind, width, values):
    """A record of `width` columns; values maps 1-based column -> text."""
    row = [""] * width
    row[0] = str(kind)
    for column, text in values.items():
        row[column - 1] = text
    return row


def header():
    return record(1, 45, {
        2: "2.0", 4: "Compliance Dept. +81-3-0000-0000", 5: MESSAGE_REF_ID,
        6: "CRS701", 7: "2023-12-31", 8: "8000000000001", 9: "JP",
        23: "Sample Trust Bank Ltd.", 33: "1-1 Marunouchi, Chiyoda-ku, Tokyo", 34: "OECD304",
        43: "OECD1", 44: MESSAGE_REF_ID + "FI0000001",
    })


def account(number, values):
    base = {2: "OECD1", 3: MESSAGE_REF_ID + "AC%07d" % number, 5: "ACC-%06d" % number,
            6: "OECD605", 7: "false", 8: "false", 9: "false", 150: "JPY"}
    base.update(values)
    return record(2, 150, base)


def individual_account():
    return account(1, {
        10: "US", 11: "123-45-6789", 12: "US",
        23: "John", 24: "Given", 29: "Smith", 34: "OECD202",
        36: "Dr.", 37: "Johnny", 43: "Smith",
        91: "US", 92: "100 Main Street, Springfield, IL 62701", 93: "OECD302",
        94: "JP", 95: "2-2 Shiba, Minato-ku, Tokyo",
        106: "1980-04-15", 149: "1500000",
    })


def organisation_account():
    return account(2, {
        107: "SG/HK", 108: "201912345K", 109: "SG", 110: "UEN",
        123: "Example Holdings & Co. Pte. Ltd.", 133: "SG",
        134: "1 Raffles Place, Singapore 048616", 135: "OECD304",
        148: "CRS101", 149: "25000.50", 150: "USD",
    })


def closed_account():
    return account(3, {
        6: "OECD601", 5: "GB82WEST12345698765432", 8: "true",
        10: "GB", 23: "Alice", 29: "O'Brien",
        91: "GB", 92: "10 Downing Street, London", 149: "0",
    })


def controlling_person(first, last, birth, kind):
    return record(3, 100, {
        2: MESSAGE_REF_ID + "AC0000002", 3: "US", 4: "987-65-4321", 5: "US",
        16: first, 22: last, 84: "US", 85: "200 Oak Avenue, Boston, MA 02110",
        99: birth, 100: kind,
    })


def payment(number, kind, amount):
    return record(4, 5, {2: MESSAGE_REF_ID + "AC%07d" % number, 3: kind, 4: amount, 5: "JPY"})


def valid_rows():
    return [header(), individual_account(), organisation_account(), closed_account(),
            controlling_person("Mary", "Jones", "1975-09-30", "CRS801"),
            controlling_person("Peter", "Jones", "1972-01-31", "CRS801"),
            payment(1, "CRS502", "350"), payment(3, "CRS501", "1200.00")]


def mistaken_rows():
    rows = valid_rows()
    rows[1][149 - 1] = ""                 # balance missing
    rows[1][23 - 1] = "太郎"              # Japanese text where Latin text is required
    rows[2][133 - 1] = "ZZ"               # no such country
    rows[3][149 - 1] = "10"               # closed account with a balance
    rows[4][99 - 1] = "1975-02-30"        # no such date
    rows[7][4 - 1] = "1,200"              # amount with a thousands separator
    return rows


def write(path, rows):
    text = io.StringIO()
    csv.writer(text, lineterminator="\r\n").writerows(rows)
    path.write_bytes(text.getvalue().encode("cp932"))


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "samples"
    write(folder / "crs-sample-2.0.csv", valid_rows())
    write(folder / "crs-mistakes-2.0.csv", mistaken_rows())


if __name__ == "__main__":
    main()

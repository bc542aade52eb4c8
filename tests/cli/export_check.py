#!/usr/bin/env python3
"""Reads an orvano-cli export with a real parser and prints what it found.

csv: one line per row, fields joined by '|'.
ics: one line per event: UID|DTSTART|SUMMARY|DESCRIPTION|alarm triggers,
after checking the line ends and the folding of the raw bytes.
Exits 1 with a message on anything malformed.
"""
import csv
import io
import sys


def check_csv(data):
    rows = list(csv.reader(io.StringIO(data.decode("utf-8"), newline=""), strict=True))
    for row in rows:
        print("|".join(row))


def check_ics(data):
    import icalendar

    if not data.endswith(b"\r\n"):
        sys.exit("no CRLF at the end")
    for number, line in enumerate(data[:-2].split(b"\r\n"), 1):
        if b"\n" in line or b"\r" in line:
            sys.exit("line %d: a bare line end" % number)
        if len(line) > 75:
            sys.exit("line %d: %d octets" % (number, len(line)))
        line.decode("utf-8")  # folding never splits a character
    calendar = icalendar.Calendar.from_ical(data)
    for event in calendar.walk("VEVENT"):
        alarms = [str(a.decoded("TRIGGER")) for a in event.walk("VALARM")]
        print("|".join([str(event["UID"]), event.decoded("DTSTART").isoformat(),
                        str(event["SUMMARY"]), str(event["DESCRIPTION"]).replace("\n", "\\n"),
                        ",".join(alarms)]))


def main():
    kind, path = sys.argv[1], sys.argv[2]
    with open(path, "rb") as f:
        data = f.read()
    {"csv": check_csv, "ics": check_ics}[kind](data)


main()

#!/usr/bin/env python3
"""Writes dates.csv: reference results of the date functions that step
through the calendar, computed once by Python's datetime module on random
dates across leap years and month ends. Run it by hand after changing the
cases; the tests read only the CSV it writes.

EDATE and EOMONTH move by months, the day limited to the target month;
WORKDAY and NETWORKDAYS step one day at a time over Saturdays, Sundays and
holidays, a holiday marking its month and day in every year; WEEKDAY numbers
Sunday 1 .. Saturday 7. Dates stay within 1..9999, the years datetime
knows.

Rows of the CSV: formula, type (text, number or error), value.
"""

import csv
import datetime
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "dates.csv")
SEED = 20261207
ONE_DAY = datetime.timedelta(days=1)

rng = random.Random(SEED)
rows = []
# Years where the leap rules differ: every fourth, not centuries, but every
# fourth century.
YEARS = [1, 4, 100, 1600, 1700, 1899, 1900, 1999, 2000, 2001, 2004, 2023, 2024, 2100, 2400, 9998]


def last_day(year, month):
    if month == 12:
        return 31
    return (datetime.date(year, month + 1, 1) - ONE_DAY).day


def random_date():
    year = rng.choice(YEARS) if rng.random() < 0.6 else rng.randint(1, 9998)
    month = rng.randint(1, 12)
    end = last_day(year, month)
    day = rng.choice([end, end - 1, 28, 1, rng.randint(1, end)])
    return datetime.date(year, month, min(day, end))


def iso(d):
    return "%04d-%02d-%02d" % (d.year, d.month, d.day)


def add_months(d, n):
    year, month = divmod(d.month - 1 + n, 12)
    year += d.year
    month += 1
    if not 1 <= year <= 9999:
        return None
    return datetime.date(year, month, min(d.day, last_day(year, month)))


def is_workday(d, holidays):
    return d.weekday() < 5 and (d.month, d.day) not in holidays


def holiday_list():
    days = [random_date() for _ in range(rng.randint(0, 4))]
    marked = {(d.month, d.day) for d in days}
    if not days:
        return "", marked
    return "{%s}" % ",".join('"%s"' % iso(d) for d in days), marked


def add(formula, kind, value):
    rows.append([formula, kind, value])


for _ in range(60):
    d = random_date()
    n = rng.choice([1, -1, 12, -12, rng.randint(-40, 40), rng.randint(-2400, 2400)])
    moved = add_months(d, n)
    if moved:
        add('=EDATE("%s",%d)' % (iso(d), n), "text", iso(moved))
        end = add_months(d.replace(day=1), n)
        add('=EOMONTH("%s",%d)' % (iso(d), n), "text", iso(end.replace(day=last_day(end.year, end.month))))
for _ in range(20):
    d = random_date()
    t = "T%02d:%02d:%02d" % (rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59))
    n = rng.randint(-30, 30)
    moved = add_months(d, n)
    if moved:
        add('=EDATE("%s%s",%d)' % (iso(d), t, n), "text", iso(moved) + t)

for _ in range(60):
    d = random_date()
    if d.year > 9990 or d.year < 2:
        continue
    n = rng.choice([0, 1, -1, 5, -5, rng.randint(-60, 60), rng.randint(-800, 800)])
    holidays, marked = holiday_list()
    day, counted = d, 0
    while counted < abs(n):
        day += ONE_DAY if n > 0 else -ONE_DAY
        if is_workday(day, marked):
            counted += 1
    add('=WORKDAY("%s",%d,%s)' % (iso(d), n, holidays), "text", iso(day))

for _ in range(60):
    first = random_date()
    if first.year > 9990:
        continue
    last = first + datetime.timedelta(days=rng.choice([0, 1, 6, 7, rng.randint(-10, 60), rng.randint(0, 1500)]))
    holidays, marked = holiday_list()
    count, day = 0, first
    while day <= last:
        count += is_workday(day, marked)
        day += ONE_DAY
    add('=NETWORKDAYS("%s","%s",%s)' % (iso(first), iso(last), holidays), "number", str(count))

for _ in range(30):
    d = random_date()
    add('=WEEKDAY("%s",)' % iso(d), "number", str(d.isoweekday() % 7 + 1))
    add('=DAY("%s")+MONTH("%s")*100' % (iso(d), iso(d)), "number", str(d.day + d.month * 100))

for _ in range(20):
    a = datetime.datetime(rng.choice(YEARS[4:]), rng.randint(1, 12), rng.randint(1, 28),
                          rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59))
    b = a + datetime.timedelta(seconds=rng.randint(-10**9, 10**9))
    if not 1 <= b.year <= 9999:
        continue
    seconds = int((b - a).total_seconds())
    sign, seconds = ("-" if seconds < 0 else ""), abs(seconds)
    days, rest = divmod(seconds, 86400)
    hours, rest = divmod(rest, 3600)
    minutes, secs = divmod(rest, 60)
    text = sign + "P" + ("%dD" % days if days else "")
    if hours or minutes or secs:
        text += "T" + ("%dH" % hours if hours else "") + ("%dM" % minutes if minutes else "") + \
            ("%dS" % secs if secs else "")
    add('=DATEDIFF("%s","%s")' % (a.isoformat(), b.isoformat()), "text", text)

with open(OUTPUT, "w", newline="", encoding="utf-8") as f:
    csv.writer(f, lineterminator="\n").writerows(rows)

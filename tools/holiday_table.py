#!/usr/bin/env python3
"""Writes the public-holiday table of the calendar engine.

The State Council's holiday schedules (each official day off and each
make-up workday, with the festival it belongs to) come from the npm package
chinese-days by Yawei Sun, MIT licence, https://github.com/vsme/chinese-days,
version PACKAGE_VERSION below, file dist/chinese-days.json, mended where it
misses a day its State Council notice names (CORRECTIONS) and with the
festivals named as the notices name them (NOTICE_NAMES). This script turns
that into

  calendar/holiday_table.h          the constexpr table that holidays.cpp reads
  tests/calendar/holiday_dates.txt  every marked date, one per line, which a
                                    native test compares with the table
  tools/demo-site/holidays.txt      the same schedule as a holiday file (the
                                    format the program fetches), which the
                                    demo site publishes

Both are committed; neither the build nor the tests need npm. Rerunning the
script with the same package version rewrites both files byte for byte.

  tools/holiday_table.py                  fetches the package with `npm pack`
  tools/holiday_table.py PACKAGE          an unpacked package folder or its .tgz
  tools/holiday_table.py --check [PACKAGE]  only compares, exit status 1 on a difference

To add a year once its schedule is published: raise PACKAGE_VERSION to a
release of chinese-days that carries it, rerun the script, build and run
calendar_tests, and commit the three files. The year range follows the data.
A year the package does not carry yet reaches installed programs as a
signed holiday file instead (kelvo-publish holidays, see the README).
"""

import json
import os
import subprocess
import sys
import tarfile
import tempfile
from datetime import date, timedelta

PACKAGE = "chinese-days"
PACKAGE_VERSION = "1.5.7"
DATA_PATH = "package/dist/chinese-days.json"

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TABLE_FILE = os.path.join(ROOT, "calendar", "holiday_table.h")
DATES_FILE = os.path.join(ROOT, "tests", "calendar", "holiday_dates.txt")

DAY_OFF, WORKDAY = 0, 1
MARK_TEXT = {DAY_OFF: "休", WORKDAY: "班"}
MAX_RUN = 15  # four bits of run length
MAX_FESTIVALS = 16  # four bits of festival index
DEMO_FILE = os.path.join(ROOT, "tools", "demo-site", "holidays.txt")
DEMO_SERIAL = 2026120701

# The notices call these festivals by their full names.
NOTICE_NAMES = {"清明": "清明节", "端午": "端午节", "中秋": "中秋节"}

# Days the package misses, each named by its year's State Council notice.
CORRECTIONS = {
    # 国务院办公厅关于2006年部分节假日安排的通知: "1月1日至3日放假，共3天。
    # 12月31日（星期六）上班".
    date(2005, 12, 31): (WORKDAY, "元旦"),
    # 国务院办公厅关于2011年部分节假日安排的通知: "端午节：6月4日至6日放假
    # 公休，共3天".
    date(2011, 6, 5): (DAY_OFF, "端午节"),
    # 国务院办公厅关于2012年部分节假日安排的通知: "端午节：6月22日至24日放假
    # 公休，共3天".
    date(2012, 6, 23): (DAY_OFF, "端午节"),
    # 国务院关于中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日调休放假的
    # 通知: "2015年9月3日至5日调休放假，共3天".
    date(2015, 9, 5): (DAY_OFF, "中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日"),
}

# A holiday file's names hold at most 16 characters.
FILE_NAMES = {"中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日": "抗战胜利70周年纪念日"}


def load_package(source):
    """The package's JSON data, from a folder, a .tgz, or npm."""
    if source and os.path.isdir(source):
        with open(os.path.join(source, "dist", "chinese-days.json"), encoding="utf-8") as f:
            return json.load(f)
    with tempfile.TemporaryDirectory() as work:
        if not source:
            subprocess.run(["npm", "pack", "--silent", f"{PACKAGE}@{PACKAGE_VERSION}"],
                           cwd=work, check=True, stdout=subprocess.DEVNULL)
            source = os.path.join(work, f"{PACKAGE}-{PACKAGE_VERSION}.tgz")
        with tarfile.open(source) as archive:
            meta = json.load(archive.extractfile("package/package.json"))
            if meta["version"] != PACKAGE_VERSION:
                sys.exit(f"holiday_table: {source} is version {meta['version']}, "
                         f"expected {PACKAGE_VERSION}")
            return json.load(archive.extractfile(DATA_PATH))


def marked_days(data):
    """{date: (mark, festival)} for every day off and make-up workday."""
    days = {}
    for key, mark in (("holidays", DAY_OFF), ("workdays", WORKDAY)):
        for text, value in data[key].items():
            day = date.fromisoformat(text)
            if day in days:
                sys.exit(f"holiday_table: {text} is both a day off and a workday")
            # "English name,中文名,days": the Chinese name is the second field.
            name = value.split(",")[1]
            days[day] = (mark, NOTICE_NAMES.get(name, name))
    for day, correction in CORRECTIONS.items():
        if days.get(day, correction) != correction:
            sys.exit(f"holiday_table: the package now marks {day} otherwise; recheck CORRECTIONS")
        days[day] = correction
    return days


def festival_order(days):
    """Festival names in the order they first appear."""
    names = []
    for day in sorted(days):
        if days[day][1] not in names:
            names.append(days[day][1])
    if len(names) > MAX_FESTIVALS:
        sys.exit("holiday_table: more festivals than four bits hold")
    return names


def runs_of_year(days, year, names):
    """Packed runs of consecutive days with the same mark and festival."""
    runs = []
    for day in sorted(d for d in days if d.year == year):
        mark, festival = days[day]
        last = runs[-1] if runs else None
        if (last and last["mark"] == mark and last["festival"] == festival
                and last["first"] + timedelta(days=last["length"]) == day
                and last["length"] < MAX_RUN):
            last["length"] += 1
        else:
            runs.append({"first": day, "length": 1, "mark": mark, "festival": festival})
    packed = []
    for run in runs:
        day_of_year = (run["first"] - date(year, 1, 1)).days
        packed.append(day_of_year | run["length"] << 9 | names.index(run["festival"]) << 13
                      | run["mark"] << 17)
    return packed


def table_text(days):
    years = sorted({d.year for d in days})
    first, last = years[0], years[-1]
    names = festival_order(days)
    per_year = [runs_of_year(days, year, names) for year in range(first, last + 1)]
    width = max(len(runs) for runs in per_year)
    lines = [
        f"// Generated by tools/holiday_table.py from {PACKAGE} {PACKAGE_VERSION}",
        "// (MIT licence, https://github.com/vsme/chinese-days), with the days the",
        "// script's CORRECTIONS mend. Do not edit: rerun the script to add a year.",
        "#pragma once",
        "#include <array>",
        "#include <cstdint>",
        "#include <string_view>",
        "",
        "namespace kelvo::holiday_table {",
        "",
        "// clang-format off",
        f"inline constexpr int16_t FirstYear = {first};",
        f"inline constexpr int16_t LastYear = {last};",
        "",
        "// The festivals that days off and make-up workdays belong to.",
        f"inline constexpr std::array<std::string_view, {len(names)}> FestivalNames = {{",
    ]
    lines += [f'    "{name}",' for name in names]
    lines += [
        "};",
        "",
        "// One row per year from FirstYear, each a list of runs of consecutive days",
        "// with the same mark and festival, in date order, padded with zeros:",
        "//   bits 0-8   day of the year of the run's first day (0 = January 1)",
        "//   bits 9-12  number of days, 1 to 15 (0: an unused slot)",
        "//   bits 13-16 festival, index into FestivalNames",
        "//   bit 17     set for make-up workdays, clear for days off",
        f"inline constexpr std::array<std::array<uint32_t, {width}>, {len(per_year)}> YearRuns = {{{{",
    ]
    for year, runs in zip(range(first, last + 1), per_year):
        cells = [f"0x{run:05X}" for run in runs] + ["0"] * (width - len(runs))
        rows = [", ".join(cells[start:start + 8]) for start in range(0, width, 8)]
        lines.append(f"    // {year}")
        lines.append("    {{" + ",\n      ".join(rows) + "}},")
    lines += ["}};", "// clang-format on", "", "}  // namespace kelvo::holiday_table", ""]
    return "\n".join(lines)


def dates_text(days):
    lines = [f"# Every marked date of {PACKAGE} {PACKAGE_VERSION} with its corrections, "
             "written by tools/holiday_table.py: date, mark, festival"]
    for day in sorted(days):
        mark, festival = days[day]
        lines.append(f"{day.isoformat()}\t{MARK_TEXT[mark]}\t{festival}")
    return "\n".join(lines) + "\n"


def demo_file_text(days):
    years = sorted({d.year for d in days})
    lines = ["KELVO-HOLIDAYS 1", f"SERIAL {DEMO_SERIAL}"]
    lines += [f"YEAR {year}" for year in range(years[0], years[-1] + 1)]
    for day in sorted(days):
        mark, festival = days[day]
        lines.append(f"{day.isoformat()} {MARK_TEXT[mark]} {FILE_NAMES.get(festival, festival)}")
    return "\n".join(lines) + "\n"


def main(args):
    check = "--check" in args
    rest = [a for a in args if a != "--check"]
    if len(rest) > 1 or any(a.startswith("-") for a in rest):
        sys.exit(__doc__)
    days = marked_days(load_package(rest[0] if rest else None))
    outputs = {TABLE_FILE: table_text(days), DATES_FILE: dates_text(days),
               DEMO_FILE: demo_file_text(days)}
    differs = False
    for path, text in outputs.items():
        current = open(path, encoding="utf-8").read() if os.path.exists(path) else None
        if check:
            if current != text:
                print(f"holiday_table: {os.path.relpath(path, ROOT)} differs", file=sys.stderr)
                differs = True
        elif current != text:
            with open(path, "w", encoding="utf-8", newline="\n") as f:
                f.write(text)
    return 1 if differs else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

#!/usr/bin/env python3
"""Times a full recalculation of the mixed workbook (bench/mixed_workbook_bench:
lookups into a 10,000-row table, text, date and IF functions, deep chains and
whole-column criteria) by this program and by Gnumeric (ssconvert, package
gnumeric) and LibreOffice (soffice, package libreoffice-calc-nogui) on the same
Excel 2003 XML files, and prints nanoseconds per formula and the ratios ours /
theirs. Those programs are installed only to run this script.

Gnumeric calculates a workbook as it loads it; ssconvert's --recalc
recalculates every cell once more, so its recalculation is its time with
--recalc less its time without. LibreOffice is timed converting the file to
its own format with every formula recalculated on load, less the same
conversion of a copy whose formulas are replaced by their values (load and
save alone). Times are processor times (user and system) of the children, the
best of REPEATS runs (TALVERO_PEER_REPEATS, default 5), the two commands of
each pair run by turns. Build the benchmark first:
cmake --build --preset native --target mixed_workbook_bench.

Usage: bench/mixed_vs_peers.py [ROWS ...]   (default 10000 50000 100000)
"""

import json
import os
import re
import resource
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BINARY = os.path.join(ROOT, "build", "native", "bench", "mixed_workbook_bench")
REPEATS = int(os.environ.get("TALVERO_PEER_REPEATS", "5"))
# Formulas per order row, and the summary's.
ORDER_FORMULAS = 6
SUMMARY_FORMULAS = 60


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def best_cpu_pair(first, second):
    """The best processor times of two commands, run by turns so that a
    machine's drift weighs on both alike."""
    best = [float("inf"), float("inf")]
    for _ in range(REPEATS):
        for i, command in enumerate((first, second)):
            before = children_cpu()
            subprocess.run(command, check=True, capture_output=True)
            best[i] = min(best[i], children_cpu() - before)
    return best


def gnumeric_seconds(path, folder):
    out = os.path.join(folder, "copy.gnumeric")
    plain, again = best_cpu_pair(["ssconvert", "-T", "Gnumeric_XmlIO:sax:0", path, out],
                                 ["ssconvert", "--recalc", "-T", "Gnumeric_XmlIO:sax:0", path, out])
    return again - plain, plain


def values_only(path, out):
    """The file with each formula attribute dropped: its cached values stay."""
    with open(path, encoding="latin-1") as source:
        text = source.read()
    with open(out, "w", encoding="latin-1") as target:
        target.write(re.sub(r' ss:Formula="[^"]*"', "", text))


def libreoffice_seconds(path, folder):
    profile = "file://" + os.path.join(folder, "lo_profile")
    # Recalculation on load, always, for files of this kind.
    command = ["soffice", "-env:UserInstallation=" + profile, "--headless", "--convert-to", "ods", "--outdir",
               os.path.join(folder, "lo_out")]
    plain_path = os.path.join(folder, "values.xml")
    values_only(path, plain_path)
    with_formulas, plain = best_cpu_pair(command + [path], command + [plain_path])
    return with_formulas - plain, plain


def main():
    rows = [int(arg) for arg in sys.argv[1:]] or [10000, 50000, 100000]
    if not os.path.exists(BINARY):
        sys.exit("build the benchmark first: cmake --build --preset native --target mixed_workbook_bench")
    folder = tempfile.mkdtemp(prefix="mixed_bench_")
    try:
        env = dict(os.environ, TALVERO_MIXED_SAVE_DIR=folder)
        pattern = "/(" + "|".join(map(str, rows)) + ")/"
        result = subprocess.run([BINARY, "--benchmark_format=json", "--benchmark_filter=" + pattern], env=env,
                                cwd=folder, check=True, capture_output=True, text=True)
        have_gnumeric = shutil.which("ssconvert") is not None
        have_libreoffice = shutil.which("soffice") is not None
        for entry in json.loads(result.stdout)["benchmarks"]:
            size = int(entry["name"].split("/")[1])
            formulas = size * ORDER_FORMULAS + SUMMARY_FORMULAS
            mine = entry["recalc_ns_per_formula"]
            line = "%8d rows: ours %7.0f ns/formula, peak %5.0f MB" % (size, mine, entry["peak_rss_mb"])
            path = os.path.join(folder, "mixed_%d.xml" % size)
            for name, have, timing in (("Gnumeric", have_gnumeric, gnumeric_seconds),
                                       ("LibreOffice", have_libreoffice, libreoffice_seconds)):
                if not have:
                    continue
                seconds, load = timing(path, folder)
                theirs = seconds * 1e9 / formulas
                if theirs > 0:
                    line += "; %s %7.0f ns/formula, ratio %.3f" % (name, theirs, mine / theirs)
                else:
                    # The recalculation took less than its load's spread.
                    line += "; %s below the spread of its %.2f s load" % (name, load)
            print(line, flush=True)
        if not have_gnumeric:
            print("ssconvert not found (apt-get install gnumeric): no Gnumeric figures")
        if not have_libreoffice:
            print("soffice not found (apt-get install libreoffice-calc-nogui): no LibreOffice figures")
    finally:
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()

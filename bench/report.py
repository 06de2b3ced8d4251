#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
"""Prints the benchmark results in a folder as ratios against their floors and targets.

    report.py FOLDER

FOLDER holds core.json, load.json and follow.json (Google Benchmark's JSON output with every
repetition), follow-latency.json, follow-idle.json, follow-log-memory.json and
follow-history-memory.json (stallark-bench-follow --latency, --idle, --log-memory and
--history-memory) and startup-<platform>.json (the output of stallark-startup-bench, with its two floors). Every
ratio is the median over repetitions (benchmarks) or over program/floor pairs (start-up); the
spread shown is the middle half of them. Exits 1 when a benchmark reported an error or a file is missing, else 0,
whether or not the targets are met.

dump.json, the output of stallark-dump-bench, holds the times of stallark-dump (also with
--score) and of cat over many files; their ratios are those of each round's pair.
"""

import json
import pathlib
import statistics
import sys


def quartiles(values):
    if len(values) < 2:
        return values[0], values[0], values[0]
    q1, median, q3 = statistics.quantiles(values, n=4, method="inclusive")
    return q1, median, q3


class Report:
    def __init__(self):
        self.lines = []
        self.met = 0
        self.missed = 0

    def row(self, what, work, floor, ratios, target=None):
        q1, median, q3 = quartiles(ratios)
        if target is None:
            verdict = ""
            target_text = ""
        else:
            ok = median <= target
            self.met += ok
            self.missed += not ok
            verdict = "PASS" if ok else "MISS"
            target_text = f"<= {target:g}x"
        self.lines.append(
            f"{what:<50} {work:>12} {floor:>12} {median:>8.3f}x "
            f"[{q1:.3f}-{q3:.3f}] {target_text:>8} {verdict}")

    def limit(self, what, values, shown, limit, floor_text=""):
        """A measure against a fixed limit rather than a floor: its median, the middle half of
        its values and PASS when the median is at most the limit."""
        q1, median, q3 = quartiles(values)
        ok = median <= limit
        self.met += ok
        self.missed += not ok
        self.lines.append(
            f"{what:<50} {shown(median):>12} {floor_text:>12} {'':>9} "
            f"[{shown(q1)}-{shown(q3)}] {'<= ' + shown(limit):>8} {'PASS' if ok else 'MISS'}")

    def note(self, text):
        self.lines.append(text)

    def print(self):
        print(f"{'measure':<50} {'this':>12} {'floor':>12} {'ratio':>9} "
              f"{'[middle half]':>13} {'target':>8}")
        for line in self.lines:
            print(line)
        print(f"\n{self.met} of {self.met + self.missed} targets met")


def duration(ns):
    if ns >= 1e6:
        return f"{ns / 1e6:.2f} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.2f} us"
    return f"{ns:.1f} ns"


def repetitions(path):
    """The repetitions of each benchmark in a Google Benchmark JSON file, by name."""
    runs = {}
    for bench in json.loads(path.read_text())["benchmarks"]:
        if bench.get("error_occurred"):
            raise SystemExit(f"{path.name}: {bench['name']}: {bench.get('error_message')}")
        if bench.get("run_type") == "iteration":
            runs.setdefault(bench["run_name"].replace("/manual_time", ""), []).append(bench)
    return runs


def paired(report, runs, name, what, target=None):
    reps = runs[name]
    work = statistics.median(r["work_ns"] for r in reps)
    floor = statistics.median(r["floor_ns"] for r in reps)
    report.row(what, duration(work), duration(floor), [r["ratio"] for r in reps], target)


def alone(report, runs, name, what):
    """A paired measure whose floor is too small to divide by: its own time only."""
    work = statistics.median(r["work_ns"] for r in runs[name])
    report.note(f"{what:<50} {duration(work):>12}")


# The start-up targets against each floor, by the floor's program name: wall time, CPU time and
# peak memory (None: shown, no target). Against the ASCII floor the viewer also pays for its
# Japanese font; against the Japanese one, which shows the same captions in the same font,
# only its own work is left.
STARTUP_FLOORS = {
    "MinimalQtStartup": ("", 1.05, 1.05, None),
    "MinimalQtStartupJapanese": (", Japanese floor", 1.02, 1.02, 1.02),
}


def milliseconds(value):
    return f"{value:.1f} ms"


def mebibytes(kib):
    return f"{kib / 1024:.1f} MiB"


def startup(report, path, platform):
    data = json.loads(path.read_text())
    program = data["program"]
    for name, floor in data["floors"].items():
        label, wall_target, cpu_target, memory_target = STARTUP_FLOORS[name]
        where = f"({platform}{label})"
        for key, what, target, show in (
                ("wall_ms", "start-up, wall", wall_target, milliseconds),
                ("cpu_ms", "start-up, CPU time", cpu_target, milliseconds),
                ("peak_rss_kb", "start-up, peak memory", memory_target, mebibytes)):
            ratios = [p / f for p, f in zip(program[key], floor[key])]
            report.row(f"{what} {where}", show(statistics.median(program[key])),
                       show(statistics.median(floor[key])), ratios, target)


def dump_files(report, path):
    """stallark-dump --fields over the most files against cat of the same files, each round's
    pair a ratio; then its CPU time for every number of files, with what each file added on
    from the number before (the same all along when the time grows linearly). The growth takes
    the least time of each number's runs: on a shared machine some runs of the same work take
    half as long again as the others, which would swamp what ten files add."""
    data = json.loads(path.read_text())
    counts = sorted(data, key=int)
    most = data[counts[-1]]
    for key, what, target in (
            ("cpu_ms", f"stallark-dump --fields, {int(counts[-1]):,} files (floor: cat)", 0.5),
            ("wall_ms", "  the same in wall time", None)):
        dump, cat = most["dump"][key], most["cat"][key]
        report.row(what,
                   milliseconds(statistics.median(dump)), milliseconds(statistics.median(cat)),
                   [d / c for d, c in zip(dump, cat)], target)
    scored = most["dump_score"]["cpu_ms"]
    report.row("  with --score, 12 terms (floor: cat)", milliseconds(statistics.median(scored)),
               milliseconds(statistics.median(most["cat"]["cpu_ms"])),
               [d / c for d, c in zip(scored, most["cat"]["cpu_ms"])], 0.5)
    before = None
    for count in counts:
        least = min(data[count]["dump"]["cpu_ms"])
        added = "" if before is None else " +%.1f us a file over %s" % (
            (least - before[1]) * 1e3 / (int(count) - int(before[0])), f"{int(before[0]):,}")
        report.note(f"{f'  its least CPU time, {int(count):,} files':<50} {milliseconds(least):>12}"
                    f"{added}")
        before = (count, least)


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    folder = pathlib.Path(sys.argv[1])
    report = Report()

    core = repetitions(folder / "core.json")
    paired(report, core, "BM_AnalyzeBlock", "AnalyzeBlock, 64 horses (floor: memcpy)", 20)
    paired(report, core, "BM_AnalyzeBlockLongestNames",
           "AnalyzeBlock, names running to record end")
    paired(report, core, "BM_DecodeName", "DecodeName, one name (floor: memcpy)")
    paired(report, core, "BM_ReadHorseBlockSized",
           "ReadHorseBlock (floor: open+fstat+pread+close)", 1.05)
    paired(report, core, "BM_ReadHorseBlock", "  the same against open+pread+close")

    load = repetitions(folder / "load.json")
    paired(report, load, "BM_LoadHorseFile/64",
           "LoadHorseFile, 64 listed (floor: bare table)", 0.6)
    # Two pieces of the work of the 64-horse load, each done alone, so they go under that line.
    # CPU time, as the paired measures take: wall time would count the waits of a busy machine.
    # The texts alone share no string, where the load shares the equal ones, so they can cost
    # more than their share of the load.
    for name, what in (("BM_ReadAndDecode", "  alone: reading and decoding the block"),
                       ("BM_RowTexts/64", "  alone: the 64 rows' texts, none shared")):
        times = [r["cpu_time"] * (1e3 if r["time_unit"] == "us" else 1) for r in load[name]]
        report.note(f"{what:<50} {duration(statistics.median(times)):>12}")
    paired(report, load, "BM_OpenAbilityTable",
           "opening the 能力表, 64 listed (floor: bare table)", 1.5)
    paired(report, load, "BM_LoadHorseFile/1", "LoadHorseFile, 1 listed")
    alone(report, load, "BM_LoadHorseFile/0", "LoadHorseFile, 0 listed")

    dump_files(report, folder / "dump.json")
    follow = repetitions(folder / "follow.json")
    paired(report, follow, "BM_ReloadFollowedFile",
           "reload of the followed file (floor: LoadHorseFile)", 1.1)
    # The 変更点 log recording a version in which 1, 8 or all 64 horses' ten abilities grew,
    # against the same load with nothing listening for it; and the heap of a full log.
    for horses, target in ((1, 1.1), (8, None), (64, None)):
        paired(report, follow, f"BM_ReloadWithChangeLog/{horses}",
               f"load logging {horses * 10} changes (floor: not logged)", target)
    log_memory = json.loads((folder / "follow-log-memory.json").read_text())
    report.limit(f"change log of {log_memory['rows']:,} rows: heap above empty",
                 [log_memory["bytes"] / 1024], mebibytes, 5 * 1024)
    # The 推移 history recording the same loads, its heap when full, and drawing its chart.
    paired(report, follow, "BM_ReloadWithTrendHistory",
           "load with 推移 history (floor: log only)", 1.05)
    history = json.loads((folder / "follow-history-memory.json").read_text())
    report.limit(f"推移 history, {history['versions']:,} versions of {history['horses']}: heap",
                 [history["bytes"] / 1024], mebibytes, 4 * 1024)
    paired(report, follow, "BM_DrawTrendChart",
           "推移 chart of 1,000 versions (floor: polylines)", 2)
    paired(report, follow, "BM_ReloadWithTableAndComparison",
           "reload, 能力表 and 比較 open (floor: both closed)", 2)
    paired(report, follow, "BM_ReloadWithScore",
           "reload, 能力表 with a 12-term 評価式 (floor: no 評価式)", 1.1)
    latency = json.loads((folder / "follow-latency.json").read_text())
    quiet = latency["quiet_period_ms"]
    report.limit(f"reload latency, {len(latency['latencies_ms'])} writes (quiet period)",
                 latency["latencies_ms"], milliseconds, quiet + 20, milliseconds(quiet))
    idle = json.loads((folder / "follow-idle.json").read_text())
    for key, what in (("event_loop", "event loop wake-ups"), ("switches", "context switches")):
        following, none = idle["following"][key], idle["none"][key]
        ok = following <= none
        report.met += ok
        report.missed += not ok
        label = f"idle {idle['seconds']} s, {what} (floor: no file)"
        report.note(f"{label:<50} "
                    f"{following:>12} {none:>12} {'':>9} {'':>13} {'same':>8} "
                    f"{'PASS' if ok else 'MISS'}")

    for path in sorted(folder.glob("startup-*.json")):
        startup(report, path, path.stem.removeprefix("startup-"))

    report.print()


if __name__ == "__main__":
    main()

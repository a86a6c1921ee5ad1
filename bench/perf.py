"""Side-by-side measurements of the program against lower bounds on the same machine, in the same run.

    xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 bench/perf.py BUILD_DIR [options]

Usually started through bench/run-all.sh, which builds BUILD_DIR first. Four measurements:

  start-up  time from fork to the main window's MapNotify, QZFreeNameCompatibility against the minimal
            Qt Widgets program (bench/minimal_qt), alternating, each run with fresh settings and runtime
            folders;
  memory    peak resident memory (VmHWM) of the same runs, read after the window is shown, and the CPU
            time the program spent until the map (less stretched by a busy machine than the time);
  reading   the Google Benchmark of the reading against one plain pass over the same text;
  batch     `qzcompat --batch` on generated name pairs against `wc -l` on the same file, alternating.
"""

import argparse
import json
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

MAIN_TITLE = "QZ Name Compatibility v1.15"
MINIMAL_TITLE = "Minimal Qt"


def spread(values):
    """Median, minimum, maximum and the inter-quartile range of a list of figures."""
    values = sorted(values)
    q = statistics.quantiles(values, n=4) if len(values) >= 2 else [values[0]] * 3
    return {
        "median": statistics.median(values),
        "min": values[0],
        "max": values[-1],
        "q1": q[0],
        "q3": q[2],
        "n": len(values),
    }


def watch_once(watcher, title, command, settle_ms):
    """One start of a program with fresh settings; returns (milliseconds to map, VmHWM kB, CPU ms to map)."""
    config = tempfile.mkdtemp(prefix="qzperf-config-")
    runtime = tempfile.mkdtemp(prefix="qzperf-runtime-")  # mode 0700, as Qt wants it
    env = dict(os.environ, XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
    try:
        out = subprocess.run(
            [watcher, "--settle", str(settle_ms), "--timeout", "50000", title, *command],
            env=env,
            check=True,
            capture_output=True,
            text=True,
            timeout=60,
        ).stdout.split()
        return float(out[0]), int(out[1]), float(out[2])
    finally:
        shutil.rmtree(config, ignore_errors=True)
        shutil.rmtree(runtime, ignore_errors=True)


def forget_wine_settings():
    """Removes what the Windows program stored in the registry, so that every start under Wine is a first."""
    subprocess.run(
        ["wine", "reg", "delete", r"HKCU\Software\QZFreeNameCompatibility", "/f"],
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
        check=False,
    )


def measure_startup(build, pairs, settle_ms, wine_stage=None, wine_bound=None):
    watcher = os.path.join(build, "bench", "map_watch")
    programs = {
        "program": (MAIN_TITLE, [os.path.join(build, "QZFreeNameCompatibility")]),
        "minimal": (MINIMAL_TITLE, [os.path.join(build, "bench", "minimal_qt")]),
    }
    if wine_stage:
        programs = {
            name: (title, ["wine", os.path.join(wine_stage, exe)])
            for (name, title), exe in zip(
                [("program", MAIN_TITLE), ("minimal", MINIMAL_TITLE)],
                ["QZFreeNameCompatibility.exe", "minimal_qt.exe"],
            )
        }
        if wine_bound:  # another build of the program as the bound, e.g. against another Qt
            programs["minimal"] = (MAIN_TITLE, ["wine", os.path.join(wine_bound, "QZFreeNameCompatibility.exe")])
    times = {name: [] for name in programs}
    memory = {name: [] for name in programs}
    cpu = {name: [] for name in programs}
    # One unrecorded start of each warms the page cache and the font cache alike.
    for title, command in programs.values():
        watch_once(watcher, title, command, settle_ms)
    for i in range(pairs):
        # Alternate which goes first, so a drift in machine load falls on both alike.
        order = ["program", "minimal"] if i % 2 == 0 else ["minimal", "program"]
        for name in order:
            if wine_stage:
                forget_wine_settings()
            ms, kb, cpu_ms = watch_once(watcher, *programs[name], settle_ms)
            times[name].append(ms)
            memory[name].append(kb / 1024.0)
            cpu[name].append(cpu_ms)
    return times, memory, cpu


def measure_reading(build, min_time):
    out = subprocess.run(
        [
            os.path.join(build, "bench", "bench_compatibility"),
            "--benchmark_format=json",
            f"--benchmark_min_time={min_time}",
            "--benchmark_repetitions=3",
            "--benchmark_report_aggregates_only=true",
        ],
        check=True,
        capture_output=True,
        text=True,
    ).stdout
    rows = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name, length, kind = b["run_name"].split("/")[:3]
        rows.setdefault((int(length), int(kind)), {})[name] = b["cpu_time"]  # ns
    return rows


def make_pairs(path, count):
    """Name pairs as people type them: one or two words of mixed case, a few with extra spaces."""
    rng = random.Random(1)
    letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"

    def word():
        w = "".join(rng.choice(letters) for _ in range(rng.randint(3, 9)))
        return w if rng.random() < 0.5 else w.capitalize()

    def name():
        return word() if rng.random() < 0.4 else word() + " " + word()

    with open(path, "w", encoding="utf-8") as f:
        for _ in range(count):
            f.write(f"{name()}\t{name()}\n")


def timed_run(command, stdin_path):
    with open(stdin_path, "rb") as stdin:
        start = time.perf_counter()
        subprocess.run(command, stdin=stdin, stdout=subprocess.DEVNULL, check=True)
        return (time.perf_counter() - start) * 1e3


def measure_batch(build, lines, repeats):
    data = os.path.join(build, "bench-data")
    os.makedirs(data, exist_ok=True)
    path = os.path.join(data, f"pairs-{lines}.tsv")
    if not os.path.exists(path):
        make_pairs(path + ".part", lines)
        os.replace(path + ".part", path)
    qzcompat = [os.path.join(build, "qzcompat"), "--batch"]
    wc = ["wc", "-l"]
    times = {"program": [], "bound": []}
    timed_run(qzcompat, path)  # warm the page cache
    timed_run(wc, path)
    for i in range(repeats):
        order = [("program", qzcompat), ("bound", wc)]
        for name, command in order if i % 2 == 0 else reversed(order):
            times[name].append(timed_run(command, path))
    return times, os.path.getsize(path)


def fmt(s, unit, digits=1):
    return f"{s['median']:.{digits}f} {unit} ({s['min']:.{digits}f}-{s['max']:.{digits}f})"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", help="Release build folder holding the programs")
    parser.add_argument("--pairs", type=int, default=20, help="alternating start-up pairs (default 20)")
    parser.add_argument("--settle", type=int, default=200, help="ms after the map before reading VmHWM")
    parser.add_argument("--lines", type=int, default=1_000_000, help="name pairs for the batch run")
    parser.add_argument("--batch-repeats", type=int, default=5, help="alternating batch runs of each")
    parser.add_argument("--min-time", type=float, default=0.2, help="Google Benchmark min time per case")
    parser.add_argument("--json", help="also write every raw figure to this file")
    parser.add_argument(
        "--wine",
        metavar="FOLDER",
        help="start-up of the Windows programs under Wine instead: QZFreeNameCompatibility.exe and "
        "minimal_qt.exe beside their DLLs in FOLDER (bench/wine-startup.sh prepares it)",
    )
    parser.add_argument(
        "--wine-bound",
        metavar="FOLDER",
        help="with --wine: the bound is the program unpacked in FOLDER (another build) instead of minimal_qt.exe",
    )
    parser.add_argument("--only", choices=["startup", "reading", "batch"], action="append")
    args = parser.parse_args()
    only = set(args.only or ["startup", "reading", "batch"])

    rows = []  # (measurement, ours, bound, ratio)
    raw = {}
    if "startup" in only:
        times, memory, cpu = measure_startup(args.build, args.pairs, args.settle, args.wine, args.wine_bound)
        raw["startup_ms"], raw["peak_mib"], raw["startup_cpu_ms"] = times, memory, cpu
        t = {k: spread(v) for k, v in times.items()}
        m = {k: spread(v) for k, v in memory.items()}
        c = {k: spread(v) for k, v in cpu.items()}
        rows.append(
            (
                f"start-up to window mapped, median of {args.pairs} (min-max)",
                fmt(t["program"], "ms"),
                fmt(t["minimal"], "ms"),
                t["program"]["median"] / t["minimal"]["median"],
            )
        )
        rows.append(
            (
                "  start-up inter-quartile range",
                f"{t['program']['q1']:.1f}-{t['program']['q3']:.1f} ms",
                f"{t['minimal']['q1']:.1f}-{t['minimal']['q3']:.1f} ms",
                None,
            )
        )
        rows.append(
            (
                "  CPU time to window mapped, median (min-max)",
                fmt(c["program"], "ms"),
                fmt(c["minimal"], "ms"),
                c["program"]["median"] / c["minimal"]["median"],
            )
        )
        rows.append(
            (
                "peak resident memory (VmHWM), median (min-max)",
                fmt(m["program"], "MiB"),
                fmt(m["minimal"], "MiB"),
                m["program"]["median"] / m["minimal"]["median"],
            )
        )
    if "reading" in only:
        reading = measure_reading(args.build, args.min_time)
        raw["reading_ns"] = {f"{k[0]}/{'distinct' if k[1] == 0 else 'repeated'}": v for k, v in reading.items()}
        for (length, kind), r in sorted(reading.items(), key=lambda kv: (kv[0][1], kv[0][0])):
            rows.append(
                (
                    f"reading, {length} characters, {'all distinct' if kind == 0 else 'repeated letters'}",
                    f"{r['BM_Reading']:.1f} ns",
                    f"{r['BM_PlainPass']:.1f} ns",
                    r["BM_Reading"] / r["BM_PlainPass"],
                )
            )
    if "batch" in only:
        times, size = measure_batch(args.build, args.lines, args.batch_repeats)
        raw["batch_ms"] = times
        b = {k: spread(v) for k, v in times.items()}
        rows.append(
            (
                f"qzcompat --batch vs wc -l, {args.lines:,} lines ({size / 1e6:.0f} MB), median (min-max)",
                fmt(b["program"], "ms"),
                fmt(b["bound"], "ms"),
                b["program"]["median"] / b["bound"]["median"],
            )
        )

    widths = [max(len(r[0]) for r in rows), max(len(r[1]) for r in rows), max(len(r[2]) for r in rows)]
    header = ("measurement", "ours", "bound", "ratio")
    print(f"{header[0]:<{widths[0]}} | {header[1]:<{widths[1]}} | {header[2]:<{widths[2]}} | {header[3]}")
    print(f"{'-' * widths[0]}-|-{'-' * widths[1]}-|-{'-' * widths[2]}-|------")
    for name, ours, bound, ratio in rows:
        r = f"{ratio:.2f}x" if ratio is not None else ""
        print(f"{name:<{widths[0]}} | {ours:<{widths[1]}} | {bound:<{widths[2]}} | {r}")
    if args.json:
        with open(args.json, "w", encoding="utf-8") as f:
            json.dump(raw, f, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main())

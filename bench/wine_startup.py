"""Start-up and peak memory of two Windows builds of the program under Wine, side by side in one run.

    xvfb-run -a -s "-screen 0 1280x1024x24" python3 bench/wine_startup.py [--pairs 10] WATCHER A B

A and B are unpacked packages (folders holding QZFreeNameCompatibility.exe and its DLLs, as in the zip);
WATCHER is bench/map_watch, built for Linux (build-bench/bench/map_watch). Both run in one fresh Wine
prefix with a warm server, in turn (A B, B A, ...), each start timed from launch to the main window's
MapNotify, its peak memory read as the Wine process's VmHWM. A run slower than --drop-over ms is left
out and counted: Wine now and then waits out a time-out of its own in either build. Prints the medians
and the ratios A/B, of the medians and pair by pair.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

TITLE = "QZ Name Compatibility v1.15"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("watcher")
    parser.add_argument("a")
    parser.add_argument("b")
    parser.add_argument("--pairs", type=int, default=10)
    parser.add_argument("--settle", type=int, default=500, help="ms after the map before reading VmHWM")
    parser.add_argument("--drop-over", type=float, default=5000)
    args = parser.parse_args()

    prefix = tempfile.mkdtemp(prefix="qz-wine-bench-")
    env = dict(os.environ, WINEPREFIX=prefix, WINEARCH="win64", WINEDEBUG="-all", LANG="en_US.UTF-8")
    env.pop("WINEPATH", None)
    subprocess.run(["wineboot", "--init"], env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "--wait"], env=env, check=True)
    # A persistent server keeps explorer and services up between the runs, as Windows does.
    subprocess.run(["wineserver", "--persistent"], env=env, check=True)
    builds = {"A": args.a, "B": args.b}
    times = {k: [] for k in builds}
    pair_ratios = []
    memory = {k: [] for k in builds}
    dropped = {k: 0 for k in builds}

    def once(name):
        exe = os.path.join(os.path.abspath(builds[name]), "QZFreeNameCompatibility.exe")
        # Files, not pipes: the Wine server and its services, started by the first run, would hold a
        # pipe open after the run ends.
        with tempfile.TemporaryFile("w+") as out, tempfile.TemporaryFile("w+") as err:
            code = subprocess.run(
                [args.watcher, "--settle", str(args.settle), "--timeout", "30000", TITLE, "wine", exe],
                env=env,
                stdout=out,
                stderr=err,
                timeout=60,
            ).returncode
            out.seek(0)
            err.seek(0)
            if code != 0:
                print(f"{name}: {err.read().strip()}", file=sys.stderr)
                return None
            ms, kb = out.read().split()
        return float(ms), int(kb) / 1024.0

    try:
        once("A")  # warms the page cache and Wine's own start for both
        once("B")
        for i in range(args.pairs):
            pair = {}
            for name in ("A", "B") if i % 2 == 0 else ("B", "A"):
                r = once(name)
                if r is None or r[0] > args.drop_over:
                    dropped[name] += 1
                    continue
                times[name].append(r[0])
                memory[name].append(r[1])
                pair[name] = r[0]
            if len(pair) == 2:
                pair_ratios.append(pair["A"] / pair["B"])
    finally:
        subprocess.run(["wineserver", "--kill"], env=env)
        shutil.rmtree(prefix, ignore_errors=True)

    for name in builds:
        t, m = times[name], memory[name]
        print(
            f"{name} {builds[name]}: start-up median {statistics.median(t):.0f} ms ({min(t):.0f}-{max(t):.0f}, "
            f"{len(t)} runs, {dropped[name]} dropped), peak {statistics.median(m):.1f} MiB"
        )
    print(
        f"ratio A/B: start-up {statistics.median(times['A']) / statistics.median(times['B']):.3f} "
        f"(pair by pair: median {statistics.median(pair_ratios):.3f} of {len(pair_ratios)}), "
        f"peak memory {statistics.median(memory['A']) / statistics.median(memory['B']):.3f}"
    )
    return 0


if __name__ == "__main__":
    sys.exit(main())

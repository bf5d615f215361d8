#!/usr/bin/env python3
"""Sets each benchmark's median against its floor's and prints one line per figure.

Reads Google Benchmark JSON files. A benchmark "X" is paired with "X/floor"; X's counters
goal_ratio (largest ratio to the floor) and goal_ms (largest median in ms) give its goals,
0 meaning none. Medians are taken over the repetitions' CPU times, or over the counter
bytes_per_node for the figures that measure the heap. The spread sets the figure's quartiles
against the floor's (lower over upper, upper over lower): a ratio whose spread holds 1 is at
the floor.
"""

import json
import re
import statistics
import sys

TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
HEAP_COUNTER = "bytes_per_node"


def read_runs(paths):
    times, goals, order, heap = {}, {}, [], set()
    for path in paths:
        with open(path, encoding="utf-8") as handle:
            for run in json.load(handle)["benchmarks"]:
                if run.get("run_type", "iteration") != "iteration" or "error_occurred" in run:
                    continue
                # A fixed iteration count shows in the name; the pairing goes without it.
                name = re.sub(r"/iterations:\d+$", "", run.get("run_name", run["name"]))
                if name not in times:
                    times[name] = []
                    order.append(name)
                if HEAP_COUNTER in run:
                    heap.add(name)
                    times[name].append(run[HEAP_COUNTER])
                else:
                    times[name].append(run["cpu_time"] * TO_MS[run.get("time_unit", "ns")])
                goals[name] = (run.get("goal_ratio", 0.0), run.get("goal_ms", 0.0))
    return times, goals, order, heap


def quartiles(values):
    """The lower and upper quartile; a single value is both."""
    if len(values) < 2:
        return values[0], values[0]
    lower, _, upper = statistics.quantiles(values, n=4, method="inclusive")
    return lower, upper


def describe_time(ms):
    """A time in ms, or in us below a millisecond, where three decimals of ms say little."""
    return f"{ms:.3f} ms" if ms >= 1 else f"{ms * 1e3:.3f} us"


def describe_goal(ratio, ms):
    parts = []
    if ratio > 0:
        parts.append(f"<={ratio:g}x floor")
    if ms > 0:
        parts.append(f"<{ms:g} ms" if ms >= 1 else f"<{ms * 1e3:g} us")
    return ", ".join(parts) if parts else "-"


def main(paths):
    times, goals, order, heap = read_runs(paths)
    medians = {name: statistics.median(times[name]) for name in order}
    rows = []
    over = 0
    for name in order:
        if name.endswith("/floor"):
            continue
        floor = medians.get(name + "/floor")
        median = medians[name]
        ratio = median / floor if floor else None
        spread = "-"
        if floor:
            (low, high), (floor_low, floor_high) = quartiles(times[name]), quartiles(
                times[name + "/floor"])
            spread = f"{low / floor_high:.2f}-{high / floor_low:.2f}"
        goal_ratio, goal_ms = goals[name]
        if goal_ratio <= 0 and goal_ms <= 0:
            verdict = "-"
        else:
            met = (goal_ratio <= 0 or (ratio is not None and ratio <= goal_ratio)) and (
                goal_ms <= 0 or median < goal_ms)
            verdict = "ok" if met else "over"
            over += verdict == "over"
        if name in heap:
            describe = lambda value: f"{value:.1f} B/node"
        else:
            describe = describe_time
        rows.append((name, describe(median), describe(floor) if floor else "-",
                     f"{ratio:.2f}" if ratio is not None else "-", spread,
                     describe_goal(goal_ratio, goal_ms), verdict))
    header = ("name", "median", "floor", "ratio", "spread", "goal", "verdict")
    widths = [max(len(row[i]) for row in rows + [header]) for i in range(len(header))]
    for row in [header] + rows:
        print("  ".join(cell.ljust(widths[i]) for i, cell in enumerate(row)).rstrip())
    print(f"{over} figure(s) over their goal" if over else "every figure with a goal is ok")


if __name__ == "__main__":
    main(sys.argv[1:])

#!/usr/bin/env python3
"""Sets each benchmark's median against its floor's and prints one line per figure.

Reads Google Benchmark JSON files. A benchmark "X" is paired with "X/floor"; X's counters
goal_ratio (largest ratio to the floor) and goal_ms (largest median in ms) give its goals,
0 meaning none. Medians are taken over the repetitions' CPU times.
"""

import json
import statistics
import sys

TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def read_runs(paths):
    times, goals, order = {}, {}, []
    for path in paths:
        with open(path, encoding="utf-8") as handle:
            for run in json.load(handle)["benchmarks"]:
                if run.get("run_type", "iteration") != "iteration" or "error_occurred" in run:
                    continue
                name = run.get("run_name", run["name"])
                if name not in times:
                    times[name] = []
                    order.append(name)
                times[name].append(run["cpu_time"] * TO_MS[run.get("time_unit", "ns")])
                goals[name] = (run.get("goal_ratio", 0.0), run.get("goal_ms", 0.0))
    return {name: statistics.median(times[name]) for name in order}, goals, order


def describe_goal(ratio, ms):
    parts = []
    if ratio > 0:
        parts.append(f"<={ratio:g}x floor")
    if ms > 0:
        parts.append(f"<{ms:g} ms")
    return ", ".join(parts) if parts else "-"


def main(paths):
    medians, goals, order = read_runs(paths)
    rows = []
    over = 0
    for name in order:
        if name.endswith("/floor"):
            continue
        floor = medians.get(name + "/floor")
        median = medians[name]
        ratio = median / floor if floor else None
        goal_ratio, goal_ms = goals[name]
        if goal_ratio <= 0 and goal_ms <= 0:
            verdict = "-"
        else:
            met = (goal_ratio <= 0 or (ratio is not None and ratio <= goal_ratio)) and (
                goal_ms <= 0 or median < goal_ms)
            verdict = "ok" if met else "over"
            over += verdict == "over"
        rows.append((name, f"{median:.3f} ms", f"{floor:.3f} ms" if floor else "-",
                     f"{ratio:.2f}" if ratio is not None else "-",
                     describe_goal(goal_ratio, goal_ms), verdict))
    header = ("name", "median", "floor", "ratio", "goal", "verdict")
    widths = [max(len(row[i]) for row in rows + [header]) for i in range(len(header))]
    for row in [header] + rows:
        print("  ".join(cell.ljust(widths[i]) for i, cell in enumerate(row)).rstrip())
    print(f"{over} figure(s) over their goal" if over else "every figure with a goal is ok")


if __name__ == "__main__":
    main(sys.argv[1:])

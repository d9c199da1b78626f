#!/usr/bin/env python3
"""Which restart stages find a network with GOAL deliveries per episode soonest.

Replays recorded runs through sets of two places, as `zarnik-train --runs 2`
plays them: place 0 starts with seed S, place 1 with S+1, a run given up at a
stage is followed in its place by the next seed, and the set ends when a run's
best validated mean meets the goal. The runs are recorded once, two at a time
and with wall times, by

    python3 bench/replay_stages.py --record FIRST PAIRS [GENERATIONS] > runs.txt

(zarnik-train --runs 2 --no-restart --progress for seeds FIRST, FIRST+1, ...),
then compared by

    python3 bench/replay_stages.py runs.txt "1000:1,2000:2,4000:3" "300:0.3,2000:1,4000:3"

which prints, for every set start S, the seconds to the goal, and the median.
"""
import heapq
import statistics
import subprocess
import sys
import time

GOAL = 3.0


def record(first, pairs, generations, trainer="build/release/src/train/zarnik-train"):
    import tempfile
    for p in range(pairs):
        seed = first + 2 * p
        with tempfile.TemporaryDirectory() as d:
            proc = subprocess.Popen([trainer, "--runs", "2", "--no-restart", "--progress", "--until-generation",
                                     str(generations), "--seed", str(seed), d + "/z.dat"],
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            for line in proc.stdout:
                print(f"{time.time():.6f} {line}", end="", flush=True)
            proc.wait()


def load(path):
    """seed -> [(generation, seconds since its start, best validated mean)] at the checks."""
    runs, start = {}, {}
    for line in open(path):
        p = line.split()
        if len(p) < 10 or p[1] != "run":
            continue
        t, seed, gen = float(p[0]), int(p[3]), int(p[4])
        start.setdefault(seed, t)
        if gen > 0 and gen % 100 == 0:
            runs.setdefault(seed, []).append((gen, t - start[seed], float(p[8]) if p[8] != "-" else 0.0))
    return runs


def verdict(stages, generation, best):
    if best >= GOAL - 1e-9:
        return "goal"
    return "restart" if any(generation >= g and best < m - 1e-9 for g, m in stages) else "go"


def seconds_to_goal(runs, first, stages, cap=900.0):
    next_seed, best = first, cap
    places = [(0.0, 0), (0.0, 1)]
    while places:
        t0, place = heapq.heappop(places)
        run = runs.get(next_seed)
        next_seed += 1
        if t0 >= best or run is None:
            continue
        end = t0 + run[-1][1]  # a run at the end of its record: a new one follows
        for gen, t, b in run:
            v = verdict(stages, gen, b)
            if v == "goal":
                best, end = min(best, t0 + t), None
                break
            if v == "restart":
                end = t0 + t
                break
        if end is not None and end < best:
            heapq.heappush(places, (end, place))
    return best


def main():
    if sys.argv[1] == "--record":
        record(int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]) if len(sys.argv) > 4 else 4000)
        return
    runs = load(sys.argv[1])
    seeds = sorted(runs)
    for rule in sys.argv[2:]:
        stages = [(int(g), float(m)) for g, m in (s.split(":") for s in rule.split(","))]
        times = [seconds_to_goal(runs, s, stages) for s in range(seeds[0], seeds[-1], 2)]
        print(rule, " ".join(f"{t:.1f}" for t in times), f"median {statistics.median(times):.1f}")


if __name__ == "__main__":
    main()

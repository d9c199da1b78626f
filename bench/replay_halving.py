#!/usr/bin/env python3
"""Successive halving against the restart rule, replayed from recorded runs on C cores.

Successive halving: a set begins N runs; each trains to the first rung, the better half by the best
validated mean so far goes on to the next rung, and so on; the runs left after the last rung (at least one
per core) train on until the goal or the end of their record, after which a new round of N fresh runs
begins. The restart rule: C places, each training its runs one after another by the default stages. Both
end at the first check whose kept best meets the goal. Runs are drawn at random, with replacement, from
runs recorded once by

    python3 bench/replay_stages.py --record FIRST PAIRS 8000 > runs.txt

(only whole records are used), and the same draws of runs serve every schedule compared. Then

    python3 bench/replay_halving.py runs.txt --rate R [--cores C] [--draws D] [--seed S] [SCHEDULE ...]

where a SCHEDULE is "N:R1/R2/.../Rk" (e.g. "16:200/400/800/1600") or "rule". It prints for each the
median, the 90th percentile and the share that missed the cap, in seconds at R generations per second
of one run on one core; the seed of the draws is printed so that a table can be repeated. Not counted:
starting and storing runs, and the checks' own cost (both strategies check every 100 generations).
"""
import argparse
import heapq
import random
import statistics

from replay_places import verdict

CHECK = 100


def goal_generation(curve, goal, upto):
    """The first check at or below `upto` whose best meets the goal, or None."""
    for gen, _, best in curve:
        if gen > upto:
            return None
        if best >= goal - 1e-9:
            return gen
    return None


def best_until(curve, upto):
    return max((best for gen, _, best in curve if gen <= upto), default=-1.0)


class Cores:
    """C cores taking jobs in order; each job is a run trained from one generation to another."""

    def __init__(self, cores, start):
        self.free = [start] * cores

    def run(self, generations, rate):
        begin = heapq.heappop(self.free)
        end = begin + generations / rate
        heapq.heappush(self.free, end)
        return begin, end

    def all_done(self):
        return max(self.free)


def halving_seconds(draw, count, rungs, cores, goal, rate, cap):
    """Seconds to the goal of one halving set whose runs come from draw(), or None past cap."""
    now = 0.0
    while now < cap:
        runs = [draw() for _ in range(count)]
        done = 0  # the generation every run left has trained to
        found = None
        for rung in list(rungs) + [None]:
            c = Cores(cores, now)
            for curve in runs:
                last = curve[-1][0]
                upto = last if rung is None else min(rung, last)
                if upto <= done:
                    continue
                begin, end = c.run(upto - done, rate)
                g = goal_generation(curve, goal, upto)
                if g is not None and g > done:
                    t = begin + (g - done) / rate
                    found = t if found is None else min(found, t)
            if found is not None:
                return found if found < cap else None
            now = c.all_done()
            if rung is None:
                break
            keep = max(cores, len(runs) // 2)
            runs = sorted(runs, key=lambda cv: -best_until(cv, rung))[:keep]
            done = rung
    return None


def rule_seconds(draw, cores, goal, rate, cap):
    """Seconds to the goal of a set of `cores` places by the restart rule, or None past cap."""
    best = None
    for _ in range(cores):
        work = 0
        while work / rate < cap:
            curve = draw()
            hit = None
            for gen, _, b in curve:
                v = verdict(goal, gen, b)
                if v == "goal":
                    hit = gen
                    break
                if v == "restart":
                    break
            if hit is not None:
                t = (work + hit) / rate
                best = t if best is None else min(best, t)
                break
            work += gen
    return best if best is not None and best < cap else None


def main():
    a = argparse.ArgumentParser()
    a.add_argument("runs")
    a.add_argument("schedules", nargs="*", default=["rule", "16:200/400/800/1600"])
    a.add_argument("--rate", type=float, required=True, help="generations per second of one run on one core")
    a.add_argument("--cores", type=int, default=2)
    a.add_argument("--draws", type=int, default=1000)
    a.add_argument("--seed", type=int, default=None)
    a.add_argument("--goal", type=float, default=3.0)
    a.add_argument("--cap", type=float, default=300.0, help="seconds after which a set counts as missed")
    o = a.parse_intermixed_args()
    seed = o.seed if o.seed is not None else random.SystemRandom().randrange(1 << 31)
    from replay_stages import load
    recorded = [c for c in load(o.runs).values() if c]
    last = max(c[-1][0] for c in recorded)
    curves = [c for c in recorded if c[-1][0] == last]
    print(f"{len(curves)} whole recorded runs to generation {last}, goal {o.goal}, {o.cores} cores, "
          f"{o.rate:g} generations/s per core, {o.draws} draws, seed {seed}")
    print(f"{'schedule':>26} {'median s':>9} {'p90 s':>7} {'missed':>7}")
    for schedule in o.schedules:
        rng = random.Random(seed)  # the same runs for every schedule
        draw = lambda: rng.choice(curves)
        if schedule == "rule":
            times = [rule_seconds(draw, o.cores, o.goal, o.rate, o.cap) for _ in range(o.draws)]
        else:
            n, rungs = schedule.split(":")
            rungs = [int(r) for r in rungs.split("/")]
            times = [halving_seconds(draw, int(n), rungs, o.cores, o.goal, o.rate, o.cap) for _ in range(o.draws)]
        capped = sorted(t if t is not None else o.cap for t in times)
        median, p90 = statistics.median(capped), capped[min(len(capped) - 1, int(0.9 * len(capped)))]
        print(f"{schedule:>26} {median:>9.1f} {p90:>7.1f} {sum(t is None for t in times):>7}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Expected wall time to the goal of a set spread over P places (zarnik-set.sh), from recorded runs.

Each place trains its runs one after the other on a core of its own, by the restart rule (the default
stages). The set's winner is the run that met the goal with the least work (generations of its place);
every place stops at its first check at or past that work, so with places of equal speed the set ends,
and the collecting job knows the winner, after that many generations of one core, whatever P. A place
draws its runs at random, with replacement, from runs recorded once by

    python3 bench/replay_stages.py --record FIRST PAIRS 4000 > runs.txt

(plain runs to generation 4000; only whole records are used), so that 1024 places need no 1024
recorded seeds. Then

    python3 bench/replay_places.py runs.txt --rate R [--draws N] [--seed S] [--goal X] [P ...]

prints, for P = 2, 8, 32, 128, 1024 by default, the median, the 90th percentile and the mean over the
draws of the generations a place trains until the goal is settled, and the same as seconds at R
generations per second of one run on one core (measure R by the CPU time of a single run, e.g.
`/usr/bin/time -f %U zarnik-train --generations 1000 --threads 1 --seed 1 r.dat`). Not counted: the
scheduler's start of the tasks and the collecting job, and a note seen late by a slower place. The
seed of the draws is printed, so that a table can be repeated.
"""
import argparse
import random
import statistics

from replay_stages import load

STAGES = [(300, 0.3), (2000, 1.0), (4000, 3.0)]  # the trainer's default rule (run_strategy.h)


def verdict(goal, generation, best):
    if best >= goal - 1e-9:
        return "goal"
    return "restart" if any(generation >= g and best < m - 1e-9 for g, m in STAGES) else "go"


def place_goal_work(curves, rng, goal, work_cap):
    """The work at which a place meets the goal, or None past work_cap."""
    work = 0
    while work < work_cap:
        run = rng.choice(curves)
        for gen, _, best in run:
            v = verdict(goal, gen, best)
            if v == "goal":
                return work + gen
            if v == "restart":
                break
        work += gen  # given up there, or at the end of its record: a new run follows
    return None


def set_goal_work(curves, places, rng, goal, work_cap):
    works = [w for w in (place_goal_work(curves, rng, goal, work_cap) for _ in range(places)) if w is not None]
    return min(works) if works else None


def main():
    a = argparse.ArgumentParser()
    a.add_argument("runs")
    a.add_argument("places", nargs="*", type=int, default=[2, 8, 32, 128, 1024])
    a.add_argument("--rate", type=float, required=True, help="generations per second of one run on one core")
    a.add_argument("--draws", type=int, default=400)
    a.add_argument("--seed", type=int, default=None)
    a.add_argument("--goal", type=float, default=3.0)
    a.add_argument("--work-cap", type=int, default=100000)
    o = a.parse_intermixed_args()
    seed = o.seed if o.seed is not None else random.SystemRandom().randrange(1 << 31)
    recorded = [c for c in load(o.runs).values() if c]
    last = max(c[-1][0] for c in recorded)
    curves = [c for c in recorded if c[-1][0] == last]  # whole records only
    print(f"{len(curves)} whole recorded runs to generation {last}, goal {o.goal}, {o.rate:g} generations/s, "
          f"{o.draws} draws, seed {seed}")
    print(f"{'places':>7} {'generations: median':>20} {'p90':>7} {'mean':>7} {'seconds: median':>16} {'p90':>7} "
          f"{'mean':>7} {'missed':>7}")
    for places in o.places:
        rng = random.Random(seed + places)
        works = [set_goal_work(curves, places, rng, o.goal, o.work_cap) for _ in range(o.draws)]
        met = sorted(w for w in works if w is not None)
        if not met:
            print(f"{places:>7} {'-':>20} {'-':>7} {'-':>7} {'-':>16} {'-':>7} {'-':>7} {o.draws:>7}")
            continue
        median, p90, mean = statistics.median(met), met[min(len(met) - 1, int(0.9 * len(met)))], statistics.mean(met)
        print(f"{places:>7} {median:>20.0f} {p90:>7.0f} {mean:>7.0f} {median / o.rate:>16.1f} {p90 / o.rate:>7.1f} "
              f"{mean / o.rate:>7.1f} {o.draws - len(met):>7}")


if __name__ == "__main__":
    main()

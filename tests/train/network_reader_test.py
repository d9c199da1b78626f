#!/usr/bin/env python3
"""The reader tools/zarnik_network.py against the program: the same outputs, bit for bit.

Usage: network_reader_test.py ZARNIK_TRAIN NETWORK_OUTPUTS READER

Networks: one trained by zarnik-train, a fresh random one, and two whose best has weights drawn here (the
whole 32-bit range, and small ones near the truncation steps), written into a population file by its
documented layout. Inputs: 10,000 random vectors of four kinds and every vector each network sees in the
100 episodes. Each network is exported with --export; network_outputs evaluates the population's best with
the program's own code, the reader evaluates the JSON; both must agree exactly.
"""

import importlib.util
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

try:
    import numpy as np
except ImportError:
    print("network_reader_test: NumPy is missing (Debian: python3-numpy; bash scripts/install-deps.sh)",
          file=sys.stderr)
    sys.exit(1)

TRAINER, OUTPUTS, READER = sys.argv[1:4]
SAFETY_SECONDS = 600  # a program that has not answered by then hangs

# The population file: a 44-byte header, then 101 records of 44 + 8 N + 4 N^2 bytes, the best last;
# in a record, weight [s][t] at 44 + 8 N + 4 (s N + t). Nodes: inputs 0-10, hidden 11-13 and 14-16, outputs 17-20.
N = 21
HEADER = 44
RECORD = 44 + 8 * N + 4 * N * N
BEST = HEADER + 100 * RECORD
BLOCKS = [(0, 11, 11, 3), (11, 3, 14, 3), (14, 3, 17, 4)]  # first source, sources, first target, targets

reader_module = importlib.util.spec_from_file_location("zarnik_network", READER)
zarnik_network = importlib.util.module_from_spec(reader_module)
reader_module.loader.exec_module(zarnik_network)


def run(args, stdin=None):
    done = subprocess.run(args, input=stdin, capture_output=True, timeout=SAFETY_SECONDS, check=False)
    if done.returncode != 0:
        raise AssertionError(f"{' '.join(args)}: status {done.returncode}\n{done.stderr.decode(errors='replace')}")
    return done.stdout


def best_weights(population):
    """The best's weights per block, read from the file as its layout says."""
    with open(population, "rb") as f:
        data = f.read()
    weight = lambda s, t: struct.unpack_from("<i", data, BEST + 44 + 8 * N + 4 * (s * N + t))[0]
    return [[[weight(fs + s, ft + t) for t in range(nt)] for s in range(ns)] for fs, ns, ft, nt in BLOCKS]


def with_best_weights(source, target, draw):
    """A copy of the population file `source` whose best has the weights draw(block, s, t)."""
    with open(source, "rb") as f:
        data = bytearray(f.read())
    for b, (fs, ns, ft, nt) in enumerate(BLOCKS):
        for s in range(ns):
            for t in range(nt):
                struct.pack_into("<i", data, BEST + 44 + 8 * N + 4 * ((fs + s) * N + ft + t), draw(b, s, t))
    with open(target, "wb") as f:
        f.write(data)


def random_inputs(rng):
    """10,000 input vectors: scene-like, small, at the clamp's edges, and anywhere in 32 bits."""
    scene = np.column_stack([
        rng.integers(-400, 1161, (4000, 1)), rng.integers(-400, 881, (4000, 1)),
        rng.integers(-400, 1161, (4000, 1)), rng.integers(-400, 881, (4000, 1)),
        rng.integers(-400, 1161, (4000, 1)), rng.integers(-400, 881, (4000, 1)),
        rng.choice([-1, 1], (4000, 1)), rng.integers(-179, 181, (4000, 4))])
    small = rng.integers(-30, 31, (2000, 11))
    edges = rng.choice([-1001, -1000, -999, -1, 0, 1, 999, 1000, 1001], (2000, 11))
    wide = rng.integers(-2**31, 2**31, (2000, 11), dtype=np.int64)
    wide[0], wide[1] = -2**31, 2**31 - 1
    return np.vstack([scene, small, edges, wide]).astype(np.int64)


def program_outputs(population, inputs):
    text = "".join(" ".join(map(str, row)) + "\n" for row in inputs.tolist())
    out = run([OUTPUTS, population], text.encode())
    return np.array(out.split(), dtype=np.int64).reshape(-1, 4)


class ReaderAgainstProgram(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="zarnik-reader-")
        path = lambda name: os.path.join(cls.dir, name)
        run([TRAINER, "--seed", "3", "--generations", "60", "--threads", "1", "--quiet", path("trained.dat")])
        run([TRAINER, "--seed", "11", "--generations", "0", "--quiet", path("fresh.dat")])
        rng = np.random.default_rng(20240611)
        # From the inputs magnitudes spread evenly over 0 .. 31 bits, and the extremes; beyond them up to 9
        # bits, so that not every output saturates.
        bits = np.concatenate([rng.uniform(0, 31, 33), rng.uniform(0, 9, 21)])
        wide = (rng.choice([-1, 1], 54) * np.floor(2.0 ** bits)).astype(np.int64).tolist()
        wide[0], wide[1], wide[5], wide[50] = -2**31, 2**31 - 1, 0, 2**31 - 1
        wide_at = lambda b, s, t: wide[[0, 33, 42][b] + s * BLOCKS[b][3] + t]
        with_best_weights(path("trained.dat"), path("wide.dat"), wide_at)
        small = rng.integers(-300, 301, 54).tolist()
        small[3:9] = [1, -1, 0, 50, -50, 33]
        with_best_weights(path("trained.dat"), path("small.dat"), lambda b, s, t: small[[0, 33, 42][b] + s * BLOCKS[b][3] + t])
        cls.networks = ["trained", "fresh", "wide", "small"]
        cls.inputs = random_inputs(rng)
        cls.compared = {}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir)
        total = sum(cls.compared.values())
        print(f"compared {total} input vectors: " + ", ".join(f"{k} {v}" for k, v in cls.compared.items()),
              file=sys.stderr)

    def test_the_reader_computes_what_the_program_computes(self):
        for name in self.networks:
            with self.subTest(network=name):
                population = os.path.join(self.dir, name + ".dat")
                exported = os.path.join(self.dir, name + ".json")
                run([TRAINER, "--export", exported, population])
                seen = np.array(run([OUTPUTS, "--episodes", population]).split(), dtype=np.int64).reshape(-1, 11)
                inputs = np.vstack([self.inputs, seen])
                expected = program_outputs(population, inputs)
                got = zarnik_network.load(exported).evaluate(inputs)
                differ = np.flatnonzero((got != expected).any(axis=1))
                self.assertEqual(differ.size, 0, f"{name}: first differences at "
                                 + "; ".join(f"{inputs[i].tolist()}: program {expected[i].tolist()}, reader "
                                             f"{got[i].tolist()}" for i in differ[:5]))
                self.compared[name] = len(inputs)
                # Not all alike, so the comparison says something; the wide weights saturate most sums.
                varied = len({tuple(r) for r in expected.tolist()})
                self.assertGreater(varied, 5 if name == "wide" else 100, name)

    def test_the_file_holds_every_weight_of_the_best(self):
        for name in ("trained", "wide"):
            population = os.path.join(self.dir, name + ".dat")
            exported = os.path.join(self.dir, name + "-weights.json")
            run([TRAINER, "--export", exported, population])
            with open(exported) as f:
                self.assertEqual(json.load(f)["weights"], best_weights(population), name)

    def test_the_command_line_prints_one_line_per_vector(self):
        population = os.path.join(self.dir, "trained.dat")
        exported = os.path.join(self.dir, "cli.json")
        run([TRAINER, "--export", exported, population])
        vectors = self.inputs[:3]
        expected = program_outputs(population, vectors)
        text = "".join(",".join(map(str, row)) + "\n" for row in vectors.tolist())
        out = run([sys.executable, READER, exported], text.encode()).decode()
        self.assertEqual(out, "".join(" ".join(map(str, r)) + "\n" for r in expected.tolist()))
        one = run([sys.executable, READER, exported] + [str(v) for v in vectors[0].tolist()]).decode()
        self.assertEqual(one, out.splitlines(True)[0])


class ReaderByHand(unittest.TestCase):
    """Small networks (one hidden node, one output passing it on), worked by hand."""

    @staticmethod
    def net(first, precision=100, limit=1000):
        return zarnik_network.parse({"format": "zarnik32-network", "version": 1, "layers": [3, 1, 1],
                                     "precision": precision, "max_node_value": limit,
                                     "weights": [[[w] for w in first], [[precision]]]})

    def test_sums_truncate_and_saturate(self):
        cases = [  # weights from the three inputs, inputs, output
            ([150, -50, 0], [500, -300, 4000], 900),     # 1.5 * 500 + (-0.5) * (-300)
            ([200, -50, 0], [500, -300, 4000], 1000),    # 1150 saturates
            ([0, 0, 100], [0, 0, 4000], 1000),           # an input of 4000 counts as 1000
            ([0, 0, 100], [0, 0, -5000], -1000),
            ([-127, 0, 0], [10, 0, 0], -12),             # -12.7 truncates toward zero
            ([-9, 0, 0], [10, 0, 0], 0),                 # -0.9
            ([9, 0, 0], [10, 0, 0], 0),                  # 0.9
            ([0, 0, 0], [1000, 1000, 1000], 0),          # no link: 0
        ]
        for first, inputs, expected in cases:
            self.assertEqual(self.net(first).evaluate(inputs).tolist(), [expected], (first, inputs))

    def test_the_sum_is_rounded_to_single_precision_after_each_term(self):
        # 2^24 + 1 is not a float32: rounded to even after each addition it stays 2^24 (in double: 2^24 + 2).
        net = self.net([1, 1, 1], precision=1, limit=2**31 - 1)
        self.assertEqual(net.evaluate([2**24, 1, 1]).tolist(), [2**24])

    def test_damaged_files_are_refused(self):
        good = {"format": "zarnik32-network", "version": 1, "layers": [3, 1, 1], "precision": 100,
                "max_node_value": 1000, "weights": [[[1], [2], [3]], [[4]]]}
        for key, value in [("format", "other"), ("version", 2), ("layers", [3, 1]), ("precision", 0),
                           ("weights", [[[1], [2]], [[4]]]), ("weights", [[[1.5], [2], [3]], [[4]]]),
                           ("weights", [[[2**31], [2], [3]], [[4]]]), ("max_node_value", True)]:
            with self.subTest(key=key, value=value), self.assertRaises(zarnik_network.NetworkError):
                zarnik_network.parse(dict(good, **{key: value}))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)

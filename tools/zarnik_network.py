#!/usr/bin/env python3
"""Reads a network that `zarnik-train --export` wrote and evaluates it as
Zarnik32 does, bit for bit.

    python3 tools/zarnik_network.py NET.json 50 286 197 119 50 258 -1 180 180 -90 0
    python3 tools/zarnik_network.py NET.json < inputs.txt

The first form evaluates one input vector, the second one vector per line
(integers separated by blanks or commas); each prints the outputs, one line
per vector. As a module:

    net = zarnik_network.load("NET.json")
    outputs = net.evaluate(inputs)    # inputs: (n, 11) integers -> (n, 4)

The network computes in x87 80-bit extended precision, which NumPy's
longdouble is on x86-64 Linux; elsewhere the reader refuses to run rather
than give other numbers. Needs NumPy (Debian: python3-numpy).
"""

import json
import math
import sys

import numpy as np

FORMAT = "zarnik32-network"
VERSION = 1
INT32_MIN, INT32_MAX = -(2**31), 2**31 - 1


class NetworkError(ValueError):
    """The file is not a network this reader can evaluate."""


def _check_extended_precision():
    # The 80-bit type has a 64-bit significand, of which 63 bits are stored after the point.
    if np.finfo(np.longdouble).nmant != 63:
        raise NetworkError("numpy.longdouble is not the x87 80-bit type here; the results would differ")


def _integer(value, name, low, high):
    # JSON numbers with an integer value (1.0 counts, 1.5 and true do not).
    if isinstance(value, bool) or not isinstance(value, (int, float)) or not math.isfinite(value) \
            or value != int(value):
        raise NetworkError(f"{name} is not an integer")
    value = int(value)
    if not low <= value <= high:
        raise NetworkError(f"{name} is not within {low} .. {high}")
    return value


class Network:
    """A layered network of integer nodes: layers, weights per layer pair, scale and limit."""

    def __init__(self, layers, weights, precision, max_node_value):
        self.layers = list(layers)
        self.precision = precision
        self.max_node_value = max_node_value
        # weights[L][s, t]: from node s of layer L to node t of layer L + 1.
        self.weights = [np.array(block, dtype=np.int64).reshape(self.layers[L], self.layers[L + 1])
                        for L, block in enumerate(weights)]

    @property
    def inputs(self):
        return self.layers[0]

    @property
    def outputs(self):
        return self.layers[-1]

    def evaluate(self, inputs):
        """Outputs for `inputs`, one vector or an (n, inputs) array of 32-bit integers."""
        x = np.asarray(inputs, dtype=np.int64)
        single = x.ndim == 1
        x = np.atleast_2d(x)
        if x.ndim != 2 or x.shape[1] != self.inputs:
            raise NetworkError(f"each input vector needs {self.inputs} values")
        if x.size and (x.min() < INT32_MIN or x.max() > INT32_MAX):
            raise NetworkError("inputs are 32-bit integers")
        limit = self.max_node_value
        values = np.clip(x, -limit, limit)
        precision = np.longdouble(self.precision)
        for block in self.weights:
            sources, targets = block.shape
            following = np.empty((x.shape[0], targets), dtype=np.int64)
            for t in range(targets):
                # Source by source in node order; a missing link adds nothing.
                total = np.zeros(x.shape[0], dtype=np.float32)
                for s in range(sources):
                    w = block[s, t]
                    if w == 0:
                        continue
                    factor = np.longdouble(w) / precision
                    term = factor * values[:, s].astype(np.longdouble)
                    total = (total.astype(np.longdouble) + term).astype(np.float32)
                # Truncated toward zero, clamped; the sum is never NaN with a precision of at least 1.
                following[:, t] = np.trunc(np.clip(total.astype(np.float64), -limit, limit)).astype(np.int64)
            values = following
        return values[0] if single else values


def parse(document):
    """The network of a parsed JSON document, every field the evaluation needs checked."""
    _check_extended_precision()
    if not isinstance(document, dict) or document.get("format") != FORMAT:
        raise NetworkError(f'not a "{FORMAT}" file')
    if document.get("version") != VERSION:
        raise NetworkError(f"version {document.get('version')!r} unknown (this reader reads {VERSION})")
    layers = document.get("layers")
    if not isinstance(layers, list) or len(layers) < 3:
        raise NetworkError("layers: a list of at least 3 node counts")
    layers = [_integer(n, f"layers[{i}]", 1, 65535) for i, n in enumerate(layers)]
    precision = _integer(document.get("precision"), "precision", 1, INT32_MAX)
    max_node_value = _integer(document.get("max_node_value"), "max_node_value", 0, INT32_MAX)
    weights = document.get("weights")
    if not isinstance(weights, list) or len(weights) != len(layers) - 1:
        raise NetworkError(f"weights: a list of {len(layers) - 1} blocks")
    checked = []
    for L, block in enumerate(weights):
        if not isinstance(block, list) or len(block) != layers[L]:
            raise NetworkError(f"weights[{L}]: a list of {layers[L]} rows")
        rows = []
        for s, row in enumerate(block):
            if not isinstance(row, list) or len(row) != layers[L + 1]:
                raise NetworkError(f"weights[{L}][{s}]: a list of {layers[L + 1]} weights")
            rows.append([_integer(w, f"weights[{L}][{s}][{t}]", INT32_MIN, INT32_MAX) for t, w in enumerate(row)])
        checked.append(rows)
    return Network(layers, checked, precision, max_node_value)


def load(path):
    """The network in the JSON file at `path`."""
    with open(path, "rb") as f:
        text = f.read((1 << 20) + 1)
    if len(text) > 1 << 20:
        raise NetworkError("larger than 1 MiB")
    try:
        return parse(json.loads(text))
    except json.JSONDecodeError as e:
        raise NetworkError(f"not valid JSON: {e}") from None


def _vectors(lines):
    for line in lines:
        words = line.replace(",", " ").split()
        if words:
            yield [int(w) for w in words]


def main(argv):
    if len(argv) < 2 or argv[1] in ("-h", "--help"):
        print(__doc__.strip())
        return 0 if len(argv) >= 2 else 2
    try:
        net = load(argv[1])
        vectors = [[int(w) for w in argv[2:]]] if len(argv) > 2 else list(_vectors(sys.stdin))
        outputs = net.evaluate(np.array(vectors, dtype=np.int64).reshape(-1, net.inputs))
    except (OSError, ValueError) as e:
        print(f"zarnik_network.py: {argv[1]}: {e}", file=sys.stderr)
        return 2
    sys.stdout.write("".join(" ".join(str(v) for v in row) + "\n" for row in outputs))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

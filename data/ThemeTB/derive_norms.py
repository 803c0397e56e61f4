#!/usr/bin/python3
"""Derive the four norm tables from norm-parameters.tsv.

For every raw score 0..24 and every scale of a group:

    T = 50 + 10 * (raw - mean) / sd, rounded half away from zero

computed exactly (fractions, no floating point), written as whole-number text.
Every scale gets a T in every row, also above its highest raw score, so each
table is complete.

    derive_norms.py           rewrite the four tables
    derive_norms.py --check   only report whether they match the parameters
"""
import math
import sys
from fractions import Fraction
from pathlib import Path

HERE = Path(__file__).resolve().parent
PARAMETERS = HERE / "norm-parameters.tsv"

# Scale order and highest raw score of each scale.
SCALES = [("L", 5), ("F", 15), ("K", 15), ("Hs", 13), ("D", 20), ("Hy", 24),
          ("Pd", 19), ("Pa", 14), ("Pt", 16), ("Sc", 20), ("Ma", 11)]
# Column names of the tables (the last scale column is spelt "MA").
COLUMNS = ["KHam"] + [s for s, _ in SCALES[:-1]] + ["MA", "ID"]
GROUPS = ["EvabaliniDJMIR", "EvabaliniDAMIR", "EvabaliniDJFMIR", "EvabaliniDAFMIR"]
HIGHEST_RAW = max(m for _, m in SCALES)


def fail(message):
    sys.exit(f"derive_norms: {message}")


def parse_number(text, where):
    """A decimal with at most two decimals, kept exact."""
    whole, _, frac = text.partition(".")
    if not whole.isdigit() or (frac and (not frac.isdigit() or len(frac) > 2)):
        fail(f"{where}: '{text}' is not a number with at most two decimals")
    return Fraction(text)


def read_parameters():
    params = {}
    header = None
    for n, line in enumerate(PARAMETERS.read_text(encoding="utf-8").splitlines(), 1):
        if line.startswith("#") or not line.strip():
            continue
        fields = line.split("\t")
        if header is None:
            header = fields
            if header != ["group", "scale", "mean", "sd"]:
                fail(f"line {n}: expected the columns group, scale, mean, sd")
            continue
        if len(fields) != 4:
            fail(f"line {n}: {len(fields)} fields")
        group, scale, mean, sd = fields
        where = f"line {n}"
        if group not in GROUPS:
            fail(f"{where}: unknown group {group}")
        if scale not in dict(SCALES):
            fail(f"{where}: unknown scale {scale}")
        if (group, scale) in params:
            fail(f"{where}: {group} {scale} given twice")
        mean, sd = parse_number(mean, where), parse_number(sd, where)
        highest = dict(SCALES)[scale]
        if not 0 <= mean <= highest:
            fail(f"{where}: mean outside 0..{highest}")
        if not 0 < sd <= highest:
            fail(f"{where}: sd must be above 0 and at most {highest}")
        params[(group, scale)] = (mean, sd)
    missing = [f"{g} {s}" for g in GROUPS for s, _ in SCALES if (g, s) not in params]
    if missing:
        fail("no parameters for " + ", ".join(missing))
    return params


def t_score(raw, mean, sd):
    exact = 50 + 10 * (raw - mean) / sd
    rounded = math.floor(abs(exact) + Fraction(1, 2))
    return rounded if exact >= 0 else -rounded


def table_text(group, params):
    lines = [f"# Derived by derive_norms.py from norm-parameters.tsv ({group}); do not edit by hand.",
             "\t".join(COLUMNS)]
    for raw in range(HIGHEST_RAW + 1):
        ts = [str(t_score(raw, *params[(group, s)])) for s, _ in SCALES]
        lines.append("\t".join([str(raw)] + ts + [str(raw + 1)]))
    return "\n".join(lines) + "\n"


def main():
    check = sys.argv[1:] == ["--check"]
    if sys.argv[1:] and not check:
        fail("usage: derive_norms.py [--check]")
    params = read_parameters()
    stale = []
    for group in GROUPS:
        path = HERE / f"{group}.tsv"
        text = table_text(group, params)
        if check:
            if not path.exists() or path.read_text(encoding="utf-8") != text:
                stale.append(path.name)
        else:
            path.write_text(text, encoding="utf-8")
    if stale:
        fail("out of date: " + ", ".join(stale))


if __name__ == "__main__":
    main()

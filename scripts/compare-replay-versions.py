#!/usr/bin/env python3
"""Two builds of zelmar-replay give the same answers.

Random event scripts over random rule folders (the generator of
tests/windows/compare-replay.py: the example rules, ragged, empty, malformed,
at and past the 16-bit limits, with LF, CR LF and lone CR) are replayed by
both programs with --json. For each case the exit status, standard output,
standard error and the rule files left in the folder (a replay creates a
missing one) must be byte for byte the same. Every fourth case feeds its
events through standard input, a few per line.

    compare-replay-versions.py BEFORE AFTER [--cases N] [--seed S]

Exit status 0 when every case is the same, 1 when one differs.
"""

import argparse
import importlib.util
import os
import random
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(HERE)


def generator():
    path = os.path.join(TOP, "tests", "windows", "compare-replay.py")
    loader_spec = importlib.util.spec_from_file_location("compare_replay", path)
    module = importlib.util.module_from_spec(loader_spec)
    loader_spec.loader.exec_module(module)
    return module


def run(program, folder, name, script, through_input):
    if through_input:
        lines = "".join(script[i:i + 5] + "\n" for i in range(0, len(script), 5))
        args, feed = [program, "--json", "--rules", name, "-"], lines.encode()
    else:
        args, feed = [program, "--json", "--rules", name, script], b""
    done = subprocess.run(args, cwd=folder, input=feed, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          check=False, timeout=60)
    files = {}
    for entry in sorted(os.listdir(os.path.join(folder, name))):
        with open(os.path.join(folder, name, entry), "rb") as f:
            files[entry] = f.read()
    return done.returncode, done.stdout, done.stderr, files


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("before")
    parser.add_argument("after")
    parser.add_argument("--cases", type=int, default=520)
    parser.add_argument("--seed", type=int, default=20240601)
    args = parser.parse_args()
    programs = [os.path.abspath(args.before), os.path.abspath(args.after)]

    gen = generator()
    rng = random.Random(args.seed)
    kinds = ["examples", "ragged", "ragged", "malformed", "limits", "empty"]
    work = tempfile.mkdtemp(prefix="zelmar-versions-")
    failures = 0
    lines = 0
    try:
        for n in range(args.cases):
            kind = kinds[n % len(kinds)]
            texts = gen.rule_texts(rng, kind)
            script = gen.events(rng)
            name = f"case{n}"
            results = []
            for side, program in enumerate(programs):
                folder = os.path.join(work, str(side))
                gen.write_folder(os.path.join(folder, name), texts)
                results.append(run(program, folder, name, script, n % 4 == 3))
            lines += results[0][1].count(b"\n")
            if results[0] != results[1]:
                failures += 1
                print(f"DIFFERENT: case {n} ({kind}), events {script!r}, rules {texts!r}")
                for what, a, b in zip(("exit status", "output", "errors", "files"), *results):
                    if a == b:
                        continue
                    if isinstance(a, bytes):  # the first line that differs
                        pairs = zip(a.split(b"\n") + [b"<end>"], b.split(b"\n") + [b"<end>"])
                        at, (a, b) = next((i, p) for i, p in enumerate(pairs) if p[0] != p[1])
                        what += f", line {at + 1}"
                    print(f"  {what}:\n    before: {str(a)[:400]}\n    after:  {str(b)[:400]}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"{args.cases} cases (seed {args.seed}, {lines} JSON lines): "
          f"{'all the same' if failures == 0 else f'{failures} different'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

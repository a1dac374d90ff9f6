#!/usr/bin/env python3
"""The same answers from two builds of zelmar-replay.

Random event scripts over generated rule sets (those of
tests/windows/compare-replay.py, with a fixed seed) are replayed by both
programs; their `--json` outputs and exit statuses must be byte for byte the
same. Used to check that a change leaves the replay tool's answers alone.

    compare-replay-builds.py OLD_REPLAY NEW_REPLAY [--cases N] [--seed S]
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
spec = importlib.util.spec_from_file_location(
    "compare_replay", os.path.join(HERE, "..", "tests", "windows", "compare-replay.py"))
generator = importlib.util.module_from_spec(spec)
spec.loader.exec_module(generator)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--cases", type=int, default=500)
    parser.add_argument("--seed", type=int, default=20240601)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    kinds = ["examples", "ragged", "ragged", "malformed", "limits", "empty"]
    work = tempfile.mkdtemp(prefix="zelmar-builds-")
    failures = 0
    try:
        for n in range(args.cases):
            kind = kinds[n % len(kinds)]
            texts = generator.rule_texts(rng, kind)
            script = generator.events(rng)
            results = []
            for side, program in (("old", args.old), ("new", args.new)):
                # each program gets its own copy: a replay may create a missing file
                generator.write_folder(os.path.join(work, side, f"case{n}"), texts)
                done = subprocess.run([os.path.abspath(program), "--json", "--rules", f"case{n}", script],
                                      cwd=os.path.join(work, side), stdout=subprocess.PIPE,
                                      stderr=subprocess.DEVNULL, check=False)
                results.append((done.returncode, done.stdout))
            if results[0] != results[1]:
                failures += 1
                print(f"DIFFERENT: case {n} ({kind}), events {script!r}, rules {texts!r}")
        print(f"{args.cases} cases (seed {args.seed}): "
              f"{'all the same' if failures == 0 else f'{failures} different'}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

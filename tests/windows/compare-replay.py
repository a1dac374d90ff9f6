#!/usr/bin/env python3
"""The same answers on Linux and Windows.

Random event scripts (a fixed seed, so every run checks the same cases) are
replayed by the Linux zelmar-replay and by the Windows zelmar-replay.exe under
wine, over the example rules and generated rule sets: ragged, empty,
malformed, at and past the 16-bit limits, with LF, CR LF and lone CR. The
two `--json` outputs must be byte for byte the same.

    compare-replay.py LINUX_REPLAY WINDOWS_REPLAY_EXE [--cases N] [--seed S]

Each case gets two copies of its rule folder, since a replay may create a
missing rule file. The folder is passed relatively (`--rules caseN`), so a
report that names a file differs only by the path separator, which is
normalised before comparing. The Windows runs go through one batch file, in
one wine session, which takes a tenth of the time of starting wine for each.

Now and then wine fails to start one program of the many (cmd then reports
it as not found, with status 9009, and the program never ran). Such cases
are started again, from fresh copies of their folders, a few times; a case
that never starts counts as different.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))

EDGE_ITEMS = ["0", "1", "2", "-1", "32767", "32766", "-32768", "-32767", "32768", "-32769",
              "65535", "65536", "99999", "00012", "+5", "1.5", "2.05", "0.5", "1e3", "x", "",
              " 3", "3 ", "１"]


def item(rng):
    roll = rng.random()
    if roll < 0.55:
        return str(rng.randint(1, 9))
    if roll < 0.75:
        return str(rng.randint(-50, 500))
    return rng.choice(EDGE_ITEMS)


def line(rng, width):
    return ",".join(item(rng) for _ in range(width))


def rule_texts(rng, kind):
    """(winText, lostText) as bytes, or None for a missing file."""
    if kind == "examples":
        with open(os.path.join(TOP, "examples", "winText.txt"), "rb") as f:
            win = f.read()
        with open(os.path.join(TOP, "examples", "lostText.txt"), "rb") as f:
            lost = f.read()
        return win, lost
    if kind == "empty":
        return rng.choice([b"", None, b"1,2"]), rng.choice([b"", None, b"\r\n"])
    if kind == "limits":
        big = rng.choice(["32767", "16384", "10000", "32766"])
        win = ",".join(rng.choice(["1", big, "2"]) for _ in range(rng.randint(1, 8)))
        rows = [",".join(rng.choice(["1", big, "-32768", "3"]) for _ in range(rng.randint(1, 6)))
                for _ in range(rng.randint(1, 5))]
        return win.encode(), "\r\n".join(rows).encode()
    if kind == "malformed":
        win = line(rng, rng.randint(1, 6))
        rows = [line(rng, rng.randint(0, 6)) for _ in range(rng.randint(1, 5))]
        newline = rng.choice(["\r\n", "\n", "\r", "\r\n\r\n"])
        return win.encode(), newline.join(rows).encode()
    # ragged: sound numbers, rows of any length, blank rows, odd line ends
    win = ",".join(str(rng.randint(1, 20)) for _ in range(rng.randint(1, 12)))
    rows = []
    for _ in range(rng.randint(1, 8)):
        rows.append("" if rng.random() < 0.1 else
                    ",".join(str(rng.randint(1, 40)) for _ in range(rng.randint(1, 10))))
    newline = rng.choice(["\r\n", "\r\n", "\n"])
    text = newline.join(rows) + (newline if rng.random() < 0.3 else "")
    if rng.random() < 0.2:
        win += ","
    return win.encode(), text.encode()


def events(rng):
    length = rng.choice([0, 1, 3, 8, 20, 40, 80])
    weights = "WWWWLLLLLBBRS"
    text = "".join(rng.choice(weights) for _ in range(length))
    # lower case, spaces and commas are taken as well
    if rng.random() < 0.2:
        text = text.lower()
    if rng.random() < 0.2:
        text = " ".join(text[i:i + 3] for i in range(0, len(text), 3))
    return text or "W"


def write_folder(folder, texts):
    os.makedirs(folder)
    for name, data in zip(("winText.txt", "lostText.txt"), texts):
        if data is not None:
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("linux")
    parser.add_argument("windows")
    parser.add_argument("--cases", type=int, default=520)
    parser.add_argument("--seed", type=int, default=20240601)
    parser.add_argument("--prefix", help="wine prefix (default: beside the Windows build's tools)")
    args = parser.parse_args()

    windows = os.path.abspath(args.windows)
    prefix = args.prefix or os.path.join(os.path.dirname(os.path.dirname(windows)), "wineprefix")
    wine = [os.path.join(TOP, "cmake", "wine-run.sh"), prefix]
    linux = os.path.abspath(args.linux)

    rng = random.Random(args.seed)
    kinds = ["examples", "ragged", "ragged", "malformed", "limits", "empty"]
    work = tempfile.mkdtemp(prefix="zelmar-compare-")
    os.chmod(work, 0o755)  # wine may run as another user
    try:
        cases = []
        for n in range(args.cases):
            kind = kinds[n % len(kinds)]
            cases.append((kind, rule_texts(rng, kind), events(rng)))
        windows_dir = os.path.join(work, "windows")
        os.makedirs(windows_dir)
        shutil.copy(windows, os.path.join(windows_dir, "zelmar-replay.exe"))

        def run_on_windows(numbers):
            batch = ["@echo off"]
            for n in numbers:
                write_folder(os.path.join(windows_dir, f"case{n}"), cases[n][1])
                batch.append(f'zelmar-replay.exe --json --rules case{n} "{cases[n][2]}" > out{n}.txt')
                batch.append(f"echo %ERRORLEVEL% > status{n}.txt")
            batch.append("exit /b 0")  # the statuses are in the files; a case's own is not the batch's
            with open(os.path.join(windows_dir, "run.cmd"), "w", encoding="ascii", newline="\r\n") as f:
                f.write("\n".join(batch) + "\n")
            if os.geteuid() == 0:
                for root, dirs, files in os.walk(windows_dir):
                    for entry in [root] + [os.path.join(root, f) for f in files]:
                        shutil.chown(entry, "nobody", "nogroup")
            # The batch prints nothing and ends with 0: a failure with no output is
            # wine not starting cmd itself, which wine-run.sh then starts again.
            subprocess.run(wine + ["--again-if-not-started", "cmd", "/c", "run.cmd"], cwd=windows_dir, check=True)

        def windows_result(n):
            with open(os.path.join(windows_dir, f"out{n}.txt"), "rb") as f:
                out = f.read().replace(f"case{n}\\\\".encode(), f"case{n}/".encode())
            with open(os.path.join(windows_dir, f"status{n}.txt"), "rb") as f:
                return int(f.read().strip()), out

        CANT_LAUNCH = 9009
        pending = range(args.cases)
        for attempt in range(4):
            if attempt:
                print(f"wine did not start case(s) {', '.join(map(str, pending))}: starting again")
                for n in pending:
                    shutil.rmtree(os.path.join(windows_dir, f"case{n}"))
            run_on_windows(pending)
            pending = [n for n in pending if windows_result(n) == (CANT_LAUNCH, b"")]
            if not pending:
                break
        for n in range(args.cases):
            write_folder(os.path.join(work, "linux", f"case{n}"), cases[n][1])

        failures = 0
        for n, (kind, texts, script) in enumerate(cases):
            name = f"case{n}"
            done = subprocess.run([linux, "--json", "--rules", name, script], cwd=os.path.join(work, "linux"),
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False)
            status_w, out_w = windows_result(n)
            if (done.returncode, done.stdout) != (status_w, out_w):
                failures += 1
                print(f"DIFFERENT: case {n} ({kind}), events {script!r}, rules {texts!r}")
                print(f"  exit status: Linux {done.returncode}, Windows {status_w}")
                for a, b in zip(done.stdout.split(b"\n"), out_w.split(b"\n")):
                    if a != b:
                        print(f"  Linux:   {a[:400]!r}\n  Windows: {b[:400]!r}")
                        break
        print(f"{args.cases} cases (seed {args.seed}): "
              f"{'all the same' if failures == 0 else f'{failures} different'}")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

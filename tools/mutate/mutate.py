#!/usr/bin/env python3
"""Puts small faults into the product one at a time and tells whether the tests notice.

Each line of faults.tsv (tab-separated; '#' starts a comment) names:
  where     'native' (pellmark_native_tests) or 'win64:TARGET' (one Windows test program,
            run under Wine), the cheapest tests that can see the fault
  file      the product file, from the top of the repository
  line      the exact text of one line of it, leading blanks aside; it must occur once
  fault     what that line becomes (its indentation is kept)

The faults are applied to a scratch copy of the work tree (tracked files, as they stand
now), never to the tree itself. A fault whose line is not found exactly once is reported
as 'stale' (the code moved on: update the list); one that does not compile as 'invalid'.

  python3 tools/mutate/mutate.py [--only N,M] [--keep SCRATCH] [--source TREE]

--source checks this list of faults against another work tree's files, e.g. the main
branch's, for a total to compare with. Keep SCRATCH under the folder the compiler cache
takes paths relative to, or every object is built afresh.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FAULTS = os.path.join(TOP, "tools", "mutate", "faults.tsv")


def read_faults():
    faults = []
    with open(FAULTS, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            parts = line.split("\t")
            if len(parts) != 4:
                sys.exit(f"faults.tsv:{number}: want 4 tab-separated fields, got {len(parts)}")
            faults.append(dict(zip(("where", "file", "line", "fault"), parts), number=number))
    return faults


def copy_tree(scratch):
    files = subprocess.run(["git", "ls-files", "-z"], cwd=TOP, check=True,
                           capture_output=True).stdout.decode().split("\0")
    for name in filter(None, files):
        source = os.path.join(TOP, name)
        if not os.path.isfile(source):
            continue  # deleted in the work tree
        target = os.path.join(scratch, name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(source, target)


def run(command, cwd, log, timeout=1800):
    with open(log, "ab") as out:
        out.write(f"\n$ {' '.join(command)}\n".encode())
        out.flush()
        try:
            return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                                  timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return 124


def preset_of(where):
    return "native" if where == "native" else "win64"


def target_of(where):
    return "pellmark_native_tests" if where == "native" else where.split(":", 1)[1]


def configured(scratch, preset, log, done):
    if preset not in done:
        if run(["cmake", "--preset", preset], scratch, log) != 0:
            sys.exit(f"mutate: cmake --preset {preset} failed; see {log}")
        done.add(preset)


def build_and_test(scratch, where, log):
    """0: the tests pass, 1: a test failed, 2: it does not build."""
    preset, target = preset_of(where), target_of(where)
    if run(["cmake", "--build", "--preset", preset, "--target", target], scratch, log) != 0:
        return 2
    if preset == "native":
        binary = os.path.join(scratch, "build", "native", "bin", target)
        return 0 if run([binary, "--gtest_brief=1"], scratch, log, timeout=900) == 0 else 1
    return 0 if run(["ctest", "--preset", preset, "-R", f"^(wine_prefix|{target})$"],
                    scratch, log, timeout=900) == 0 else 1


def faulty_text(text, fault):
    """The text with the fault in it, or None when its line is not there exactly once."""
    lines = text.split("\n")
    hits = [i for i, l in enumerate(lines) if l.strip() == fault["line"].strip()]
    if len(hits) != 1:
        return None
    indent = lines[hits[0]][: len(lines[hits[0]]) - len(lines[hits[0]].lstrip())]
    lines[hits[0]] = indent + fault["fault"].strip()
    return "\n".join(lines)


def apply_to_text(fault, top=TOP):
    path = os.path.join(top, fault["file"])
    if not os.path.isfile(path):
        return None
    with open(path, encoding="utf-8") as f:
        return faulty_text(f.read(), fault)


def apply(scratch, fault):
    path = os.path.join(scratch, fault["file"])
    changed = apply_to_text(fault, scratch)
    if changed is None:
        return None
    with open(path, encoding="utf-8") as f:
        original = f.read()
    with open(path, "w", encoding="utf-8") as f:
        f.write(changed)
    return original


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", help="comma-separated fault numbers (1-based, in list order)")
    parser.add_argument("--keep", help="scratch folder to use and keep (builds are reused)")
    parser.add_argument("--check", action="store_true",
                        help="only tell which faults no longer find their line; build nothing")
    parser.add_argument("--source", help="the work tree to check (default: this one)")
    args = parser.parse_args()
    if args.source:
        global TOP
        TOP = os.path.abspath(args.source)

    faults = read_faults()
    if args.check:
        stale = [f for f in faults if apply_to_text(f) is None]
        for f in stale:
            print(f"stale: faults.tsv:{f['number']}  {f['file']}: {f['line'].strip()}")
        print(f"mutate: {len(faults) - len(stale)} of {len(faults)} faults apply")
        return 1 if stale else 0
    chosen = range(1, len(faults) + 1)
    if args.only:
        chosen = [int(n) for n in args.only.split(",")]
    scratch = args.keep or tempfile.mkdtemp(prefix="pellmark-mutate-")
    os.makedirs(scratch, exist_ok=True)
    copy_tree(scratch)
    log = os.path.join(scratch, "mutate.log")
    print(f"mutate: scratch copy in {scratch}, build and test output in {log}")

    configured_presets = set()
    wheres = sorted({faults[n - 1]["where"] for n in chosen}, key=lambda w: w != "native")
    for where in wheres:  # the unchanged product must pass first
        configured(scratch, preset_of(where), log, configured_presets)
        if build_and_test(scratch, where, log) != 0:
            sys.exit(f"mutate: the tests of {where} fail without any fault; see {log}")

    counts = {"caught": 0, "missed": 0, "invalid": 0, "stale": 0}
    for n in chosen:
        fault = faults[n - 1]
        started = time.monotonic()
        original = apply(scratch, fault)
        if original is None:
            verdict = "stale"
        else:
            result = build_and_test(scratch, fault["where"], log)
            verdict = ("missed", "caught", "invalid")[result]
            path = os.path.join(scratch, fault["file"])
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)
        counts[verdict] += 1
        print(f"{n:3} {verdict:7} {time.monotonic() - started:5.0f}s  {fault['file']}: "
              f"{fault['line'].strip()}  ->  {fault['fault'].strip()}", flush=True)

    # Rebuild what the last fault touched, so a kept scratch tree is whole again.
    for where in wheres:
        build_and_test(scratch, where, log)
    tried = counts["caught"] + counts["missed"]
    print(f"mutate: {counts['caught']} of {tried} faults caught, {counts['missed']} missed, "
          f"{counts['invalid']} did not build, {counts['stale']} stale")
    if not args.keep:
        shutil.rmtree(scratch, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())

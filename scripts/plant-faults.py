#!/usr/bin/env python3
"""Plants each fault of scripts/planted_faults.py alone in a scratch copy of
the tree, rebuilds there and runs the suite: a fault the suite passes is
missed. The real tree is only read.

    python3 scripts/plant-faults.py [NAME...] [--list] [--windows] [--scratch DIR]

Exits 1 when a fault is missed, does not build, or its text is not found
exactly once (the table must stay true to the code), 2 when the unplanted
suite fails.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from planted_faults import FAULTS  # noqa: E402

ROOT = os.path.dirname(HERE)
# The native suite is one program; the Windows suite needs all of its programs.
BUILD_TARGETS = {"native": ["--target", "native_tests"], "win64": []}
# A fault may make a test wait for ever; no test takes this long unplanted.
TEST_TIMEOUT_S = {"native": "120", "win64": "600"}


def edits_of(fault):
    return fault.get("edits") or [dict(text=fault["text"], replacement=fault["replacement"])]


def preset_of(fault):
    return fault.get("preset", "native")


def untrue_texts(faults):
    """The faults whose text does not occur exactly once in the real tree."""
    problems = []
    for fault in faults:
        with open(os.path.join(ROOT, fault["file"]), encoding="utf-8") as source:
            content = source.read()
        for edit in edits_of(fault):
            if content.count(edit["text"]) != 1:
                problems.append(f'{fault["name"]}: found {content.count(edit["text"])} times in {fault["file"]}: '
                                f'{edit["text"]!r}')
    return problems


def copy_tree(scratch):
    """The tracked and the new untracked files of the working tree, as they are now."""
    listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"], cwd=ROOT,
                            check=True, capture_output=True).stdout.decode().split("\0")
    for name in filter(None, listed):
        source = os.path.join(ROOT, name)
        if not os.path.isfile(source):
            continue  # deleted in the working tree
        target = os.path.join(scratch, name)
        if os.path.isfile(target) and open(target, "rb").read() == open(source, "rb").read():
            continue  # unchanged since a kept scratch copy was made: no rebuild
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(source, target)


def run(command, scratch, log):
    with open(log, "w") as out:
        return subprocess.run(command, cwd=scratch, stdout=out, stderr=subprocess.STDOUT).returncode


def build(preset, scratch, log):
    if run(["cmake", "--preset", preset], scratch, log) != 0:
        return False
    return run(["cmake", "--build", "--preset", preset, *BUILD_TARGETS[preset]], scratch, log) == 0


def failed_tests(log):
    """The names under ctest's "The following tests FAILED:"."""
    names, listing = [], False
    for line in open(log, errors="replace"):
        if line.startswith("The following tests FAILED:"):
            listing = True
        elif listing and " - " in line:
            names.append(line.split(" - ", 1)[1].split(" (")[0].strip())
    return names


def test(preset, scratch, log):
    """True when the suite passes."""
    command = ["ctest", "--preset", preset, "--stop-on-failure", "--timeout", TEST_TIMEOUT_S[preset]]
    return run(command, scratch, log) == 0


def wine_problem():
    """Why the Windows suite cannot run here; None when it can."""
    try:
        probe = subprocess.run(["/usr/lib/wine/wine64", "--version"], capture_output=True, timeout=60)
    except (OSError, subprocess.TimeoutExpired) as error:
        return str(error)
    return None if probe.returncode == 0 else probe.stderr.decode(errors="replace").strip() or "wine64 failed"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("names", nargs="*", help="only these faults (default: all)")
    parser.add_argument("--list", action="store_true", help="list the faults and what a user would feel")
    parser.add_argument("--windows", action="store_true", help="also the faults only the Windows build shows (win64)")
    parser.add_argument("--scratch", help="keep the scratch copy and its builds here, for a later run")
    args = parser.parse_args()

    known = {fault["name"] for fault in FAULTS}
    if unknown := [name for name in args.names if name not in known]:
        sys.exit(f"unknown faults: {', '.join(unknown)} (see --list)")
    faults = [fault for fault in FAULTS if not args.names or fault["name"] in args.names]
    if args.list:
        for fault in faults:
            print(f'{fault["name"]} [{preset_of(fault)}] {fault["file"]}\n    feels: {fault["feel"]}\n'
                  f'    caught by: {fault["test"]}')
        return 0
    if problems := untrue_texts(faults):
        print("the table does not match the code:\n  " + "\n  ".join(problems))
        return 1

    skipped = []
    if not args.windows:
        skipped = [fault for fault in faults if preset_of(fault) != "native"]
        if skipped:
            print(f"{len(skipped)} Windows faults skipped (--windows plants them)")
    elif any(preset_of(fault) != "native" for fault in faults) and (why := wine_problem()):
        skipped = [fault for fault in faults if preset_of(fault) != "native"]
        print(f"{len(skipped)} Windows faults skipped: this machine cannot run Wine: {why}")
    faults = [fault for fault in faults if fault not in skipped]

    scratch = args.scratch or tempfile.mkdtemp(prefix="tessafold-faults-")
    os.makedirs(scratch, exist_ok=True)
    started = time.monotonic()
    results = []
    try:
        copy_tree(scratch)
        for preset in dict.fromkeys(preset_of(fault) for fault in faults):
            log = os.path.join(scratch, f"unplanted-{preset}.log")
            if not build(preset, scratch, log) or not test(preset, scratch, log):
                print(f"the unplanted {preset} build or suite fails, so no fault can be told caught: see {log}")
                return 2
            print(f"unplanted {preset} suite passes ({time.monotonic() - started:.0f} s)")
        for fault in faults:
            preset, path = preset_of(fault), os.path.join(scratch, fault["file"])
            with open(path, encoding="utf-8") as source:
                original = source.read()
            planted = original
            for edit in edits_of(fault):
                planted = planted.replace(edit["text"], edit["replacement"], 1)
            log = os.path.join(scratch, f'fault-{fault["name"]}.log')
            began = time.monotonic()
            try:
                with open(path, "w", encoding="utf-8") as source:
                    source.write(planted)
                if not build(preset, scratch, log):
                    outcome, by = "NOT BUILT", []
                elif test(preset, scratch, log):
                    outcome, by = "MISSED", []
                else:
                    outcome, by = "caught", failed_tests(log)
            finally:
                with open(path, "w", encoding="utf-8") as source:
                    source.write(original)
            results.append((fault, outcome))
            print(f'{outcome:9} {fault["name"]} [{preset}, {time.monotonic() - began:.0f} s]'
                  + (f' by {", ".join(by)}' if by else f' (log: {log})' if args.scratch and outcome != "caught" else ""),
                  flush=True)
    finally:
        if not args.scratch:
            shutil.rmtree(scratch, ignore_errors=True)

    caught = sum(outcome == "caught" for _, outcome in results)
    print(f"{caught} of {len(results)} planted faults caught"
          + (f", {len(skipped)} skipped" if skipped else "") + f" in {time.monotonic() - started:.0f} s")
    for fault, outcome in results:
        if outcome != "caught":
            print(f'  {outcome}: {fault["name"]}: {fault["feel"]}')
    return 0 if caught == len(results) else 1


if __name__ == "__main__":
    sys.exit(main())

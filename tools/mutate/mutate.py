#!/usr/bin/env python3
"""Seeds small faults into a copy of the tree, one at a time, and runs the
tests against each: a fault the tests do not notice is a missed one.

    tools/mutate/mutate.py                   # the work tree as it is now
    tools/mutate/mutate.py --rev main        # a commit instead
    tools/mutate/mutate.py --only comm.      # mutations whose name starts so
    tools/mutate/mutate.py --list            # show the mutations and stop

The copy and its build live in --work (default /tmp/panel-mutate) and are
kept between runs, so that ccache and ninja make the next run quick. The
build is a plain -O0 one without -Werror: a seeded fault that draws a
warning is still a fault the tests must find.

Mutations are listed in mutations.ini beside this script:

    [comm.rx-excess-byte]
    file = comm/DIS_Link.cpp
    find = rx.index < rx.capacity
    replace = rx.index <= rx.capacity
    occurrence = 1          (optional: which match, counting from 1)

An empty `replace` deletes the match. A mutation whose text is not found
is reported as stale and left out of the score; so is one that does not
build.
"""

import argparse
import configparser
import io
import os
import pathlib
import shutil
import subprocess
import sys
import tarfile
import time

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent

# Not about behaviour: formatting, include rules, the real-time race run, the
# desktop window (not built here).
EXCLUDE = r"^(style|layering|threads|desktop)\."
TARGETS = ["panel_tests", "panel-headless", "textfit"]


def run(cmd, cwd=None, env=None, timeout=None):
    return subprocess.run(cmd, cwd=cwd, env=env, timeout=timeout, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True)


def load_mutations(path):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(path, encoding="utf-8")
    mutations = []
    for name in parser.sections():
        s = parser[name]
        mutations.append({
            "name": name,
            "file": s["file"].strip(),
            "find": s["find"].replace("\\n", "\n"),
            "replace": s.get("replace", "").replace("\\n", "\n"),
            "occurrence": int(s.get("occurrence", "1")),
        })
    return mutations


def copy_tree(rev, tree):
    copy_files(rev, tree)
    # Fresh times: the build directory is kept, and ninja must not take an
    # object of the last run for one of this tree.
    for path in tree.rglob("*"):
        if path.is_file():
            os.utime(path)


def copy_files(rev, tree):
    if tree.exists():
        shutil.rmtree(tree)
    tree.mkdir(parents=True)
    if rev:
        data = subprocess.run(["git", "-C", str(ROOT), "archive", "--format=tar", rev],
                              check=True, stdout=subprocess.PIPE).stdout
        with tarfile.open(fileobj=io.BytesIO(data)) as t:
            t.extractall(tree)
        return
    files = subprocess.run(["git", "-C", str(ROOT), "ls-files", "-z", "-c", "-o", "--exclude-standard"],
                           check=True, stdout=subprocess.PIPE).stdout.decode().split("\0")
    for f in filter(None, files):
        src = ROOT / f
        if src.is_file():
            dst = tree / f
            dst.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy(src, dst)


def apply(tree, m):
    path = tree / m["file"]
    if not path.is_file():
        return None
    text = path.read_text(encoding="utf-8")
    at = -1
    for _ in range(m["occurrence"]):
        at = text.find(m["find"], at + 1)
        if at < 0:
            return None
    path.write_text(text[:at] + m["replace"] + text[at + len(m["find"]):], encoding="utf-8")
    return text


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--rev", help="test this commit instead of the work tree")
    ap.add_argument("--work", default="/tmp/panel-mutate", help="copy and build directory (kept)")
    ap.add_argument("--mutations", default=str(HERE / "mutations.ini"))
    ap.add_argument("--only", default="", help="run the mutations whose name starts with this")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--timeout", type=int, default=60, help="seconds per test")
    ap.add_argument("--list", action="store_true")
    args = ap.parse_args()

    mutations = [m for m in load_mutations(args.mutations) if m["name"].startswith(args.only)]
    if args.list:
        for m in mutations:
            print(f"{m['name']:40} {m['file']}")
        return 0

    work = pathlib.Path(args.work)
    tree, build = work / "tree", work / "build"
    env = dict(os.environ, CCACHE_BASEDIR=str(work), CCACHE_NOHASHDIR="1")
    copy_tree(args.rev, tree)
    configure = ["cmake", "-S", str(tree), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=",
                 "-DCMAKE_CXX_FLAGS=-O0", "-DPANEL_WERROR=OFF", "-DPANEL_BUILD_BENCH=OFF"]
    r = run(configure, env=env)
    if r.returncode != 0:
        print(r.stdout)
        return 2

    def build_ok():
        return run(["cmake", "--build", str(build), "-j", str(args.jobs), "--target", *TARGETS],
                   env=env).returncode == 0

    def tests(stop_early):
        cmd = ["ctest", "--test-dir", str(build), "-j", str(args.jobs), "-E", EXCLUDE, "--timeout",
               str(args.timeout)]
        if stop_early:
            cmd.append("--stop-on-failure")
        r = run(cmd, env=env)
        failed = [line.split("-", 1)[-1].strip() for line in r.stdout.splitlines()
                  if line.strip()[:1].isdigit() and " - " in line and "(" in line]
        return r.returncode == 0, failed, r.stdout

    started = time.monotonic()
    if not build_ok():
        print("the unmutated tree does not build")
        return 2
    ok, failed, out = tests(False)
    if not ok:
        print(out[-4000:])
        print("the unmutated tree fails its tests:", ", ".join(failed))
        return 2
    print(f"baseline built and green in {time.monotonic() - started:.0f} s")

    results = []
    for m in mutations:
        t0 = time.monotonic()
        original = apply(tree, m)
        if original is None:
            outcome, detail = "stale", "text not found"
        else:
            try:
                if not build_ok():
                    outcome, detail = "no-build", ""
                else:
                    ok, failed, _ = tests(True)
                    outcome = "missed" if ok else "caught"
                    detail = failed[0] if failed else ""
            finally:
                (tree / m["file"]).write_text(original, encoding="utf-8")
        results.append((m, outcome))
        print(f"{outcome:8} {m['name']:40} {time.monotonic() - t0:5.0f} s  {detail}", flush=True)

    print()
    # Areas by the name's prefix: a module may move to another folder.
    areas = sorted({m["name"].split(".")[0] for m, _ in results})
    total_caught = total_scored = 0
    for area in areas + ["all"]:
        if area == "all":
            caught, scored = total_caught, total_scored
        else:
            rows = [o for m, o in results if m["name"].split(".")[0] == area]
            caught = rows.count("caught")
            scored = caught + rows.count("missed")
            total_caught += caught
            total_scored += scored
        print(f"{area:6} {caught:3} of {scored:3} caught")
    build_ok()  # leave the copy built as it is
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Mutation run: how many small faults put into the game's code the tests catch.

Copies a commit of the repository into a scratch folder, builds it once, then for each of a
seeded sample of mutants (one operator, constant or condition changed on one line of src/)
builds again and runs every test (make test's ctest, under a private display where none is
set), stopping at the first failure. A mutant is killed when a test fails or times out, and
survives when all pass; one that does not compile is left out of the rate.

Usage: scripts/mutate.py [--count N] [--seed S] [--commit REV] [--only PATH ...] [--tests RE]
                         [--log FOLDER] [--every] [REPO]
The same count, seed and commit give the same mutants, so that runs before and after a
change can be compared. --tests runs only the ctest tests that RE matches, for a quick look at
the faults in a few files; GTEST_FILTER, if set, leaves tests of the test programs out. --log
keeps what the tests said about each mutant, so that one can see which check caught it; with
--every, all tests run, not only those up to the first failure. A run of 40 mutants takes 15
to 30 minutes on two cores.
"""

import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

# (pattern, replacement) pairs, tried at every match on a line. Patterns are chosen so that
# a replacement stays valid C++ in most places.
MUTATIONS = [
    (r"==", "!="),
    (r"!=", "=="),
    (r"(?<![<>=!])<=", "<"),
    (r"(?<![<>=!])>=", ">"),
    (r"(?<=\s)<(?=\s)", "<="),
    (r"(?<=\s)>(?=\s)", ">="),
    (r"&&", "||"),
    (r"\|\|", "&&"),
    (r"(?<=\s)\+(?=\s)", "-"),
    (r"(?<=\s)-(?=\s)", "+"),
    (r"(?<=\s)\*(?=\s)", "/"),
    (r"(?<=\s)/(?=\s)", "*"),
    (r"\+\+", "--"),
    (r"--(?=\w|;|\))", "++"),
    (r"\btrue\b", "false"),
    (r"\bfalse\b", "true"),
    (r"(?<![\w.])(\d+)(?![\w.])", "INC"),
    (r"(?<![\w.])(\d+\.\d*)f", "INCF"),
    (r"if \(!", "if ("),
    (r"\bstd::min\b", "std::max"),
    (r"\bstd::max\b", "std::min"),
    (r"\bstd::floor\b", "std::ceil"),
    (r"\bstd::round\b", "std::floor"),
]

SKIP_LINE = re.compile(r"^\s*(#|//|/\*|\*|static_assert)")


def candidates(root, paths):
    found = []
    for path in paths:
        with open(os.path.join(root, path), encoding="utf-8") as source:
            lines = source.read().split("\n")
        for number, line in enumerate(lines):
            if SKIP_LINE.match(line) or '"' in line and line.strip().startswith('"'):
                continue
            code = line.split("//")[0]
            for pattern, replacement in MUTATIONS:
                for match in re.finditer(pattern, code):
                    if replacement == "INC":
                        new = str(int(match.group(1)) + 1)
                    elif replacement == "INCF":
                        new = "%sf" % (float(match.group(1)) + 1)
                    else:
                        new = replacement
                    mutated = line[: match.start()] + new + line[match.end():]
                    if mutated != line and not inside_string(line, match.start()):
                        found.append((path, number, line, mutated))
    return found


def inside_string(line, column):
    return line[:column].count('"') % 2 == 1


def run(command, cwd, timeout, env=None):
    try:
        result = subprocess.run(command, cwd=cwd, timeout=timeout, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                errors="replace")
        return result.returncode, result.stdout
    except subprocess.TimeoutExpired:
        return "timeout", ""


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("repo", nargs="?", default=os.path.join(os.path.dirname(__file__), ".."))
    parser.add_argument("--count", type=int, default=40)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--commit", default="HEAD")
    parser.add_argument("--only", nargs="*", help="mutate only these files (paths under the repo)")
    parser.add_argument("--tests", help="run only the ctest tests this regular expression matches")
    parser.add_argument("--keep", action="store_true", help="keep the scratch folder")
    parser.add_argument("--log", help="write each mutant's test output into this folder")
    parser.add_argument("--every", action="store_true", help="run every test, not only up to "
                        "the first failure")
    arguments = parser.parse_args()

    repo = os.path.abspath(arguments.repo)
    scratch = tempfile.mkdtemp(prefix="kraxelbrett-mutants-")
    tree = os.path.join(scratch, "tree")
    os.makedirs(tree)
    archive = subprocess.run(["git", "-C", repo, "archive", arguments.commit],
                             stdout=subprocess.PIPE, check=True).stdout
    subprocess.run(["tar", "-x", "-C", tree], input=archive, check=True)
    commit = subprocess.run(["git", "-C", repo, "rev-parse", "--short", arguments.commit],
                            stdout=subprocess.PIPE, text=True, check=True).stdout.strip()

    sources = subprocess.run(["git", "-C", repo, "ls-tree", "-r", "--name-only", arguments.commit,
                              "src"], stdout=subprocess.PIPE, text=True, check=True).stdout.split()
    sources = [s for s in sources if s.endswith((".cpp", ".hpp"))]
    if arguments.only:
        sources = [s for s in sources if s in arguments.only]
    pool = candidates(tree, sources)
    sample = random.Random(arguments.seed).sample(pool, min(arguments.count, len(pool)))
    print(f"mutate: commit {commit}, {len(pool)} candidates, {len(sample)} mutants, "
          f"seed {arguments.seed}, tests {arguments.tests or 'all'}, "
          f"GTEST_FILTER={os.environ.get('GTEST_FILTER', '')}", flush=True)

    build = os.path.join(tree, "build")
    env = dict(os.environ)
    env.pop("KRAXELBRETT_RECORD", None)
    test = ["scripts/with-display.sh", "ctest", "--test-dir", "build", "--output-on-failure",
            "--timeout", "180"] + (["-R", arguments.tests] if arguments.tests else []) + \
        ([] if arguments.every else ["--stop-on-failure"])
    subprocess.run(["cmake", "-S", ".", "-B", "build", "-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
                   cwd=tree, stdout=subprocess.DEVNULL, check=True)
    started = time.time()
    code, output = run(["cmake", "--build", "build", "-j", str(os.cpu_count())], tree, 1800)
    if code != 0:
        sys.exit("mutate: the unchanged tree does not build:\n" + output[-3000:])
    code, output = run(test, tree, 1800, env)
    if code != 0:
        sys.exit("mutate: the unchanged tree fails its tests:\n" + output[-3000:])
    print(f"mutate: unchanged tree built and tested in {time.time() - started:.0f} s", flush=True)

    killed, survived, broken = [], [], []
    for number, (path, line_number, original, mutated) in enumerate(sample, 1):
        file = os.path.join(tree, path)
        with open(file, encoding="utf-8") as source:
            text = source.read()
        lines = text.split("\n")
        lines[line_number] = mutated
        with open(file, "w", encoding="utf-8") as source:
            source.write("\n".join(lines))
        where = f"{path}:{line_number + 1}: {original.strip()}  ->  {mutated.strip()}"
        try:
            code, _ = run(["cmake", "--build", "build", "-j", str(os.cpu_count())], tree, 900)
            if code != 0:
                broken.append(where)
                verdict = "does not compile"
            else:
                code, output = run(test, tree, 900, env)
                if arguments.log:
                    os.makedirs(arguments.log, exist_ok=True)
                    with open(os.path.join(arguments.log, f"{number:03}.txt"), "w") as log:
                        log.write(where + "\n" + output)
                failed = re.findall(r"\d+ - (\S+) \(", output)
                if code == 0:
                    survived.append(where)
                    verdict = "SURVIVED"
                else:
                    killed.append(where)
                    verdict = "killed by " + (", ".join(failed) or str(code))
        finally:
            with open(file, "w", encoding="utf-8") as source:
                source.write(text)
        print(f"[{number}/{len(sample)}] {verdict}: {where}", flush=True)

    compiled = len(killed) + len(survived)
    rate = 100.0 * len(killed) / compiled if compiled else 0.0
    print(f"\nmutate: commit {commit}, seed {arguments.seed}: {len(killed)} killed of "
          f"{compiled} that compiled ({len(broken)} do not compile): {rate:.1f} %")
    for where in survived:
        print("  survived: " + where)
    if arguments.keep:
        print("mutate: scratch folder kept: " + scratch)
    else:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()

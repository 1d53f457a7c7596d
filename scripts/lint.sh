#!/usr/bin/env bash
# Checks the layout (clang-format) and runs clang-tidy over the project's own code, with the
# compile commands of the given build folder. Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

mapfile -t sources < <(git ls-files '*.cpp' '*.hpp' '*.c')
clang-format --dry-run --Werror "${sources[@]}"

mapfile -t units < <(git ls-files '*.cpp')
# clang-tidy counts the warnings it suppresses in system headers on stderr; only findings
# (which are errors here) are worth showing.
printf '%s\n' "${units[@]}" |
  xargs -P "$(nproc)" -n 1 clang-tidy -p "$build_dir" --quiet 2> >(grep -v 'warnings generated' >&2)
echo "clang-format and clang-tidy: clean"

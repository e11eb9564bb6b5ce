#!/usr/bin/env bash
# The long run of the mutation test: the same harness as in ./test.sh, with many more cases, in
# the sanitizer build of the core libraries. Extra arguments go to the harness, e.g.
#   scripts/fuzz.sh --cases 100000 --seed 7
# (default: --cases 100000). Each kind prints its figures; a fault stops the run with the
# sanitizer's report, and --case K --trace with the same seed runs that one input again.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B out/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DMORVANE_SANITIZE=ON -DMORVANE_CORE_ONLY=ON -DMORVANE_BENCHMARKS=OFF >/dev/null
cmake --build out/sanitize -j "$(nproc)" --target fuzz_tests

args=("$@")
if [[ ! " ${args[*]} " =~ " --cases " ]]; then
    args=(--cases 100000 "${args[@]}")
fi
start=$(date +%s)
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    out/sanitize/bin/fuzz_tests "${args[@]}"
echo "fuzz run: $(( $(date +%s) - start )) s"

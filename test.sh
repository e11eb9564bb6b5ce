#!/usr/bin/env bash
# Builds everything and runs every test: first the core libraries under AddressSanitizer and
# UndefinedBehaviorSanitizer (out/sanitize), then the whole program (out).
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

jobs=$(nproc)

echo "== Core libraries under the sanitizers =="
cmake -S . -B out/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DMORVANE_SANITIZE=ON -DMORVANE_CORE_ONLY=ON -DMORVANE_BENCHMARKS=OFF >/dev/null
cmake --build out/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir out/sanitize -j "$jobs" --output-on-failure

echo "== Everything =="
cmake -S . -B out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build out -j "$jobs"
ctest --test-dir out -j "$jobs" --output-on-failure

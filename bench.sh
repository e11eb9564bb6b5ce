#!/usr/bin/env bash
# Builds and runs the benchmarks (never part of the tests).
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build out -j "$(nproc)" --target level_io_bench build_bench undo_bench project_io_bench \
    import_bench view_bench object_view_bench editor_bench editor_undo_bench morvane3d-cli
out/bin/level_io_bench "$@"
out/bin/build_bench "$@"
out/bin/undo_bench "$@"
out/bin/project_io_bench "$@"
out/bin/import_bench "$@"
xvfb-run -a -s "-screen 0 1280x1024x24" out/bin/view_bench "$@"
xvfb-run -a -s "-screen 0 1280x1024x24" out/bin/object_view_bench "$@"
mkdir -p out/demo
out/bin/morvane3d-cli make-demo-level --layout tr1 out/demo/BENCH.PHD
out/bin/morvane3d-cli make-demo-project out/demo/bench.mvn --base "$PWD/out/demo/BENCH.PHD"
xvfb-run -a -s "-screen 0 1280x1024x24" out/bin/editor_bench out/demo/bench.mvn
xvfb-run -a -s "-screen 0 1280x1024x24" out/bin/editor_undo_bench out/demo/bench.mvn "$@"

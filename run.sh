#!/usr/bin/env bash
# Sets up a fresh machine, builds, makes the demo base level and shows its summary.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build out -j "$(nproc)"

mkdir -p out/demo
if [ ! -f out/demo/DEMO.PHD ]; then
    out/bin/morvane3d-cli make-demo-level --layout tr1 out/demo/DEMO.PHD
fi
out/bin/morvane3d-cli info out/demo/DEMO.PHD

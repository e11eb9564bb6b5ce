#!/usr/bin/env bash
# Sets up a fresh machine, builds, makes the demo base level and the demo project when they do
# not exist yet, and opens the editor on the project in the textured mode.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
cmake -S . -B out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build out -j "$(nproc)" --target morvane3d morvane3d-cli

mkdir -p out/demo
if [ ! -f out/demo/DEMO.PHD ]; then
    out/bin/morvane3d-cli make-demo-level --layout tr1 out/demo/DEMO.PHD
fi
if [ ! -f out/demo/demo.mvn ]; then
    out/bin/morvane3d-cli make-demo-project out/demo/demo.mvn \
        --base "$PWD/out/demo/DEMO.PHD" --out "$PWD/out/demo/BUILT.PHD"
fi

# Without a display (a fresh server, CI) the editor runs on a virtual one.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" out/bin/morvane3d out/demo/demo.mvn --mode textured "$@"
fi
exec out/bin/morvane3d out/demo/demo.mvn --mode textured "$@"

#!/usr/bin/env bash
# Installs what is missing, builds Zelmar and starts it. On a first run the
# example rules are copied beside the built program, so that it opens with a
# working progression.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default
cmake --build --preset default -j2 --target zelmar zelmar-replay

bin=build/app
for f in winText.txt lostText.txt; do
    [ -e "$bin/$f" ] || cp "examples/$f" "$bin/$f"
done

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting Zelmar inside a virtual X server (xvfb-run)."
    exec xvfb-run -a "$bin/zelmar"
fi
exec "$bin/zelmar"

#!/usr/bin/env bash
# Sets up, builds and starts the configurator on the built-in simulated
# keyboard.  Extra arguments go to the program (for example --simulate=Zarn).
# Only the program is built (library, program, skins, help), not the tests
# and benchmarks: ./scripts/test.sh builds those.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<'TEXT'
run.sh: there is no display to show the configurator on (neither DISPLAY nor
WAYLAND_DISPLAY is set).  Start it from a terminal of a desktop session, or
under a virtual display: xvfb-run -s '-screen 0 1920x1080x24' ./scripts/run.sh
To build without starting it: ./scripts/build.sh dev Zarn
TEXT
    exit 1
fi
./scripts/build.sh dev Zarn
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(--simulate)
exec build/dev/app/Zarn "${args[@]}"

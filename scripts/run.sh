#!/usr/bin/env bash
# Sets up, builds and starts the configurator on the built-in simulated
# keyboard.  Extra arguments go to the program (for example --simulate=Zarn).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh dev
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(--simulate)
exec build/dev/app/Zarn "${args[@]}"

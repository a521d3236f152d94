#!/usr/bin/env bash
# Sets up the machine and builds the given preset (default: dev); targets
# after the preset build only those (default: everything, tests included).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
shift || true
./scripts/setup-debian.sh
cmake --preset "$preset" >/dev/null
if [ $# -gt 0 ]; then
    cmake --build --preset "$preset" --target "$@"
else
    cmake --build --preset "$preset"
fi

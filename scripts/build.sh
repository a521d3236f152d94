#!/usr/bin/env bash
# Sets up the machine and builds the given preset (default: dev).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
./scripts/setup-debian.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

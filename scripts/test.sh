#!/usr/bin/env bash
# Sets up, builds and runs the whole suite.  Preset: the first argument, else
# "ci" (warnings are errors) under CI, else "dev".
set -euo pipefail
cd "$(dirname "$0")/.."
default=dev
[ "${CI:-}" = "true" ] && default=ci
preset="${1:-$default}"
./scripts/build.sh "$preset"
ctest --preset "$preset"

#!/usr/bin/env bash
# Builds the "fuzz" preset (clang, sanitizers, no GUI or tests) and runs every
# libFuzzer target found under build/fuzz (executables named fuzz_*) for
# SECONDS each, after the inputs that once hung it.  Seeds come from
# fuzz/*/corpus/<target>/ when present; what a run finds is kept in
# build/fuzz/corpus/<target>/ for the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

cmake --preset fuzz
# Only the fuzz targets: the rest of the tree links the instrumented device
# library without the sanitizer runtime that a fuzz target brings.
mapfile -t names < <(cmake --build --preset fuzz --target help | grep -o '^fuzz_[A-Za-z0-9_]*' | sort -u)
if [ "${#names[@]}" -eq 0 ]; then
    echo "no fuzz targets are defined" >&2
    exit 1
fi
cmake --build --preset fuzz -j2 --target "${names[@]}"

mapfile -t targets < <(find build/fuzz -type f -name 'fuzz_*' -perm -u+x | sort)
if [ "${#targets[@]}" -eq 0 ]; then
    echo "no fuzz targets were built" >&2
    exit 1
fi

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
failed=0
for target in "${targets[@]}"; do
    name="$(basename "$target")"
    corpus="build/fuzz/corpus/$name"
    artifacts="build/fuzz/artifacts/$name/"
    mkdir -p "$corpus" "$artifacts"
    seeds=()
    for dir in fuzz/*/corpus/"$name"; do
        [ -d "$dir" ] && seeds+=("$dir")
    done
    # Inputs that once took seconds or minutes (fuzz/*/hangs/<target>/) run
    # first, each on its own: they are too big to be mutated quickly, so they
    # stay out of the corpus, but each must end within the time-out.
    hangs=()
    for dir in fuzz/*/hangs/"$name"; do
        [ -d "$dir" ] && hangs+=("$dir"/*)
    done
    if [ "${#hangs[@]}" -gt 0 ]; then
        echo "== $name on ${#hangs[@]} inputs that once hung"
        if ! "$target" -timeout=5 -rss_limit_mb=2048 -artifact_prefix="$artifacts" "${hangs[@]}"; then
            echo "== $name FAILED on an input that once hung" >&2
            failed=1
            continue
        fi
    fi
    echo "== $name for ${seconds}s"
    # No single input may take seconds: one that does is a hang waiting to
    # freeze the program.
    if ! "$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts" "$corpus" "${seeds[@]}"; then
        echo "== $name FAILED (inputs in $artifacts)" >&2
        failed=1
    fi
done
exit "$failed"

#!/usr/bin/env bash
# The program as a native Wayland client: starts a headless weston, runs the
# program on the simulated keyboard in it (no X display at all), checks that
# it maps its main window through the Wayland protocol at the scale of the
# output's height, and that it ends cleanly.  Skips where weston or Qt's
# Wayland plugin is missing.
set -euo pipefail

build="${1:-build/dev}"
program="$build/app/Zarn"
if ! command -v weston >/dev/null; then
    echo "smoke-wayland: weston missing, skipped"
    exit 0
fi
plugins="$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)"
if ! ls "$plugins"/platforms/libqwayland-*.so >/dev/null 2>&1; then
    echo "smoke-wayland: Qt's Wayland plugin (qt6-wayland) missing, skipped"
    exit 0
fi
if [ ! -x "$program" ]; then
    echo "smoke-wayland: $program not built" >&2
    exit 1
fi

work="$(mktemp -d)"
cleanup() {
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
    [ -n "${weston:-}" ] && kill "$weston" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime" XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_STATE_HOME" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY QT_QPA_PLATFORM ZARN_SCALE ZARN_VIRTUAL_HID

fail() {
    echo "smoke-wayland: $*" >&2
    tail -n 20 "$work/weston.log" >&2 || true
    grep -v '^\[' "$work/stderr" | tail -n 20 >&2 || true
    exit 1
}

# 1920 x 1080 is ScaleFactor 1.5: the main window's 1280 x 670 design is 1920 x 1005.
weston --backend=headless-backend.so --socket=wayland-zarn --width=1920 --height=1080 --idle-time=0 \
    >"$work/weston.log" 2>&1 &
weston=$!
for _ in $(seq 1 50); do
    [ -S "$XDG_RUNTIME_DIR/wayland-zarn" ] && break
    kill -0 "$weston" 2>/dev/null || fail "weston did not start"
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/wayland-zarn" ] || fail "weston did not open its socket"

WAYLAND_DISPLAY=wayland-zarn WAYLAND_DEBUG=client "$program" --simulate 2>"$work/stderr" &
pid=$!
mapped=""
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || fail "the program ended unexpectedly"
    mapped="$(grep -o 'xdg_surface@[0-9]*\.set_window_geometry([^)]*)' "$work/stderr" | head -n1 || true)"
    [ -n "$mapped" ] && grep -q 'xdg_toplevel@[0-9]*\.set_title' "$work/stderr" && break
    sleep 0.1
done
[ -n "$mapped" ] || fail "the program mapped no window through Wayland"
case "$mapped" in
*"(0, 0, 1920, 1005)") echo "smoke-wayland: the main window is a Wayland toplevel of 1920 x 1005 (ScaleFactor 1.5)" ;;
*) fail "the main window is not at ScaleFactor 1.5: $mapped" ;;
esac
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the program ended unexpectedly"
kill -TERM "$pid"
wait "$pid" 2>/dev/null || true
pid=""
echo "smoke-wayland: passed"

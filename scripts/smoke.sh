#!/usr/bin/env bash
# End-to-end smoke of the program on the simulated keyboard under Xvfb:
# sets a key in the key settings dialog (every page of which it shows in
# both languages), undoes and redoes that with Ctrl+Z and Ctrl+Shift+Z,
# records a macro on another through the keyboard grab,
# writes the keys, reads everything, colours a key and writes the colours,
# switches the language, takes screenshots into BUILD_DIR/screenshots/ and
# exits through the exit command; then asks the simulated keyboard whether it
# holds the keys.  Fails when the program stops answering or ends on its own,
# or when the keyboard does not hold the keys or the colour written.
set -euo pipefail

build="${1:-build/dev}"
program="$build/app/Zarn"
shots="$build/screenshots"

if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
    echo "smoke: xvfb-run or xdotool missing, skipped"
    exit 0
fi
if [ ! -x "$program" ]; then
    echo "smoke: $program not built" >&2
    exit 1
fi
mkdir -p "$shots"

if [ -z "${ZARN_SMOKE_INSIDE:-}" ]; then
    export ZARN_SMOKE_INSIDE=1
    # 1600 x 900 is below 1080 lines: ScaleFactor 1, so positions are the layout's own.
    exec xvfb-run -a -s "-screen 0 1600x900x24" "$0" "$@"
fi

work="$(mktemp -d)"
cleanup() {
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime" XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_STATE_HOME" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
unset ZARN_SCALE ZARN_VIRTUAL_HID

"$program" --simulate 2>"$work/stderr" &
pid=$!

fail() {
    echo "smoke: $*" >&2
    cat "$work/stderr" >&2 || true
    exit 1
}
alive() { kill -0 "$pid" 2>/dev/null || fail "the program ended unexpectedly"; }

window=""
for _ in $(seq 1 100); do
    window="$(xdotool search --onlyvisible --name '^ZarnRGB\.BT$' 2>/dev/null | head -n1 || true)"
    [ -n "$window" ] && break
    alive
    sleep 0.1
done
[ -n "$window" ] || fail "the main window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
left=$X
top=$Y

# Moves the pointer to a screen point, clicks and waits (half a second unless told).
clickAt() {
    alive
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool click 1
    sleep "${3:-0.5}"
}
click() { # 1080-based layout point of the main window
    clickAt $((left + $1)) $((top + $2)) "${3:-0.5}"
}
# Waits for a message box (a second visible window of the program) and answers it.
answer() {
    local key="$1" boxes
    for _ in $(seq 1 150); do
        alive
        # Message boxes carry the model name as caption, the program's dialogs none.
        boxes="$(xdotool search --onlyvisible --name '^ZarnRGB\.BT$' 2>/dev/null | grep -vx "$window" || true)"
        if [ -n "$boxes" ]; then
            sleep 0.3
            xdotool windowactivate --sync "$(echo "$boxes" | head -n1)" 2>/dev/null || true
            xdotool key "$key"
            sleep 0.5
            return 0
        fi
        sleep 0.1
    done
    fail "no message box appeared"
}
shot() {
    /usr/bin/import -window root "$shots/$1.png"
    echo "smoke: screenshot $shots/$1.png"
}
# Waits for a dialog of the program over the main window; its place and size
# go to dx, dy, dw, dh.
find_dialog() {
    local found=""
    for _ in $(seq 1 50); do
        alive
        found="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$window" | head -n1 || true)"
        [ -n "$found" ] && break
        sleep 0.1
    done
    [ -n "$found" ] || fail "$1 did not appear"
    eval "$(xdotool getwindowgeometry --shell "$found")"
    dx=$X dy=$Y dw=$WIDTH dh=$HEIGHT
}
dialog_click() { # layout point of the dialog found last
    clickAt $((dx + $1)) $((dy + $2)) "${3:-0.5}"
}
# Every page of the key settings dialog, each tab clicked as a person would.
key_pages() {
    for n in 0 1 2 3 4 5 6; do
        dialog_click $((56 + 78 * n)) 64
        /usr/bin/import -window root -crop "${dw}x${dh}+${dx}+${dy}" "$shots/keys-$1-page$((n + 1)).png"
    done
    echo "smoke: screenshots $shots/keys-$1-page1..7.png"
}
# The newest window of the program that is none of those given.
newWindow() {
    local found
    for _ in $(seq 1 50); do
        alive
        found="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vxF "$(printf '%s\n' "$@")" |
            tail -n1 || true)"
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    return 1
}
clickIn() { # window, 1080-based point in it
    alive
    eval "$(xdotool getwindowgeometry --shell "$1")"
    clickAt $((X + $2)) $((Y + $3)) "${4:-0.5}"
}
# Opens the backlight settings and its multi-key dialog with one key selected,
# takes a screenshot of each, and cancels the multi-key dialog; the backlight
# dialog stays open as $backlight.
lightDialogs() {
    local lang="$1" multi
    click 485 110 1 # LightSet
    backlight="$(newWindow "$window")" || fail "the backlight dialog did not appear"
    clickIn "$backlight" 461 437 1 # MultiKey
    multi="$(newWindow "$window" "$backlight")" || fail "the multi-key dialog did not appear"
    clickIn "$multi" 329 290 # S, selected
    xdotool mousemove $((left + 640)) $((top + 30))
    sleep 0.3
    shot "multikey-$lang"
    clickIn "$multi" 1221 27 # close mark: nothing changes
    shot "backlight-$lang"
}
# The colour the keyboard holds for key number $1, as six hex digits.
heldColour() {
    sed -n 's/^lights //p' "$XDG_STATE_HOME/zarn/ZarnRGB.BT.state" 2>/dev/null | cut -c$((6 * ($1 - 1) + 1))-$((6 * $1))
}

sleep 1
shot main-zh
click 293 385 1 # key A: the key settings
find_dialog "the key settings dialog"
key_pages zh
dialog_click 290 64 # Multimedia
dialog_click 413 170 # Mute
dialog_click 407 336 # OK
xdotool mousemove $((left + 640)) $((top + 30))
# Ctrl+Z takes the key edit back, Ctrl+Shift+Z brings it again: the marker
# bar at the foot of key A is magenta (Multimedia) only while A is Mute.
markerOfA() {
    sleep 0.5
    /usr/bin/import -window root -crop "1x1+$((left + 293))+$((top + 405))" +repage -depth 8 txt:- 2>/dev/null |
        grep -o '#[0-9A-F]\{6\}' | head -n1
}
[ "$(markerOfA)" = "#FF00FF" ] || fail "key A shows no Multimedia marker after the edit ($(markerOfA))"
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key ctrl+z
[ "$(markerOfA)" != "#FF00FF" ] || fail "Ctrl+Z left key A as Mute"
shot main-undone
xdotool key ctrl+shift+z
[ "$(markerOfA)" = "#FF00FF" ] || fail "Ctrl+Shift+Z did not bring Mute back to key A ($(markerOfA))"
echo "smoke: Ctrl+Z and Ctrl+Shift+Z undo and redo the key edit"
click 385 385 1 # key D: a macro recorded through the keyboard grab
find_dialog "the key settings dialog"
dialog_click 134 64 # Macro
dialog_click 75 273 # New: the offered name opens for editing
xdotool key Return  # takes it
sleep 0.3
dialog_click 462 231 # Record
xdotool key --delay 200 a b # reaches the grab whatever window has the focus
sleep 0.5
/usr/bin/import -window root -crop "${dw}x${dh}+${dx}+${dy}" "$shots/keys-zh-recording.png"
echo "smoke: screenshot $shots/keys-zh-recording.png"
dialog_click 462 231 # Stop Rec: the closing "<50 ms>"
dialog_click 407 336 # OK
xdotool mousemove $((left + 640)) $((top + 30))
click 380 110 2 # write keys
answer Return   # "OK!!"
click 587 110 1 # read everything: keys, two seconds, then the lights
shot read-progress
answer Return
click 797 110 2 # read the counters: the most and least used keys appear
answer Return
lightDialogs zh
clickIn "$backlight" 283 266 1.5 # key A: the colour chooser
xdotool key alt+h # its HTML field
sleep 0.2
xdotool key ctrl+a
xdotool type '#00ff80'
xdotool key Return
sleep 0.5
shot backlight-coloured
clickIn "$backlight" 656 437 1.5 # Write
answer Return # "OK!"
[ "$(heldColour 43)" = "00ff80" ] || fail "the keyboard holds '$(heldColour 43)' for key A, not 00ff80"
click 691 110 1 # firmware update dialog
shot firmware
find_dialog "the firmware update dialog"
dialog_click 343 27 # its close mark
click 900 110   # language
click 339 385 1 # key S: the key settings in English (cancelled)
find_dialog "the key settings dialog"
key_pages en
xdotool key Escape
sleep 0.3
xdotool mousemove $((left + 400)) $((top + 385)) # hover a key: its layers in the status box
sleep 0.5
shot main-en
click 1138 100 # Fn layer
shot main-en-fn
click 1138 100 # back to the top layer
lightDialogs en
clickIn "$backlight" 560 437 1.5 # Read
answer Return # "OK!"
clickIn "$backlight" 853 437 # Cancel
alive

click 1206 35 # exit: "Save configuration file of key??"
answer Escape # No
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    fail "the program did not end after the exit command"
fi
wait "$pid" || fail "the program ended with status $?"
pid=""

# The keyboard keeps what was written, as the next run (here zarnctl) finds it.
zarnctl="$build/tools/zarnctl/zarnctl"
if [ -x "$zarnctl" ]; then
    held="$("$zarnctl" --simulate show --json 2>/dev/null | grep '"key": 43,' || true)"
    case "$held" in
    *'"type": "Multimedia", "assignment": "Mute"'*) echo "smoke: key A holds Mute on the keyboard" ;;
    *) fail "key A does not hold Mute on the keyboard: ${held:-nothing read}" ;;
    esac
    # Press A, a delay, release A, ..., release B, with the delays as recorded (a read-back
    # leaves out the delay after the last step).
    macro="$("$zarnctl" --simulate show --json 2>/dev/null | grep '"key": 45,' || true)"
    if [[ "$macro" =~ \"type\":\ \"Macro\",\ \"assignment\":\ \"A,([0-9]+),A,([0-9]+),B,([0-9]+),B\" ]] &&
        ((BASH_REMATCH[2] >= 50)); then
        echo "smoke: key D holds the recorded macro: ${BASH_REMATCH[0]}"
    else
        fail "key D does not hold the recorded macro: ${macro:-nothing read}"
    fi
fi
echo "smoke: passed"

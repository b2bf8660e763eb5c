#!/usr/bin/env bash
# The real program in a real window: a virtual display with a window manager, a private sound
# server playing a tone at transform bin 40 (1722.7 Hz) on the left channel. Each of the seven
# views is shown, captured and checked for its structure; then a SIGTERM must save the
# settings, and a second start must restore them.
#
#   desktop-test.sh ONDREL DEMO_SIGNAL
set -u
ondrel=$1
signal_tool=$2
here=$(cd "$(dirname "$0")" && pwd)
SESSION_PIDS=()
. "$here/../../scripts/test-session.sh"

work=$(mktemp -d)
failures=0
passes=0
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null
    session_stop
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { passes=$((passes + 1)); }

export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
session_start_sound "$work" || exit 1
session_start_display "$work" || exit 1

"$signal_tool" --tone 40 120 "$work/tone.wav" || exit 1
paplay --device=ondrel_test "$work/tone.wav" 2>/dev/null &
SESSION_PIDS+=("$!")

# The program keeps its settings beside itself: give it a folder of its own.
mkdir -p "$work/bin/Program Data"
cp "$ondrel" "$work/bin/ondrel"
settings="$work/bin/Program Data/Level.dat"

window_id() {
    xwininfo -root -tree 2>/dev/null | grep 'Ver.1.41' | grep -v 'has no name' | head -n 1 |
        awk '{print $1}'
}

start() {
    "$work/bin/ondrel" >>"$work/app.log" 2>&1 &
    app=$!
    local id=""
    for _ in $(seq 100); do
        id=$(window_id)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || { fail "no window appeared"; return 1; }
    sleep 2.5 # the view settles on the tone
    window=$id
}

stop() {
    kill -TERM "$app"
    wait "$app"
    local status=$?
    app=""
    [ "$status" -eq 0 ] || {
        fail "the program ended with status $status after SIGTERM"
        tail -n 20 "$work/app.log"
    }
}

# "r g b" of the client pixel (x, y) of the last capture.
pixel() {
    convert "$shot" -format "%[fx:int(255*p{$1,$2}.r+0.5)] %[fx:int(255*p{$1,$2}.g+0.5)] %[fx:int(255*p{$1,$2}.b+0.5)]" info:
}
is_black() { [ "$(pixel "$1" "$2")" = "0 0 0" ]; }
# Any pixel of the column x from y0 to y1 not black.
column_lit() {
    local y
    for y in $(seq "$2" "$3"); do
        is_black "$1" "$y" || return 0
    done
    return 1
}
# Lit pixels of the column x between rows y0 and y1.
lit_count() {
    convert "$shot" -crop "1x$(($3 - $2 + 1))+$1+$2" -threshold 0 -format '%[fx:int(mean*h+0.5)]' info:
}
# Lit pixels of the rectangle x, y, width, height.
lit_area() {
    convert "$shot" -crop "$3x$4+$1+$2" -threshold 0 -format '%[fx:int(mean*w*h+0.5)]' info:
}
# Red + green + blue of a pixel.
brightness() {
    local r g b
    read -r r g b <<<"$(pixel "$1" "$2")"
    echo $((r + g + b))
}
# The largest of the values printed by a command run once per argument.
largest() {
    local command=$1 best=0 value
    shift
    for argument in "$@"; do
        value=$($command $argument)
        [ "$value" -gt "$best" ] && best=$value
    done
    echo "$best"
}
lit_bar() { lit_count "$1" 20 127; }
row_brightness() { brightness 355 "$1"; }
reddish() {
    local r g b
    read -r r g b <<<"$(pixel "$1" "$2")"
    [ "$r" -gt 120 ] && [ "$r" -gt $((g + 60)) ]
}

client_size() {
    xwininfo -id "$window" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

capture() { # view name, expected client size
    shot="$work/$1.png"
    for _ in $(seq 50); do
        [ "$(client_size)" = "$2" ] && break
        sleep 0.1
    done
    import -window "$window" "$shot" 2>/dev/null || fail "$1: no screenshot"
    local geometry
    geometry=$(identify -format '%wx%h' "$shot" 2>/dev/null)
    echo "$1: $geometry"
    [ "$geometry" = "$2" ] || fail "$1: client area $geometry, expected $2"
}

check_view() {
    case $1 in
    101)
        capture decibel 380x70
        [ "$(pixel 23 16)" = "24 240 24" ] && pass || fail "decibel: first lamp not lit: $(pixel 23 16)"
        [ "$(pixel 353 16)" = "55 0 0" ] && pass || fail "decibel: last lamp not dark red: $(pixel 353 16)"
        ;;
    102)
        capture analog 480x120
        # At rest the left needle runs from (120, 150) to (5, 80); the tone lifts it.
        if reddish 62 115 || reddish 30 95; then fail "analog: left needle at rest"; else pass; fi
        ;;
    103)
        capture spectrum-detail 360x128
        # The tone's bar stands far above the window's leakage at bin 150. A tone of sine phase
        # against the block lands on its bin, one of cosine phase on the bins beside it.
        tone=$(largest lit_bar 39 40 41) far=$(lit_count 150 20 127)
        [ "$tone" -gt 20 ] && [ "$tone" -gt $((3 * far)) ] && pass ||
            fail "spectrum-detail: bar at bin 40 has $tone lit pixels, at bin 150 $far"
        ;;
    104)
        capture spectrum 360x128
        # Bins 36 to 40 stand at indices 35 to 38, bins 41 to 45 at 40 to 43; 39 is a gap.
        tone=$(largest lit_bar 37 42) far=$(lit_count 150 20 127)
        [ "$tone" -gt 20 ] && [ "$tone" -gt $((3 * far)) ] && pass ||
            fail "spectrum: band at bins 36 to 45 has $tone lit pixels, at bin 150 $far"
        is_black 39 120 && pass || fail "spectrum: no gap between the bands"
        ;;
    105)
        capture spectrum-simple 360x128
        tone=$(lit_count 35 20 127)
        [ "$tone" -gt 20 ] && pass || fail "spectrum-simple: band at bins 31 to 45 has $tone lit pixels"
        is_black 44 120 && pass || fail "spectrum-simple: no gap after the band"
        ;;
    106)
        capture trace 360x256
        # Coefficient 40 of the left channel: history row 216, view row 108.
        tone=$(largest row_brightness 107 108) far=$(brightness 355 30)
        [ "$tone" -gt 200 ] && [ "$tone" -gt $((3 * far)) ] && pass ||
            fail "trace: row of bin 40 has brightness $tone, of bin 196 $far"
        ;;
    107)
        capture scope 362x128
        # A quarter-scale tone swings 16 rows around the centre line at row 64; the rows
        # between the captions and the centre show it.
        [ "$(lit_area 0 30 178 26)" -gt 0 ] && pass || fail "scope: the left trace is flat"
        [ "$(lit_area 184 30 178 26)" -eq 0 ] && pass || fail "scope: the silent right trace swings"
        ;;
    esac
}

for mode in 101 102 103 104 105 106 107; do
    printf '[MAIN]\nMODE=%s\nWIN_X=100\nWIN_Y=100\n' "$mode" >"$settings"
    start || continue
    check_view "$mode"
    stop
    grep -q "^MODE=$mode\$" "$settings" && pass || fail "view $mode: not saved"
done

# The options window from the right-click menu: its tenth item.
printf '[MAIN]\nMODE=104\nWIN_X=100\nWIN_Y=100\n' >"$settings"
if start; then
    eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print "wx=" $4} /Absolute upper-left Y/ {print "wy=" $4}')"
    xdotool mousemove $((wx + 100)) $((wy + 60)) click 3
    sleep 0.7
    xdotool key --delay 60 Down Down Down Down Down Down Down Down Down Down Return
    options=""
    for _ in $(seq 30); do
        options=$(xwininfo -root -tree | grep '"Ondrel ' | grep -v 'Ver.1.41' | head -n 1 | awk '{print $1}')
        [ -n "$options" ] && break
        sleep 0.1
    done
    if [ -n "$options" ]; then
        sleep 0.5
        import -window "$options" "$work/options.png" 2>/dev/null
        size=$(identify -format '%wx%h' "$work/options.png" 2>/dev/null)
        echo "options: $size"
        read -r ow oh <<<"${size/x/ }"
        [ "${ow:-0}" -ge 230 ] && [ "${oh:-0}" -ge 232 ] && pass || fail "options window is $size"
        # The gain label's row holds text, not a blank.
        shot="$work/options.png"
        [ "$(convert "$shot" -crop 120x14+2+2 -format '%[fx:standard_deviation>0.05]' info:)" = 1 ] &&
            pass || fail "options window: no text in its first label"
        [ -n "${ONDREL_KEEP_SHOTS:-}" ] && cp "$work"/*.png "$ONDREL_KEEP_SHOTS"/
    else
        fail "the options window did not open from the menu"
    fi
    stop
fi

# Settings survive SIGTERM and come back: view, size and position.
printf '[MAIN]\nMODE=107\nWIN_X=240\nWIN_Y=160\n[SIZE]\nSCOPEX=300\nSCOPEY=100\n' >"$settings"
start && stop
saved_x=$(sed -n 's/^WIN_X=//p' "$settings")
saved_y=$(sed -n 's/^WIN_Y=//p' "$settings")
grep -q '^SCOPEX=300$' "$settings" && grep -q '^SCOPEY=100$' "$settings" && pass ||
    fail "scope size not saved: $(grep SCOPE "$settings" | tr '\n' ' ')"
start && {
    capture scope-again 300x100
    stop
}
[ "$(sed -n 's/^WIN_X=//p' "$settings")" = "$saved_x" ] &&
    [ "$(sed -n 's/^WIN_Y=//p' "$settings")" = "$saved_y" ] && pass ||
    fail "position moved: $saved_x,$saved_y then $(sed -n 's/^WIN_[XY]=//p' "$settings" | tr '\n' ,)"
[ "$saved_x" = 240 ] && [ "$saved_y" = 160 ] && pass || fail "position $saved_x,$saved_y, expected 240,160"

# No sound server: the message box, answered by the test, then the program ends without
# saving.
printf '[MAIN]\nMODE=101\nPOWER=77\n' >"$settings"
PULSE_SERVER=unix:$work/no-such-server "$work/bin/ondrel" >>"$work/app.log" 2>&1 &
app=$!
box=""
for _ in $(seq 100); do
    # The box carries the platform's default caption (the program's name) and a real size;
    # Qt's own 1 × 1 helper windows have the same name.
    box=$(xwininfo -root -tree | grep '"Ondrel": (' | awk '{
        for (i = 2; i <= NF; ++i) {
            if ($i ~ /^[0-9]+x[0-9]+\+/) {
                split($i, size, /[x+]/)
                if (size[1] > 100 && size[2] > 50) { print $1; exit }
                break
            }
        }
    }')
    [ -n "$box" ] && break
    sleep 0.1
done
if [ -n "$box" ]; then
    pass
    shot="$work/message.png"
    sleep 0.5
    import -window "$box" "$shot" 2>/dev/null
    [ "$(convert "$shot" -format '%[fx:standard_deviation>0.05]' info: 2>/dev/null)" = 1 ] &&
        pass || fail "the message box shows no text"
    [ -n "${ONDREL_KEEP_SHOTS:-}" ] && cp "$shot" "$ONDREL_KEEP_SHOTS"/
    xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
else
    fail "no message box without a sound server"
fi
for _ in $(seq 50); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$app" 2>/dev/null; then
    fail "the program still runs after its message box"
    kill "$app"
fi
wait "$app"
app=""
[ "$(cat "$settings")" = "$(printf '[MAIN]\nMODE=101\nPOWER=77')" ] && pass ||
    fail "the settings were rewritten after a failed start"

echo "desktop: $passes passed, $failures failed"
[ "$failures" -eq 0 ]

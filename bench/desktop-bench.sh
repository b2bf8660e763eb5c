#!/usr/bin/env bash
# The running program under load: CPU use of the real window with live capture of a tone,
# per view at its default size, from the process's own accounting (/proc/PID/stat), as a share
# of one core; then the latency from a tone's onset to the first frame that shows it.
#
#   desktop-bench.sh ONDREL DEMO_SIGNAL LATENCY_BENCH [SECONDS]
set -u
ondrel=$1
signal_tool=$2
latency_bench=$3
seconds=${4:-30}
here=$(cd "$(dirname "$0")" && pwd)
SESSION_PIDS=()
. "$here/../scripts/test-session.sh"

work=$(mktemp -d)
trap 'session_stop; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
session_start_sound "$work" || exit 1
session_start_display "$work" || exit 1

"$signal_tool" --tone 40 600 "$work/tone.wav" || exit 1
"$signal_tool" --tone 40 3 "$work/short.wav" || exit 1
paplay --device=ondrel_test "$work/tone.wav" 2>/dev/null &
player=$!

mkdir -p "$work/bin/Program Data"
cp "$ondrel" "$work/bin/ondrel"
ticks_per_second=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

echo "CPU over ${seconds} s per view; the sink renders behind a player of" \
    "${SESSION_SILENCE_LATENCY_MS:-20} ms latency (SESSION_SILENCE_LATENCY_MS)"
printf '\n%-18s %12s\n' "view (default size)" "CPU, one core"
for mode in 101 102 103 104 105 106 107; do
    printf '[MAIN]\nMODE=%s\n' "$mode" >"$work/bin/Program Data/Level.dat"
    "$work/bin/ondrel" >>"$work/app.log" 2>&1 &
    app=$!
    sleep 3 # start-up and the first frames are not the steady state
    before=$(cpu_ticks "$app")
    sleep "$seconds"
    after=$(cpu_ticks "$app")
    kill -TERM "$app"
    wait "$app"
    awk -v m="$mode" -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" \
        'BEGIN { printf "%-18s %11.2f%%\n", m, 100 * t / (hz * s) }'
done
kill "$player" 2>/dev/null
wait "$player" 2>/dev/null
echo "(goal: under 2% of one core for every view)"

echo
"$latency_bench" "$work/short.wav" 10

# Shell functions for tests that need a desktop: a private PulseAudio server with a null sink
# whose monitor is the default source, and a virtual X display with a small window manager.
# Everything runs under one temporary folder and is stopped by process id. Source this file.

session_start_sound() { # folder
    local dir=$1/pulse
    mkdir -p "$dir/runtime" "$dir/state" "$dir/home"
    chmod 700 "$dir/runtime" "$dir/state" "$dir/home"
    cat > "$dir/server.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/native
load-module module-null-sink sink_name=ondrel_test rate=22050 channels=2
set-default-sink ondrel_test
set-default-source ondrel_test.monitor
PA
    XDG_RUNTIME_DIR=$dir/runtime PULSE_STATE_PATH=$dir/state HOME=$dir/home \
        pulseaudio -n -F "$dir/server.pa" --daemonize=no --exit-idle-time=-1 --disallow-exit \
        --use-pid-file=no --enable-memfd=no --disable-shm=yes --log-target=stderr >"$dir/server.log" 2>&1 &
    SESSION_PIDS+=("$!")
    export PULSE_SERVER=unix:$dir/native
    for _ in $(seq 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.05
    done
    pactl info >/dev/null 2>&1 || { echo "the private sound server did not start"; return 1; }
    # A silent player keeps the null sink rendering in small blocks.
    pacat --playback --device=ondrel_test --latency-msec=${SESSION_SILENCE_LATENCY_MS:-20} /dev/zero 2>/dev/null &
    SESSION_PIDS+=("$!")
}

session_start_display() { # folder
    # Xvfb picks a display number that is free (lock files and sockets both) and reports it.
    rm -f "$1/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$1/display" >"$1/xvfb.log" 2>&1 &
    SESSION_PIDS+=("$!")
    for _ in $(seq 100); do
        [ -s "$1/display" ] && break
        sleep 0.05
    done
    export DISPLAY=:$(tr -d '[:space:]' <"$1/display")
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.05
    done
    xdpyinfo >/dev/null 2>&1 || { echo "the virtual display did not start"; return 1; }
    openbox >"$1/openbox.log" 2>&1 &
    SESSION_PIDS+=("$!")
    sleep 0.5
}

session_stop() {
    local pid
    for pid in "${SESSION_PIDS[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    SESSION_PIDS=()
}

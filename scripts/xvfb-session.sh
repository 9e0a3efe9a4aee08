# Sourced by scripts that run the program's real window under a private X server.
# StartXvfbSession: starts Xvfb on a free display, points DISPLAY at it and prepares a private
# runtime folder. StartWindow PROGRAM: starts the program and sets WINDOW to its window's id.
# Both processes are stopped by their process ids when the calling script exits.

XVFB_WORK=$(mktemp -d)
XVFB_PID=
APP_PID=

StopXvfbSession() {
    if [[ -n $APP_PID ]]; then kill -TERM "$APP_PID" 2>/dev/null || true; wait "$APP_PID" 2>/dev/null || true; fi
    if [[ -n $XVFB_PID ]]; then kill -TERM "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
    rm -rf "$XVFB_WORK"
}
trap StopXvfbSession EXIT

StartXvfbSession() {
    local size=${1:-1280x1024}
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset \
        3>"$XVFB_WORK/display" 2>"$XVFB_WORK/xvfb.log" &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [[ -s $XVFB_WORK/display ]] && break
        sleep 0.1
    done
    if [[ ! -s $XVFB_WORK/display ]]; then
        echo "Xvfb did not start" >&2
        cat "$XVFB_WORK/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=":$(cat "$XVFB_WORK/display")"
    export QT_QPA_PLATFORM=xcb
    export XDG_RUNTIME_DIR=$XVFB_WORK/runtime
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
}

StartWindow() {
    "$1" &
    APP_PID=$!
    WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --classname arraypattern | head -n 1)
    if [[ -z $WINDOW ]]; then
        echo "the window did not appear" >&2
        exit 1
    fi
}

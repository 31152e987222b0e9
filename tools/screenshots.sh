#!/usr/bin/env bash
# Screenshots of the real wizard: runs ravelgard-wizard under a virtual X display (Xvfb), walks
# it with real key strokes (xdotool) and saves a PNG of every page, the exit confirmation and the
# login prompt.
#
#   tools/screenshots.sh [BUILD_DIR] [OUT_DIR]
#
# BUILD_DIR defaults to ./build, OUT_DIR to BUILD_DIR/screenshots. Needs xvfb-run, xdotool and
# ImageMagick's import. The demo machine prefix is a fresh temporary folder; the first run sets
# the password "demo1" on the finish page, so that the second run shows the login prompt.
set -euo pipefail

BUILD_DIR=$(realpath "${1:-build}")
OUT_DIR=$(realpath -m "${2:-$BUILD_DIR/screenshots}")
WIZARD="$BUILD_DIR/app/ravelgard-wizard"
TOOL="$BUILD_DIR/tools/ravelgard-tool"
TITLE="Ravelgard Startup Wizard"

for needed in xvfb-run xdotool import; do
    command -v "$needed" >/dev/null || { echo "screenshots.sh: $needed is missing" >&2; exit 1; }
done
[ -x "$WIZARD" ] || { echo "screenshots.sh: build $WIZARD first" >&2; exit 1; }

# Outside the virtual display: prepare the prefix and start this script again inside one.
if [ -z "${RG_SCREENSHOTS_INSIDE:-}" ]; then
    PREFIX=$(mktemp -d)
    trap 'rm -rf "$PREFIX"' EXIT
    if ! { [ -x "$TOOL" ] && "$TOOL" install --prefix "$PREFIX" >/dev/null 2>&1; }; then
        # No installer at hand: the password file of a fresh installation, which is the
        # 100-character frame around an empty password, enciphered under the store's key.
        mkdir -p "$PREFIX/system32"
        python3 - "$PREFIX/system32/RVPSD.SYS" <<'PY'
import sys
key = b"MQV 1994"
frame = (b"Ravelgard is a firewall. "
         b"Our team members are listed in the product documentation for this release. ")
line = bytes((c + key[i % len(key)]) & 0xFF for i, c in enumerate(frame, 1))
open(sys.argv[1], "wb").write(line + b"\r\n")
PY
    fi
    mkdir -p "$OUT_DIR"
    RG_SCREENSHOTS_INSIDE=1 RAVELGARD_PREFIX="$PREFIX" \
        xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$BUILD_DIR" "$OUT_DIR"
    echo "screenshots in $OUT_DIR:"
    ls "$OUT_DIR"
    exit 0
fi

# ---- inside the virtual display ----

wait_for_window() {  # name -> window id of the newest visible window of that name
    local id=""
    for _ in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "screenshots.sh: no window named '$1'" >&2
    return 1
}

shoot() {  # window id, file name; lets the window finish painting first
    sleep 0.4
    import -window "$1" "$OUT_DIR/$2.png"
    echo "  $2.png"
}

keys() {  # window id, keys... (focus first: there is no window manager to do it)
    local id=$1; shift
    xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
    xdotool key --delay 60 "$@"
    sleep 0.3
}

typed() {  # window id, text
    xdotool windowfocus "$1"
    xdotool type --delay 40 "$2"
}

# First run: no password set, so the wizard opens at once.
"$WIZARD" &
APP=$!
WIN=$(wait_for_window "$TITLE")
shoot "$WIN" page1-welcome
keys "$WIN" Return
shoot "$WIN" page3-alerts
keys "$WIN" Return
typed "$WIN" demo1
keys "$WIN" Tab
typed "$WIN" demo1
shoot "$WIN" page4-password
keys "$WIN" Return
shoot "$WIN" page5-programs
keys "$WIN" alt+d
shoot "$WIN" page5-advanced-chosen
keys "$WIN" Return
shoot "$WIN" page6-program-list
keys "$WIN" Return
shoot "$WIN" page9-finish
keys "$WIN" Escape
BOX=$(wait_for_window "$TITLE" )
if [ "$BOX" != "$WIN" ]; then
    shoot "$BOX" exit-confirmation
    keys "$BOX" Tab space   # No: stay in the wizard
fi
keys "$WIN" Return          # Finish: save and end
wait "$APP" || true

# Second run: the password is set now, so the login prompt comes first.
"$WIZARD" &
APP=$!
LOGIN=$(wait_for_window "Password")
typed "$LOGIN" demo
shoot "$LOGIN" login-prompt
keys "$LOGIN" Return
BOX=$(wait_for_window "$TITLE")
shoot "$BOX" login-wrong-password
keys "$BOX" Return
typed "$LOGIN" demo1
keys "$LOGIN" Return
WIN=$(wait_for_window "$TITLE")
shoot "$WIN" after-login
kill "$APP" 2>/dev/null || true
wait "$APP" 2>/dev/null || true

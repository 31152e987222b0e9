#!/usr/bin/env bash
# Screenshots of the real wizard: runs ravelgard-wizard under a virtual X display (Xvfb), walks
# it with real key strokes (xdotool) and saves a PNG of every page, the exit confirmation and the
# login prompt.
#
#   tools/screenshots.sh [BUILD_DIR] [OUT_DIR]
#
# BUILD_DIR defaults to ./build/default, OUT_DIR to BUILD_DIR/screenshots. Needs xvfb-run,
# xdotool and ImageMagick's import (apt-get install xvfb xdotool imagemagick). After the first
# run's Finish it checks the saved profile files through ravelgard-tool. The demo machine prefix is a fresh temporary folder prepared by
# `ravelgard-tool install`; the first run sets the password "demo1" on the finish page, so that
# the later runs show the login prompt.
#
# Two settings make it the Linux half of scripts/walk-windows.sh, which makes the same choices
# in the Windows program:
#   RG_WALK_PROGRAMS  lines "FIXTURE:FILE NAME": only these PE fixtures are added, under those
#                     names, and the list is not sorted (its order is the order of the sections)
#   RG_SAVED_DIR      a folder that receives what the first run's Finish saved: Profiles/, the
#                     password file RVPSD.SYS, RVPSD.value (the registry value's bytes) and
#                     ProgramControl.dump (the program sections as ravelgard-tool reads them)
set -euo pipefail

BUILD_DIR=$(realpath "${1:-build/default}")
OUT_DIR=$(realpath -m "${2:-$BUILD_DIR/screenshots}")
WIZARD="$BUILD_DIR/app/ravelgard-wizard"
TOOL="$BUILD_DIR/tools/ravelgard-tool"
TITLE="Ravelgard Startup Wizard"

for needed in xvfb-run xdotool import; do
    command -v "$needed" >/dev/null || { echo "screenshots.sh: $needed is missing" >&2; exit 1; }
done
for built in "$WIZARD" "$TOOL"; do
    [ -x "$built" ] || { echo "screenshots.sh: build $built first" >&2; exit 1; }
done

# Outside the virtual display: prepare the prefix and start this script again inside one.
if [ -z "${RG_SCREENSHOTS_INSIDE:-}" ]; then
    PREFIX=$(mktemp -d)
    trap 'rm -rf "$PREFIX"' EXIT
    "$TOOL" install --prefix "$PREFIX" >/dev/null
    mkdir -p "$OUT_DIR"
    RG_SCREENSHOTS_INSIDE=1 RAVELGARD_PREFIX="$PREFIX" \
        RG_SAVED_DIR="${RG_SAVED_DIR:+$(realpath -m "$RG_SAVED_DIR")}" \
        xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$BUILD_DIR" "$OUT_DIR"
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

other_window() {  # name, id to skip -> another visible window of that name (a message box)
    local id=""
    for _ in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "$2" | tail -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "screenshots.sh: no second window named '$1'" >&2
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

add_program() {  # wizard window id, path: cmdAdd (Alt+A), the path typed into the dialog
    keys "$1" alt+a
    local dialog
    dialog=$(wait_for_window "Add Program")
    sleep 0.3
    typed "$dialog" "$2"
    keys "$dialog" Return
    sleep 0.3
}

click_at() {  # window id, x, y (pixels in the window), button
    xdotool mousemove --window "$1" "$2" "$3"
    sleep 0.1
    xdotool click "$4"
    sleep 0.4
}

shoot_screen_part() {  # window id, file name: the window's area of the screen, pop-ups included
    sleep 0.4
    local x y w h
    eval "$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/\1=/p')"
    x=$X; y=$Y; w=$WIDTH; h=$HEIGHT
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$OUT_DIR/$2.png"
    echo "  $2.png"
}

typed() {  # window id, text
    xdotool windowfocus "$1"
    xdotool type --delay 40 "$2"
}

fail() { echo "screenshots.sh: $*" >&2; exit 1; }

# What the finish step of the first run must have written, read back through the support tool
# (which deciphers with the section names, as the firewall does).
check_saved_files() {
    local profiles="$BUILD_DIR/app/Profiles" dump sections
    [ "$("$TOOL" profile get Main AlertEvent "$profiles/AlertsAndLogSetting.RVL")" = 0 ] ||
        fail "AlertEvent is not 0 (Do not alert me) after the walk"
    dump=$("$TOOL" profile dump "$profiles/ProgramControl.RVL")
    sections=$(grep -c '^\[' <<<"$dump" || true)
    [ "$sections" = "$ADDED" ] || fail "ProgramControl.RVL holds $sections programs, not $ADDED"
    # The one row set to Block in the Access menu: both permissions Block (code 1).
    [ "$(grep -c '^Column3=1$' <<<"$dump")" = 1 ] && [ "$(grep -c '^Column1=1$' <<<"$dump")" = 1 ] ||
        fail "the Block choice did not reach ProgramControl.RVL"
    [ "$(grep -c '^Column3=0$' <<<"$dump")" = $((ADDED - 1)) ] || fail "unexpected Access codes"
    grep -q "^Path=$DEMO_PATH/" <<<"$dump" || fail "no program path in ProgramControl.RVL"
    [ -s "$RAVELGARD_PREFIX/system32/RVPSD.SYS" ] || fail "no password file"
    echo "  the saved files hold the walk's choices ($ADDED programs)"
    [ -n "${RG_SAVED_DIR:-}" ] || return 0
    mkdir -p "$RG_SAVED_DIR/Profiles"
    cp -a "$profiles"/. "$RG_SAVED_DIR/Profiles/"
    cp "$RAVELGARD_PREFIX/system32/RVPSD.SYS" "$RG_SAVED_DIR/RVPSD.SYS"
    printf '%s\n' "$dump" >"$RG_SAVED_DIR/ProgramControl.dump"
    # The value's bytes from the registry file: "text" with \\ and \" escapes, or hex(1):...
    python3 - "$RAVELGARD_PREFIX/HKEY_LOCAL_MACHINE.reg" "$RG_SAVED_DIR/RVPSD.value" <<'PY'
import re, sys
text = open(sys.argv[1], "rb").read().replace(b"\\\r\n  ", b"").replace(b"\r", b"")
line = next(l for l in text.split(b"\n") if l.startswith(b'"RVPSD"='))[len(b'"RVPSD"='):]
if line.startswith(b"hex(1):"):
    data = bytes.fromhex(line[7:].replace(b",", b"").decode())
    data = data[:-1] if data.endswith(b"\0") else data
else:
    data = re.sub(rb"\\(.)", rb"\1", line[1:-1])
open(sys.argv[2], "wb").write(data)
PY
}

# First run: no password set, so the wizard opens at once.
"$WIZARD" &
APP=$!
WIN=$(wait_for_window "$TITLE")
shoot "$WIN" page1-welcome
keys "$WIN" Return
shoot "$WIN" page3-alerts
keys "$WIN" alt+d               # "Do not alert me, just keep the log"
shoot "$WIN" page3-alerts-chosen
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
# Page 6 with programs: PE programs with their own icons (the fixtures of the file property
# reader's tests, when that build has them) and plain files, each added through the real
# open-file dialog, one of them twice under another name in other letter case (not added again).
DEMO=$(mktemp -d)
FIXTURES="$BUILD_DIR/tests/fixtures/pe"
if [ -n "${RG_WALK_PROGRAMS:-}" ]; then
    while IFS= read -r pair; do
        [ -n "$pair" ] || continue
        cp "$FIXTURES/${pair%%:*}.exe" "$DEMO/${pair#*:}" || fail "no fixture ${pair%%:*}.exe"
        add_program "$WIN" "$DEMO/${pair#*:}"
    done <<<"$RG_WALK_PROGRAMS"
    ADDED=$(ls "$DEMO" | wc -l)
else
for pair in "full:full.exe" "icon_sizes:Mail Client.exe" "icon_named:chat.exe"; do
    [ -f "$FIXTURES/${pair%%:*}.exe" ] && cp "$FIXTURES/${pair%%:*}.exe" "$DEMO/${pair#*:}"
done
# Programs with pictorial icons and descriptions, built like those fixtures when mingw-w64 is
# there: an icon made from the program's own artwork, a version resource, an empty program.
demo_program() {  # artwork, file name, description
    command -v x86_64-w64-mingw32-windres >/dev/null || return 0
    local work
    work=$(mktemp -d)
    convert -background none "$(dirname "$0")/../app/artwork/$1.svg" -define icon:auto-resize=32,16 \
        "$work/demo.ico"
    printf '1 ICON "demo.ico"\n1 VERSIONINFO\nFILEVERSION 1,0,0,0\nBEGIN\n BLOCK "StringFileInfo"\n BEGIN\n  BLOCK "040904B0"\n  BEGIN\n   VALUE "FileDescription", "%s"\n   VALUE "FileVersion", "1.0.0.0"\n  END\n END\n BLOCK "VarFileInfo"\n BEGIN\n  VALUE "Translation", 0x409, 1200\n END\nEND\n' \
        "$3" > "$work/demo.rc"
    printf 'int mainCRTStartup(void) { return 0; }\n' > "$work/demo.c"
    x86_64-w64-mingw32-windres --include-dir "$work" -i "$work/demo.rc" -o "$work/demo.o" &&
        x86_64-w64-mingw32-gcc -Os -s -nostdlib -nostartfiles "$work/demo.c" "$work/demo.o" \
            -o "$DEMO/$2"
    rm -rf "$work"
}
demo_program prog-browser browser.exe "Web Browser"
demo_program prog-services svcmon.exe "Service Monitor"
demo_program icon103 alerts.exe "Alert Centre"
printf 'echo backup\n' > "$DEMO/backup.sh"
printf 'notes\n' > "$DEMO/notes.txt"
printf 'notes\n' > "$DEMO/NOTES.TXT"
for program in "$DEMO"/*; do
    add_program "$WIN" "$program"
done
# Every file is listed but NOTES.TXT, whose name equals notes.txt but for letter case.
ADDED=$(( $(ls "$DEMO" | wc -l) - 1 ))
fi
DEMO_PATH=$DEMO
shoot "$WIN" page6-program-list-filled
# A left click on the Access cell of the second row opens the Access menu at the mouse.
click_at "$WIN" 345 117 1
shoot_screen_part "$WIN" page6-access-menu
# To the open menu itself: focusing the wizard's window first would close it.
xdotool key --delay 60 Down Down Return  # "Block"
sleep 0.3
shoot "$WIN" page6-program-list-blocked
if [ -z "${RG_WALK_PROGRAMS:-}" ]; then
    click_at "$WIN" 220 85 1      # the "Programs" header: sorted by name
    keys "$WIN" Home              # the first row, scrolled to the top
    shoot "$WIN" page6-program-list-sorted
    click_at "$WIN" 220 85 1      # again: descending
    keys "$WIN" Home
    shoot "$WIN" page6-program-list-descending
fi
keys "$WIN" Return
shoot "$WIN" page9-finish
keys "$WIN" Escape
BOX=$(other_window "$TITLE" "$WIN")
shoot "$BOX" exit-confirmation
keys "$BOX" Tab space       # No: stay in the wizard
keys "$WIN" Return          # Finish: save and end
wait "$APP" || true
check_saved_files
rm -rf "$DEMO"  # only now: the save reads each program's version from its file

# Second run: the finish step stored the password, so the login prompt comes first.
"$WIZARD" &
APP=$!
LOGIN=""
for _ in $(seq 1 50); do
    LOGIN=$(xdotool search --onlyvisible --name '^Password$' 2>/dev/null | tail -1 || true)
    [ -n "$LOGIN" ] && break
    sleep 0.1
done
if [ -z "$LOGIN" ]; then
    echo "screenshots.sh: no login prompt: the finish step stored no password" >&2
    kill "$APP" 2>/dev/null || true
    wait "$APP" 2>/dev/null || true
    exit 1
fi
WIN=$(wait_for_window "$TITLE")
typed "$LOGIN" demo
shoot "$LOGIN" login-prompt
keys "$LOGIN" Return
BOX=$(other_window "$TITLE" "$WIN")
shoot "$BOX" login-wrong-password
keys "$BOX" Return
typed "$LOGIN" demo1
keys "$LOGIN" Return
shoot "$WIN" after-login
kill "$APP" 2>/dev/null || true
wait "$APP" 2>/dev/null || true

# A run at twice the pixel density: the pictures must stay sharp. Esc, then Yes, ends it.
QT_SCALE_FACTOR=2 "$WIZARD" &
APP=$!
LOGIN=$(wait_for_window "Password")
typed "$LOGIN" demo1
keys "$LOGIN" Return
WIN=$(wait_for_window "$TITLE")
shoot "$WIN" page1-welcome-2x
keys "$WIN" Escape
BOX=$(other_window "$TITLE" "$WIN")
keys "$BOX" Return
wait "$APP" || true

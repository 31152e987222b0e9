#!/usr/bin/env bash
# A walk of the real Windows program under Wine: installs ravelgard-setup.exe silently into a
# fresh Wine prefix, starts the installed wizard in Wine's virtual desktop under a virtual X
# display (Xvfb) and drives it with real key strokes and mouse clicks (xdotool) through every
# page: the alert choice "Do not alert me", the password demo1 with its confirmation, the
# advanced program choice with two programs added through the open-file dialog (the path typed
# into its file name box; once with Alt+A, once with a click on Add) and the Access permission
# of the second one set to Block through the list's pop-up menu; then Finish.
#
#   scripts/walk-windows.sh [BUILD_DIR] [OUT_DIR]
#
# BUILD_DIR defaults to ./build/windows (built with --target installer), OUT_DIR to
# ./walk-shots. It then checks what the finish step saved in the prefix (the thirteen profile
# files, the alert value, the program sections, the password file in the 32-bit system folder
# and the registry value in the 32-bit view), starts the wizard again and passes its login
# prompt (a wrong password first), and saves a PNG of every page, menu, message box and of the
# login prompt in OUT_DIR.
#
# When a Linux build with the wizard is there (RG_LINUX_BUILD, default ./build/default), the
# same walk runs on it (tools/screenshots.sh with RG_SAVED_DIR) and the saved bytes are
# compared: the profile files, the password file and the registry value must be equal byte for
# byte; the program sections are compared with their Path lines set aside, and the stored
# paths are checked on each side. RG_PE_FIXTURES names the folder of the PE fixtures the tests
# build (default: RG_LINUX_BUILD/tests/fixtures/pe).
#
# Needs wine (64-bit), xvfb-run, xdotool, ImageMagick's import, x86_64-w64-mingw32-gcc (for the
# small window inspector the walk uses to find windows and list cells) and python3.
set -euo pipefail

SOURCE_DIR=$(realpath "$(dirname "$0")/..")
BUILD_DIR=$(realpath "${1:-build/windows}")
OUT_DIR=$(realpath -m "${2:-walk-shots}")
LINUX_BUILD=$(realpath -m "${RG_LINUX_BUILD:-build/default}")
FIXTURES=$(realpath -m "${RG_PE_FIXTURES:-$LINUX_BUILD/tests/fixtures/pe}")
TITLE="Ravelgard Startup Wizard"
PASSWORD=demo1
# The two programs: fixture name, the file name they are added under.
PROGRAMS=("full:full.exe" "icon_sizes:Mail Client.exe")
IMPORT=/usr/bin/import

fail() { echo "walk-windows.sh: $*" >&2; exit 1; }

if [ -z "${RG_WALK_INSIDE:-}" ]; then
    for needed in wine wineboot wineserver xvfb-run xdotool "$IMPORT" x86_64-w64-mingw32-gcc python3; do
        command -v "$needed" >/dev/null || fail "$needed is missing"
    done
    SETUP=$BUILD_DIR/ravelgard-setup.exe
    [ -f "$SETUP" ] || fail "build $SETUP first (cmake --build --preset windows --target installer)"
    for pair in "${PROGRAMS[@]}"; do
        [ -f "$FIXTURES/${pair%%:*}.exe" ] ||
            fail "no fixture $FIXTURES/${pair%%:*}.exe (build the Linux target rg_fixture_files)"
    done
    WORK=$(mktemp -d)
    trap 'WINEPREFIX=$WORK/prefix wineserver -k 2>/dev/null || true; [ -n "${RG_WALK_KEEP:-}" ] && echo "kept $WORK" || rm -rf "$WORK"' EXIT
    rm -rf "$OUT_DIR"
    mkdir -p "$OUT_DIR"
    started=$(date +%s)
    RG_WALK_INSIDE=1 RG_WALK_WORK=$WORK \
        xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$BUILD_DIR" "$OUT_DIR"
    echo "walk-windows.sh: the Windows walk passed in $(($(date +%s) - started)) s"

    if [ -x "$LINUX_BUILD/app/ravelgard-wizard" ]; then
        # The same choices on the Linux build, its saved files kept for the comparison.
        RG_SAVED_DIR="$WORK/linux-saved" RG_WALK_PROGRAMS="$(printf '%s\n' "${PROGRAMS[@]}")" \
            "$SOURCE_DIR/tools/screenshots.sh" "$LINUX_BUILD" "$OUT_DIR/linux" >"$WORK/linux.log" 2>&1 ||
            { cat "$WORK/linux.log" >&2; fail "the Linux walk failed"; }
        python3 - "$WORK/windows-saved" "$WORK/linux-saved" <<'EOF' || fail "the saved bytes differ"
import pathlib, sys
win, lin = (pathlib.Path(p) for p in sys.argv[1:3])
problems = []
# The profile files; the lock files the saves leave beside them ("~NAME.lock" on Windows,
# ".NAME.lock" on Linux) are named only.
names = lambda d: sorted(p.name for p in (d / "Profiles").iterdir() if p.suffix.upper() == ".RVL")
for d in (win, lin):
    others = sorted(p.name for p in (d / "Profiles").iterdir() if p.suffix.upper() != ".RVL")
    print(f"  beside the profiles ({d.name}): {', '.join(others) or 'nothing'}")
if names(win) != names(lin):
    problems.append(f"profile files differ: {names(win)} vs {names(lin)}")
def without_paths(data):  # the raw lines, the enciphered Path lines set aside
    return b"\n".join(l for l in data.split(b"\n") if not l.startswith(b"Path="))
for name in names(win):
    a = (win / "Profiles" / name).read_bytes()
    b = (lin / "Profiles" / name).read_bytes() if (lin / "Profiles" / name).exists() else b""
    if name.lower() == "programcontrol.rvl":
        a, b = without_paths(a), without_paths(b)
    if a != b:
        problems.append(f"{name}: {len(a)} bytes vs {len(b)} bytes, first difference at byte "
                        f"{next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))}")
for name in ("RVPSD.SYS", "RVPSD.value", "ProgramControl.dump"):
    a, b = (win / name).read_bytes(), (lin / name).read_bytes()
    if name == "ProgramControl.dump":
        a, b = without_paths(a.replace(b"\r", b"")), without_paths(b.replace(b"\r", b""))
    if a != b:
        problems.append(f"{name}: {a[:80]!r}... vs {b[:80]!r}...")
    else:
        print(f"  equal: {name} ({len(a)} bytes)")
print(f"  equal: {len(names(win)) - sum('bytes vs' in p for p in problems)} of {len(names(win))} profile files"
      " (ProgramControl.RVL without its Path lines)")
for p in problems:
    print("  DIFFERENT: " + p)
sys.exit(1 if problems else 0)
EOF
        echo "walk-windows.sh: the saved bytes equal those of the Linux walk"
    else
        echo "walk-windows.sh: no Linux build at $LINUX_BUILD: the byte comparison was skipped"
    fi
    exit 0
fi

# ---- inside the virtual display ----

WORK=$RG_WALK_WORK
[ -z "${RG_WALK_TRACE:-}" ] || set -x
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
DRIVE=$WINEPREFIX/drive_c
INSTALLED_WIN='C:\Program Files (x86)\Ravelgard'
INSTALLED=$DRIVE/Program\ Files\ \(x86\)/Ravelgard
SAVED=$WORK/windows-saved

step() { echo "[$(date +%T)] $*"; }

wineboot --init >/dev/null 2>&1
# Every program of this prefix opens in one virtual desktop, 1024 x 768: one X window.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d rg /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v rg /d 1024x768 /f >/dev/null 2>&1
# Wine's own Tahoma (the face of "MS Shell Dlg") and Marlett (the caption buttons): a Wine that
# does not find its font folder draws the dialogs with a wider substitute, and then no text
# keeps the width it has on Windows. RG_WALK_WINE_FONTS=0 leaves the prefix as wineboot made it.
if [ "${RG_WALK_WINE_FONTS:-1}" != 0 ]; then
    for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
        for folder in /usr/share/wine/fonts /usr/lib/wine/fonts /opt/wine*/share/wine/fonts; do
            [ -f "$folder/$font" ] && { cp "$folder/$font" "$DRIVE/windows/Fonts/"; break; }
        done
    done
fi

# The window inspector: what the walk needs to know of the windows inside the virtual desktop
# (their places, the list's cells) and the registry value as the 32-bit firewall reads it.
cat >"$WORK/peek.c" <<'EOF'
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static BOOL CALLBACK top(HWND w, LPARAM p) {
    (void)p;
    if (!IsWindowVisible(w)) return TRUE;
    char cls[128] = "", title[512] = "";
    RECT r;
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, title, sizeof title);
    GetWindowRect(w, &r);
    printf("%llu\t%s\t%ld\t%ld\t%ld\t%ld\t%llu\t%s\n", (unsigned long long)(UINT_PTR)w, cls, r.left,
           r.top, r.right - r.left, r.bottom - r.top, (unsigned long long)(UINT_PTR)GetWindow(w, GW_OWNER), title);
    return TRUE;
}

static BOOL CALLBACK child(HWND w, LPARAM p) {
    (void)p;
    char cls[128] = "", text[512] = "";
    RECT r;
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    GetWindowRect(w, &r);
    printf("%llu\t%s\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%s\n", (unsigned long long)(UINT_PTR)w, cls,
           GetDlgCtrlID(w), IsWindowVisible(w) ? 1 : 0, r.left, r.top, r.right - r.left,
           r.bottom - r.top, text);
    return TRUE;
}

static HWND handle(const char* text) { return (HWND)(UINT_PTR)_strtoui64(text, NULL, 10); }

int main(int argc, char** argv) {
    if (argc >= 2 && !strcmp(argv[1], "windows")) {  /* the visible top-level windows */
        printf("foreground\t%llu\n", (unsigned long long)(UINT_PTR)GetForegroundWindow());
        EnumWindows(top, 0);
        return 0;
    }
    if (argc >= 3 && !strcmp(argv[1], "children")) {
        EnumChildWindows(handle(argv[2]), child, 0);
        return 0;
    }
    if (argc >= 5 && !strcmp(argv[1], "cell")) {  /* list row column: its screen rectangle */
        HWND list = handle(argv[2]);
        DWORD pid = 0;
        GetWindowThreadProcessId(list, &pid);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                     FALSE, pid);
        if (!process) return 2;
        RECT r = {LVIR_BOUNDS, atoi(argv[4]), 0, 0};
        void* remote = VirtualAllocEx(process, NULL, sizeof r, MEM_COMMIT, PAGE_READWRITE);
        SIZE_T moved = 0;
        WriteProcessMemory(process, remote, &r, sizeof r, &moved);
        LRESULT ok = SendMessageA(list, LVM_GETSUBITEMRECT, atoi(argv[3]), (LPARAM)remote);
        ReadProcessMemory(process, remote, &r, sizeof r, &moved);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        CloseHandle(process);
        if (!ok) return 3;
        POINT a = {r.left, r.top}, b = {r.right, r.bottom};
        ClientToScreen(list, &a);
        ClientToScreen(list, &b);
        printf("%ld\t%ld\t%ld\t%ld\n", a.x, a.y, b.x - a.x, b.y - a.y);
        return 0;
    }
    if (argc >= 3 && !strcmp(argv[1], "count")) {
        printf("%ld\n", (long)SendMessageA(handle(argv[2]), LVM_GETITEMCOUNT, 0, 0));
        return 0;
    }
    if (argc >= 2 && !strcmp(argv[1], "password-value")) {  /* RVPSD, the 32-bit view, in hex */
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup",
                          0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return 2;
        static unsigned char data[70000];
        DWORD type = 0, size = sizeof data;
        LONG rc = RegQueryValueExA(key, "RVPSD", NULL, &type, data, &size);
        RegCloseKey(key);
        if (rc != ERROR_SUCCESS) return 3;
        printf("%lu\t", type);
        for (DWORD i = 0; i < size; ++i) printf("%02x", data[i]);
        printf("\n");
        return 0;
    }
    fprintf(stderr, "peek windows | children HWND | cell LIST ROW COL | count LIST | password-value\n");
    return 1;
}
EOF
x86_64-w64-mingw32-gcc -O1 -s -o "$WORK/peek.exe" "$WORK/peek.c" -lcomctl32
peek() { wine "$WORK/peek.exe" "$@" 2>/dev/null | tr -d '\r'; }

# The programs to add, inside the prefix.
mkdir -p "$DRIVE/walk"
for pair in "${PROGRAMS[@]}"; do
    cp "$FIXTURES/${pair%%:*}.exe" "$DRIVE/walk/${pair#*:}"
done

step "installing ravelgard-setup.exe /S"
wine "$BUILD_DIR/ravelgard-setup.exe" /S >/dev/null 2>&1 || fail "the setup program failed"
for file in ravelgard-wizard.exe ravelgard-tool.exe Lang/English.INI uninstall.exe; do
    [ -f "$INSTALLED/$file" ] || fail "the setup program did not install $file"
done
INSTALLED_PASSWORD_FILE=$(cat "$DRIVE/windows/syswow64/RVPSD.SYS" 2>/dev/null) ||
    fail "the setup program left no password file in the 32-bit system folder"

# ---- the driving ----

DESKTOP=""
desktop_window() {
    for _ in $(seq 1 100); do
        DESKTOP=$(xdotool search --name '^rg - Wine desktop$' 2>/dev/null | head -1 || true)
        [ -n "$DESKTOP" ] && break
        sleep 0.2
    done
    [ -n "$DESKTOP" ] || fail "no Wine desktop window"
    eval "$(xdotool getwindowgeometry --shell "$DESKTOP" | sed -n 's/^\(X\|Y\)=/DESK_\1=/p')"
    xdotool windowfocus "$DESKTOP" 2>/dev/null || true
}

# find_window TITLE [CLASS] [NOT_HWND]: "hwnd x y w h" of the newest such visible window.
find_window() {
    local title=$1 class=${2:-} skip=${3:-} found
    for _ in $(seq 1 60); do
        found=$(peek windows | awk -F'\t' -v t="$title" -v c="$class" -v s="$skip" \
            '$8 == t && (c == "" || $2 == c) && $1 != s && !n++ { print $1, $3, $4, $5, $6 }')
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.3
    done
    echo "walk-windows.sh: no window '$title' $class" >&2
    peek windows >&2
    return 1
}

wait_gone() {  # hwnd: until it is no longer a visible window
    for _ in $(seq 1 60); do
        peek windows | awk -F'\t' -v h="$1" '$1 == h { f = 1 } END { exit f ? 0 : 1 }' || return 0
        sleep 0.3
    done
    fail "window $1 did not close"
}

child_rect() {  # parent hwnd, class, text: "hwnd x y w h" of the visible child
    peek children "$1" | awk -F'\t' -v c="$2" -v t="$3" \
        '$2 == c && $4 == 1 && (t == "" || $9 == t) && !n++ { print $1, $5, $6, $7, $8 }'
}

keys() { xdotool key --delay 80 "$@"; sleep 0.6; }
typed() { xdotool type --delay 50 "$1"; sleep 0.3; }

click() {  # screen x, y inside the virtual desktop, button
    xdotool mousemove $((DESK_X + $1)) $((DESK_Y + $2))
    sleep 0.2
    xdotool click "$3"
    sleep 0.8
}

click_middle() {  # "hwnd x y w h", button
    local _h x y w h
    read -r _h x y w h <<<"$1"
    click $((x + w / 2)) $((y + h / 2)) "$2"
}

shoot() {  # file name, "hwnd x y w h"...: the screen around those windows (pop-ups included)
    local name=$1 left=100000 top=100000 right=0 bottom=0 _h x y w h
    shift
    for rect in "$@"; do
        read -r _h x y w h <<<"$rect"
        left=$((x < left ? x : left)); top=$((y < top ? y : top))
        right=$((x + w > right ? x + w : right)); bottom=$((y + h > bottom ? y + h : bottom))
    done
    sleep 0.5
    "$IMPORT" -window root -crop "$((right - left))x$((bottom - top))+$((DESK_X + left))+$((DESK_Y + top))" \
        +repage "$OUT_DIR/$name.png"
    echo "  $name.png"
}

start_wizard() {
    wine "$INSTALLED_WIN\\ravelgard-wizard.exe" >/dev/null 2>&1 &
    APP=$!
}

# First run: no password yet, so the wizard opens at once.
step "first run"
start_wizard
desktop_window
WIN=$(find_window "$TITLE" "#32770")
WIN_ID=${WIN%% *}
shoot page1-welcome "$WIN"
keys Return
shoot page3-alerts "$WIN"
keys alt+d                                  # "Do not alert me, just keep the log"
shoot page3-alerts-chosen "$WIN"
keys Return
typed "$PASSWORD"
keys Tab
typed "$PASSWORD"
shoot page4-password "$WIN"
keys Return
shoot page5-programs "$WIN"
click_middle "$(child_rect "$WIN_ID" Button 'A&dvanced: let me set each permission')" 1
shoot page5-advanced-chosen "$WIN"
keys Return
shoot page6-program-list "$WIN"
LIST=$(child_rect "$WIN_ID" SysListView32 "")
[ -n "$LIST" ] || fail "no program list on the advanced page"
LIST_ID=${LIST%% *}

# The first program with the keyboard (Alt+A), the second with a click on Add; each path typed
# into the open-file dialog's file name box.
add_program() {  # how (keys or click), file name
    if [ "$1" = keys ]; then
        keys alt+a
    else
        click_middle "$(child_rect "$WIN_ID" Button '&Add')" 1
    fi
    local dialog
    dialog=$(find_window "Add Program") || fail "no open-file dialog"
    sleep 0.5
    [ -n "${SHOT_DIALOG:-}" ] || { shoot open-file-dialog "$dialog"; SHOT_DIALOG=1; }
    typed "C:\\walk\\$2"
    keys Return
    wait_gone "${dialog%% *}"
}
add_program keys "${PROGRAMS[0]#*:}"
add_program click "${PROGRAMS[1]#*:}"
[ "$(peek count "$LIST_ID")" = ${#PROGRAMS[@]} ] || fail "the list does not hold ${#PROGRAMS[@]} programs"
shoot page6-program-list-filled "$WIN"

# A left click on the Access cell (column 1) of the second row opens the Access menu there.
read -r cx cy cw ch <<<"$(peek cell "$LIST_ID" 1 1)" || fail "no cell rectangle"
click $((cx + cw / 2)) $((cy + ch / 2)) 1
MENU=$(find_window "" "#32768") || fail "no Access menu"
shoot page6-access-menu "$WIN" "$MENU"
keys Down Down Return                         # Allow, Block: "Block"
wait_gone "${MENU%% *}"
shoot page6-program-list-blocked "$WIN"
# The Server menu of the same row from the keyboard (Ctrl+Shift+F10), left with Esc.
keys ctrl+shift+F10
MENU=$(find_window "" "#32768") || fail "no Server menu"
shoot page6-server-menu "$WIN" "$MENU"
keys Escape
wait_gone "${MENU%% *}"
# The window menu (Alt+Space), closed by a click on the window below the banner (Esc would
# leave the menu mode on, and the next Return would open the menu again).
keys alt+space
MENU=$(find_window "" "#32768") || fail "no window menu"
shoot window-menu "$WIN" "$MENU"
read -r _ wx wy ww wh <<<"$WIN"
click $((wx + 40)) $((wy + wh - 12)) 1
wait_gone "${MENU%% *}"
keys Return
shoot page9-finish "$WIN"
keys Escape
BOX=$(find_window "$TITLE" "#32770" "$WIN_ID") || fail "no exit confirmation"
shoot exit-confirmation "$BOX"
keys Tab space                                # No: stay in the wizard
wait_gone "${BOX%% *}"
keys Return                                   # Finish: save and end
for _ in $(seq 1 100); do kill -0 "$APP" 2>/dev/null || break; sleep 0.2; done
kill -0 "$APP" 2>/dev/null && fail "the wizard did not end after Finish"
wait "$APP" || true

# ---- what the finish step saved ----
step "checking the saved files"
tool() { wine "$INSTALLED_WIN\\ravelgard-tool.exe" "$@" 2>/dev/null | tr -d '\r'; }
PROFILES=$INSTALLED/Profiles
count=$(find "$PROFILES" -maxdepth 1 -type f -iname '*.RVL' | wc -l)
[ "$count" = 13 ] || fail "the Profiles folder holds $count profile files, not 13"
[ "$(tool profile get Main AlertEvent "$INSTALLED_WIN\\Profiles\\AlertsAndLogSetting.RVL")" = 0 ] ||
    fail "AlertEvent is not 0 (Do not alert me) after the walk"
dump=$(tool profile dump "$INSTALLED_WIN\\Profiles\\ProgramControl.RVL")
[ "$(grep -c '^\[' <<<"$dump")" = ${#PROGRAMS[@]} ] || fail "ProgramControl.RVL does not hold ${#PROGRAMS[@]} programs"
for pair in "${PROGRAMS[@]}"; do
    grep -qxF "Path=C:\\walk\\${pair#*:}" <<<"$dump" || fail "no section with the path of ${pair#*:}"
done
# The second program blocked (Access and Server 1), the first allowed (0) in both.
second=$(awk -v p="Path=C:\\\\walk\\\\${PROGRAMS[1]#*:}" '/^\[/ { s = "" } { s = s $0 "\n" } $0 == p { f = 1 } /^NoCustomizePorts=/ && f { printf "%s", s; exit }' <<<"$dump")
grep -qx 'Column1=1' <<<"$second" && grep -qx 'Column3=1' <<<"$second" ||
    fail "the Block choice did not reach the second program's section"
[ "$(grep -c '^Column3=0$' <<<"$dump")" = 1 ] && [ "$(grep -c '^Column1=0$' <<<"$dump")" = 1 ] ||
    fail "the first program is not allowed in ProgramControl.RVL"
PASSWORD_FILE=$DRIVE/windows/syswow64/RVPSD.SYS
[ -s "$PASSWORD_FILE" ] || fail "no password file in the 32-bit system folder"
[ "$(cat "$PASSWORD_FILE")" != "$INSTALLED_PASSWORD_FILE" ] || fail "the password file was not rewritten"
[ ! -e "$DRIVE/windows/system32/RVPSD.SYS" ] || fail "a password file in the 64-bit system folder"
wine reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Setup' /v RVPSD /reg:32 >/dev/null 2>&1 ||
    fail "no registry value RVPSD in the 32-bit view"
value=$(peek password-value) || fail "the registry value RVPSD cannot be read"
[ "${value%%$'\t'*}" = 1 ] || fail "RVPSD is not a REG_SZ value"
mkdir -p "$SAVED/Profiles"
cp "$PROFILES"/* "$SAVED/Profiles/"
cp "$PASSWORD_FILE" "$SAVED/RVPSD.SYS"
# The value's bytes without the terminating NUL the A call adds.
python3 -c 'import sys; d = bytes.fromhex(sys.argv[1]); sys.stdout.buffer.write(d[:-1] if d.endswith(b"\0") else d)' \
    "${value#*$'\t'}" >"$SAVED/RVPSD.value"
printf '%s\n' "$dump" >"$SAVED/ProgramControl.dump"
echo "  the saved files hold the walk's choices (13 profiles, AlertEvent 0, ${#PROGRAMS[@]} programs, one blocked, the password in both stores)"

# Second run: the login prompt comes first; a wrong password, then the right one.
step "second run"
start_wizard
LOGIN=$(find_window "Password" "#32770") || fail "no login prompt: no password was stored"
sleep 1
# The wizard's window may already stand behind the prompt: the message box is the other one.
BEHIND=$(peek windows | awk -F'\t' -v t="$TITLE" '$8 == t && !n++ { print $1 }')
[ -z "${RG_WALK_TRACE:-}" ] || peek windows >&2
typed demo
shoot login-prompt "$LOGIN"
keys Return
BOX=$(find_window "$TITLE" "#32770" "$BEHIND") || fail "no message for the wrong password"
shoot login-wrong-password "$BOX"
keys Return
wait_gone "${BOX%% *}"
typed "$PASSWORD"
keys Return
WIN=$(find_window "$TITLE" "#32770") || fail "no wizard after the right password"
WIN_ID=${WIN%% *}
shoot after-login "$WIN"
keys Escape
BOX=$(find_window "$TITLE" "#32770" "$WIN_ID") || fail "no exit confirmation"
keys Return                                   # Yes: leave without saving
for _ in $(seq 1 100); do kill -0 "$APP" 2>/dev/null || break; sleep 0.2; done
kill -0 "$APP" 2>/dev/null && fail "the wizard did not end after Esc and Yes"
wait "$APP" || true
wineserver -k 2>/dev/null || true
step "done"

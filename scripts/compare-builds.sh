#!/usr/bin/env bash
# The Windows programs must write what the Linux build writes. Runs the same commands through
# the Linux ravelgard-tool and through ravelgard-tool.exe under Wine (in a fresh Wine prefix)
# and compares the bytes:
#   - install: the fresh password file (in the 32-bit system directory, syswow64, on Windows),
#     a second install refused, the Setup key in the 32-bit registry view, no key of Windows'
#     own written;
#   - profile set/get/clear: the same sequence gives the same file;
#   - fileinfo --json: the same names, sizes, size texts, dates and eight version entries for
#     every PE fixture of the tests (the full path aside, which names the file per platform).
#
#   scripts/compare-builds.sh [LINUX_BUILD] [WINDOWS_BUILD]     (defaults: build/default,
#                                                              build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
linux_tool=$(realpath "${1:-build/default}")/tools/ravelgard-tool
windows_tool=$(realpath "${2:-build/windows}")/tools/ravelgard-tool.exe
fixtures=$(realpath "${1:-build/default}")/tests/fixtures/pe

work=$(mktemp -d /tmp/rg-compare.XXXXXX)
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine takes the ANSI code page from the locale: a Western European Windows has code page 1252.
wine() { env LC_ALL=en_US.UTF-8 wine "$@"; }
trap 'wineserver -k 2>/dev/null || true; [ -n "${RG_KEEP:-}" ] || rm -rf "$work"' EXIT
wineboot --init >/dev/null 2>&1
failures=0
check() {  # description, command...
    local what=$1
    shift
    if "$@"; then
        echo "same: $what"
    else
        echo "DIFFERENT: $what" >&2
        failures=$((failures + 1))
    fi
}

# install
browser_key='HKCR\Applications\iexplore.exe\shell\open\command'
windows_browser=$(wine reg query "$browser_key" 2>&1 || true)
"$linux_tool" install --prefix "$work/linux" >/dev/null
wine "$windows_tool" install >/dev/null
windows_password="$WINEPREFIX/drive_c/windows/syswow64/RVPSD.SYS"
check "the fresh password file" cmp "$work/linux/system32/RVPSD.SYS" "$windows_password"
refused() { ! "$@" >/dev/null 2>&1; }
check "a second install is refused (Linux)" refused "$linux_tool" install --prefix "$work/linux"
check "a second install is refused (Windows)" refused wine "$windows_tool" install
check "Windows' own browser key left as it was" \
    test "$windows_browser" = "$(wine reg query "$browser_key" 2>&1 || true)"

# profile
profile_sequence() {  # tool-runner..., file
    local file=${*: -1}
    local run=("${@:1:$#-1}")
    printf ';Save Programs Here\r\n[Main]\r\nAlertEvent=1\r\n' >"$file.seed"
    cp "$file.seed" "$file"
    "${run[@]}" profile set Main AlertEvent 2 "$file" >/dev/null
    "${run[@]}" profile set "C:\\Tools\\tool.exe" Path "C:\\Tools\\tool.exe" "$file" >/dev/null
    "${run[@]}" profile set "C:\\Tools\\tool.exe" Column1 0 "$file" >/dev/null
    "${run[@]}" profile set Other Key "Caf$(printf '\xc3\xa9') au lait" "$file" >/dev/null
    "${run[@]}" profile clear Main "$file" >/dev/null
    "${run[@]}" profile get "C:\\Tools\\tool.exe" Path "$file"
}
linux_get=$(profile_sequence "$linux_tool" "$work/linux.RVL")
windows_get=$(profile_sequence wine "$windows_tool" "$work/windows.RVL" | tr -d '\r')
check "profile set/clear: the file's bytes" cmp "$work/linux.RVL" "$work/windows.RVL"
check "profile get" test "$linux_get" = "$windows_get"

# fileinfo
for fixture in "$fixtures"/*.exe; do
    "$linux_tool" fileinfo --json "$fixture" | sed 's/"FullPath":"[^"]*",//' >>"$work/linux.json" || true
    wine "$windows_tool" fileinfo --json "$(winepath -w "$fixture")" | tr -d '\r' |
        sed 's/"FullPath":"[^"]*",//' >>"$work/windows.json" || true
done
check "fileinfo --json of $(ls "$fixtures"/*.exe | wc -l) fixtures" \
    diff "$work/linux.json" "$work/windows.json"

if [ "$failures" -ne 0 ]; then
    echo "compare-builds: $failures difference(s)" >&2
    exit 1
fi
echo "compare-builds: the Windows programs write what the Linux build writes"

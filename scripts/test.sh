#!/usr/bin/env bash
# Installs what is missing, builds and runs the test suites.
#   scripts/test.sh           everything CI runs: the source checks, then the Linux suite
#                             (release), the Windows suite under Wine, and the Linux suite under
#                             AddressSanitizer and UndefinedBehaviorSanitizer
#   scripts/test.sh default   the Linux release build and its tests only
#   scripts/test.sh asan      the Linux suite under the sanitizers only
#   scripts/test.sh windows   the Windows programs (mingw-w64) and their tests under Wine, in a
#                             fresh Wine prefix made in a temporary folder, then the bytes they
#                             write compared with the Linux build's (scripts/compare-builds.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

run_preset() {
    local preset=$1
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    if [ "$preset" = windows ]; then
        # A fresh Wine prefix for every run; the test preset points at build/windows/wineprefix.
        local prefix
        prefix=$(mktemp -d /tmp/rg-wineprefix.XXXXXX)
        rm -rf build/windows/wineprefix
        ln -s "$prefix" build/windows/wineprefix
        ctest --preset windows
        WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
        rm -rf "$prefix" build/windows/wineprefix
        # The Windows programs write what the Linux build writes.
        [ -x build/default/tools/ravelgard-tool ] || run_preset default
        bash scripts/compare-builds.sh build/default build/windows
    else
        ctest --preset "$preset"
    fi
}

bash scripts/install-deps.sh
if [ $# -eq 0 ]; then
    bash scripts/check-sources.sh
    for preset in default windows asan; do
        echo "== $preset"
        SECONDS=0
        run_preset "$preset"
        echo "== $preset: ${SECONDS}s"
    done
else
    run_preset "$1"
fi

#!/usr/bin/env bash
# Checks of the sources that need no build: formatting, and that the operating system and Qt
# stay where they belong.
#   - every tracked C++ file is clang-formatted;
#   - POSIX and Linux headers appear only in platform/posix/, app/, tools/ and tests/;
#   - Windows headers appear only in platform/win32*/, app/, tools/ and tests/;
#   - Qt headers appear only in platform/qt/, app/ and tests/platform/qt/.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
mapfile -t sources < <(git ls-files '*.cpp' '*.h')

if ! clang-format --dry-run -Werror "${sources[@]}"; then
    echo "check-sources: run clang-format -i on the files above" >&2
    status=1
fi

# grep_includes PATTERN ALLOWED_REGEX MESSAGE
grep_includes() {
    local pattern=$1 allowed=$2 message=$3 hits
    hits=$(grep -nE "^\s*#\s*include\s*<($pattern)" "${sources[@]}" | grep -vE "^($allowed)" || true)
    if [ -n "$hits" ]; then
        echo "$hits" >&2
        echo "check-sources: $message" >&2
        status=1
    fi
}

posix_headers='unistd\.h|fcntl\.h|dirent\.h|signal\.h|pwd\.h|grp\.h|poll\.h|spawn\.h|termios\.h|dlfcn\.h|pthread\.h|sys/[a-z_]+\.h|linux/'
grep_includes "$posix_headers" 'platform/posix/|app/|tools/|tests/' \
    "a POSIX or Linux header outside platform/posix/, app/, tools/ and tests/"

windows_headers='windows\.h|winreg\.h|shellapi\.h|shlwapi\.h|commctrl\.h|commdlg\.h|winver\.h'
grep_includes "$windows_headers" 'platform/win32[a-z]*/|app/|tools/|tests/' \
    "a Windows header outside platform/win32*/, app/, tools/ and tests/"

qt_headers='Q[A-Za-z]+>|Qt[A-Za-z]+/'
grep_includes "$qt_headers" 'platform/qt/|app/|tests/platform/qt/' \
    "a Qt header in a core folder (only platform/qt/, app/ and tests/platform/qt/ may use Qt)"

exit $status

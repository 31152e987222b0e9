#!/usr/bin/env bash
# Installs what is missing, builds, prepares a demo installation when there is none, and starts
# the wizard on it. The demo machine (system directory, registry, password file) lives in
# build/demo-prefix; the wizard's own folder (Profiles, Lang, Err.log) is build/default/app.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default

export RAVELGARD_PREFIX="$PWD/build/demo-prefix"
if [ ! -e "$RAVELGARD_PREFIX/system32/RVPSD.SYS" ]; then
  build/default/tools/ravelgard-tool install --prefix "$RAVELGARD_PREFIX"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display here (DISPLAY is not set), so the wizard cannot open its window."
  echo "Start it under a virtual display instead:"
  echo "  RAVELGARD_PREFIX=\"$RAVELGARD_PREFIX\" xvfb-run -a build/default/app/ravelgard-wizard"
  echo "or take screenshots of every page with: tools/screenshots.sh"
  exit 1
fi
exec build/default/app/ravelgard-wizard

#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the test session's prefix and display.
# Used by ctest for every Windows test program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
: "${WINEPREFIX:=$QLT_BUILD/wineprefix-test}"
export WINEPREFIX
if [ -n "${QLT_SESSION_DIR:-}" ] && [ -f "$QLT_SESSION_DIR/display" ]; then
  export DISPLAY="$(cat "$QLT_SESSION_DIR/display")"
fi
exec wine "$@"

#!/usr/bin/env bash
# The run command: installs what is missing, builds QLT.exe and starts it under Wine from build/run
# (where it keeps QLT.ini and data.txt). On a machine without a display it starts a virtual one,
# leaves QLT running there and saves a screenshot; `scripts/run.sh --stop` ends it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
export WINEPREFIX="$QLT_BUILD/wineprefix-run"
rundir="$QLT_BUILD/run"
session="$rundir/session"

stop() {
  wineserver -k 2>/dev/null || true
  [ -f "$session/xvfb.pid" ] && kill "$(cat "$session/xvfb.pid")" 2>/dev/null || true
  rm -f "$session/xvfb.pid" "$session/display"
}
if [ "${1:-}" = "--stop" ]; then stop; exit 0; fi

"$here/install-deps.sh"
"$here/build.sh" win
"$here/wine-prefix.sh" "$WINEPREFIX"
mkdir -p "$rundir" "$session"
cp -f "$QLT_BUILD/win/app/QLT.exe" "$rundir/QLT.exe"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting QLT on $DISPLAY (it lives in the notification area)."
  exec wine "$rundir/QLT.exe"
fi

# No display: run QLT in a virtual one, in the background.
if [ -f "$session/display" ] && kill -0 "$(cat "$session/xvfb.pid" 2>/dev/null)" 2>/dev/null; then
  export DISPLAY="$(cat "$session/display")"
else
  for n in $(seq 60 89); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$session/xvfb.log" 2>&1 </dev/null &
    echo $! >"$session/xvfb.pid"
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    echo ":$n" >"$session/display"
    break
  done
  export DISPLAY="$(cat "$session/display")"
fi
(cd "$rundir" && exec setsid wine "$rundir/QLT.exe" >"$session/qlt.log" 2>&1 </dev/null) &
for _ in $(seq 100); do
  xdotool search --class "QLT.exe" >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
import -display "$DISPLAY" -window root "$rundir/screenshot.png" 2>/dev/null || true
echo "QLT is running under Wine on the virtual display $DISPLAY (prefix $WINEPREFIX)."
echo "Screenshot: $rundir/screenshot.png"
echo "Stop it with: scripts/run.sh --stop"

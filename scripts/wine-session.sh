#!/usr/bin/env bash
# Starts and stops the Wine session the Windows tests share: a virtual X display (Xvfb), a
# persistent wineserver (a Wine process then starts in ~0.1 s instead of ~0.5 s) and Wine's
# virtual desktop with its shell, kept alive by a small idle program for the whole run.
# Usage: wine-session.sh start KEEPER.exe | stop
# Environment: WINEPREFIX (the private test prefix), QLT_SESSION_DIR (where the session's state lives).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
: "${WINEPREFIX:?}" "${QLT_SESSION_DIR:?}"
export WINEPREFIX

start_display() {
  local pidfile="$QLT_SESSION_DIR/xvfb.pid" n
  if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then return; fi
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$QLT_SESSION_DIR/xvfb.log" 2>&1 </dev/null &
    echo $! >"$pidfile"
    for _ in $(seq 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && { echo ":$n" >"$QLT_SESSION_DIR/display"; return; }
      kill -0 "$(cat "$pidfile")" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "wine-session: could not start Xvfb" >&2
  exit 1
}

wait_for_desktop() {
  for _ in $(seq 300); do
    xdotool search --name "Wine desktop" >/dev/null 2>&1 && return
    sleep 0.1
  done
  echo "wine-session: Wine's virtual desktop did not appear" >&2
  exit 1
}

case "${1:-}" in
  start)
    keeper="${2:?keeper program}"
    mkdir -p "$QLT_SESSION_DIR"
    "$here/wine-prefix.sh" "$WINEPREFIX"
    start_display
    export DISPLAY="$(cat "$QLT_SESSION_DIR/display")"
    wineserver -p >/dev/null 2>&1 </dev/null
    setsid wine "$keeper" >"$QLT_SESSION_DIR/keeper.log" 2>&1 </dev/null &
    wait_for_desktop
    echo "Wine session on display $DISPLAY, prefix $WINEPREFIX"
    ;;
  stop)
    # Nothing in the test prefix needs keeping, so the server is killed rather than waited for.
    wineserver -k 2>/dev/null || true
    if [ -f "$QLT_SESSION_DIR/xvfb.pid" ]; then
      kill "$(cat "$QLT_SESSION_DIR/xvfb.pid")" 2>/dev/null || true
      rm -f "$QLT_SESSION_DIR/xvfb.pid" "$QLT_SESSION_DIR/display"
    fi
    ;;
  *)
    echo "usage: $0 start KEEPER.exe | stop" >&2
    exit 2
    ;;
esac

#!/usr/bin/env bash
# Runs the Windows benchmarks under Wine, in a Wine session of their own (prefix
# build/wineprefix-bench, its own virtual display and desktop), and prints their figures.
# Usage: bench-wine.sh [NAME] [ARGS...]   NAME: a benchmark of build/win/bench/win (default: all)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
"$here/install-deps.sh"
"$here/build.sh" win
export WINEPREFIX="$QLT_BUILD/wineprefix-bench"
export QLT_SESSION_DIR="$QLT_BUILD/bench-session"
mkdir -p "$QLT_SESSION_DIR"
"$here/wine-session.sh" start "$QLT_BUILD/win/tests/tools/qlt_desktop_keeper.exe" >/dev/null
trap '"$here/wine-session.sh" stop' EXIT

benches=("$QLT_BUILD"/win/bench/win/bench_*.exe)
if [ $# -gt 0 ]; then
  benches=("$QLT_BUILD/win/bench/win/$1.exe")
  shift
fi
for b in "${benches[@]}"; do
  case "$(basename "$b")" in bench_window_host.exe) continue ;; esac
  echo "== $(basename "$b" .exe)"
  "$here/wine-run.sh" "$b" "$@"
done

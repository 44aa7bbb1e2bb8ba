#!/usr/bin/env bash
# Configures (once) and builds one side of QLT.
# Usage: build.sh win|native|bench|fuzz   (build folders: build/win, build/native, build/bench, build/fuzz)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
side="${1:?win|native|bench|fuzz}"
dir="$QLT_BUILD/$side"
args=()
case "$side" in
  win)    args=(-DCMAKE_TOOLCHAIN_FILE="$QLT_ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release) ;;
  native) args=(-DQLT_SANITIZE=ON -DQLT_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  bench)  args=(-DQLT_SANITIZE=OFF -DQLT_BENCH=ON -DCMAKE_BUILD_TYPE=Release) ;;
  fuzz)   args=(-DQLT_SANITIZE=OFF -DQLT_FUZZ=ON -DQLT_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
                -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "unknown side: $side" >&2; exit 2 ;;
esac
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$QLT_ROOT" -B "$dir" "${args[@]}" >/dev/null
fi
cmake --build "$dir" -j"$(nproc)" | grep -v -E '^\[ *[0-9]+%\] (Building|Linking|Built target)' || true
test "${PIPESTATUS[0]}" -eq 0

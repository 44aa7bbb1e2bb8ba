#!/usr/bin/env bash
# The test command: installs what is missing, builds both sides and runs every test (native unit
# tests, Windows tests under Wine, end-to-end tests of QLT.exe) in one ctest run.
# Extra arguments go to ctest (for example -R e2e_ or --output-on-failure).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
"$here/install-deps.sh"
"$here/build.sh" native
"$here/build.sh" win
"$here/wine-prefix.sh" "$QLT_BUILD/wineprefix-test"
cd "$QLT_BUILD/native"
exec ctest --output-on-failure -j"$(nproc)" "$@"

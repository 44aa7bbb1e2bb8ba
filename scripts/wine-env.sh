# Sourced by the other scripts: where the build, the Wine prefixes and the test display live.
# QLT_BUILD may be set by the caller; by default everything goes under build/ in the checkout.
QLT_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QLT_BUILD="${QLT_BUILD:-$QLT_ROOT/build}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
# Wine asks to install Mono and Gecko on a new prefix; QLT needs neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

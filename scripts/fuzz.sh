#!/usr/bin/env bash
# Fuzzes one target of the skin layer with libFuzzer (clang, AddressSanitizer, UBSan), in one
# process. Builds build/fuzz, writes the seed inputs, and keeps the growing corpus in
# build/fuzz/corpus/TARGET; the inputs in tests/corpus/TARGET (all that ever failed) are read too.
# A failing input is saved under build/fuzz/crashes/TARGET/: add it to tests/corpus/TARGET.
# Usage: scripts/fuzz.sh lzh|bitmap|container|packed|geometry [SECONDS (600)] [libFuzzer flags...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
target="${1:?lzh|bitmap|container|packed|geometry}"
seconds="${2:-600}"
shift $(( $# < 2 ? $# : 2 ))
case "$target" in lzh|bitmap|container|packed|geometry) ;; *) echo "unknown target: $target" >&2; exit 2 ;; esac

dict="$QLT_ROOT/tests/fuzz/skin.dict"
[ "$target" = geometry ] && dict="$QLT_ROOT/tests/fuzz/geometry.dict"

"$here/build.sh" fuzz
fuzz="$QLT_BUILD/fuzz"
mkdir -p "$fuzz/corpus/$target" "$fuzz/crashes/$target"
"$fuzz/tests/fuzz/qlt_fuzz_inputs" seeds "$fuzz/seeds" "$QLT_ROOT/tests/data"
exec "$fuzz/tests/fuzz/fuzz_$target" "$fuzz/corpus/$target" "$fuzz/seeds/$target" "$QLT_ROOT/tests/corpus/$target" \
  -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2048 \
  -dict="$dict" -artifact_prefix="$fuzz/crashes/$target/" -print_final_stats=1 "$@"

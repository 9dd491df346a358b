#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/, and runs each one for a bounded
# time from a copy of its seed corpus. Fails on any finding (crash, leak,
# sanitizer report, failed check); the input that found it is kept in
# build-fuzz/findings/<target>/.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
targets=(profile slip hexblock report)

cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j"$(nproc)"

work="$(mktemp -d "${TMPDIR:-/tmp}/lumaris-fuzz-run.XXXXXX")"
trap 'rm -rf "$work"' EXIT
failed=()
for t in "${targets[@]}"; do
  mkdir -p "$work/$t" "build-fuzz/findings/$t"
  cp fuzz/corpus/"$t"/* "$work/$t/"
  # Slip-file words help every target that reads slips.
  dict=()
  [ "$t" = hexblock ] || dict=(-dict=fuzz/slip.dict)
  echo "fuzz: $t for ${seconds}s" >&2
  # Offscreen: the report target loads images through QtGui.
  if ! QT_QPA_PLATFORM=offscreen ./build-fuzz/fuzz_"$t" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="build-fuzz/findings/$t/" "$work/$t" >"$work/$t.log" 2>&1; then
    tail -n 60 "$work/$t.log" >&2
    failed+=("$t")
  else
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$work/$t.log" | tr '\n' ' ' >&2
    echo >&2
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]} (inputs in build-fuzz/findings/)" >&2
  exit 1
fi

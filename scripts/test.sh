#!/usr/bin/env bash
# Installs what is missing, builds, starts a private CUPS scheduler with two
# PDF queues for the printing tests, and runs every test; then the fuzzers
# (scripts/fuzz.sh, 30 s a target; LUMARIS_FUZZ_SECONDS=0 leaves them out).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
eval "$(bash scripts/cups-env.sh start)"
trap 'bash scripts/cups-env.sh stop' EXIT
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
seconds="${LUMARIS_FUZZ_SECONDS:-30}"
[ "$seconds" = 0 ] || bash scripts/fuzz.sh "$seconds"

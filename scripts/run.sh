#!/usr/bin/env bash
# Installs what is missing, builds, and opens the preview:
#   scripts/run.sh                 the built-in template of form 11
#   scripts/run.sh --template N    the built-in template N (1 to 12)
#   scripts/run.sh FILE.slp        a slip file
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
[ $# -gt 0 ] || set -- --template 11
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "no display: running under Xvfb; close the window with Escape or kill the program" >&2
  exec xvfb-run -a -s "-screen 0 1600x1000x24" ./build/lumaris "$@"
fi
exec ./build/lumaris "$@"

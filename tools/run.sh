#!/usr/bin/env bash
# Sets up, builds and starts the simulator (under Xvfb when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1366x768x24" build/bin/Tolvek "$@"
fi
exec build/bin/Tolvek "$@"

#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the built-in simulated logger.
# Extra arguments go to the program (for example: --sim-options "--type 4 --stored 3").
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh" "$here/build"
# The program keeps its settings and device list in its current directory: run it in run/,
# with one demonstration address in the device list the first time.
mkdir -p "$here/run"
cd "$here/run"
[ -e lidi.IDO ] || printf 'A1B2C3D4E5F6' > lidi.IDO
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting on a virtual X server (xvfb-run); nothing will be visible." >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$here/build/src/tervix" --simulate "$@"
fi
exec "$here/build/src/tervix" --simulate "$@"

#!/usr/bin/env bash
# Installs what is missing, builds and starts Orvella. Without a display it
# runs under Xvfb; without a session bus it starts a private one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"
"$root/scripts/build.sh" "$root/build"

cmd=("$root/build/bin/Orvella")
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  echo "No session bus: starting Orvella on a private one."
  cmd=(dbus-run-session -- "${cmd[@]}")
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting Orvella under Xvfb."
  cmd=(xvfb-run -a -s "-screen 0 1024x768x24" "${cmd[@]}")
fi
exec "${cmd[@]}"

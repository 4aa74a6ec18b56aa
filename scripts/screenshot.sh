#!/usr/bin/env bash
# Starts Orvella under Xvfb with a fresh home folder and saves a screenshot
# of the screen. Usage: scripts/screenshot.sh OUT.png [BUILD_DIR] [-- SETUP]
# SETUP, if given, is a command run on the display (DISPLAY is set) after
# Orvella has started, e.g. to send it a request, before the shot is taken.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$1"); shift
build="$root/build"
if [ $# -gt 0 ] && [ "$1" != "--" ]; then build=$1; shift; fi
[ "${1:-}" = "--" ] && shift
setup=("$@")

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config"

inner() {
  "$build/bin/Orvella" > "$home/orvella.log" 2>&1 &
  pid=$!
  sleep 2
  if [ ${#setup[@]} -gt 0 ]; then "${setup[@]}"; sleep 1; fi
  import -window root "$out"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
export -f inner
export build out
export setup_cmd="${setup[*]:-}"
xvfb-run -a -s "-screen 0 640x400x24" dbus-run-session -- bash -c "$(declare -p setup); $(declare -f inner); inner"
echo "saved $out"

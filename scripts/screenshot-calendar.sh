#!/usr/bin/env bash
# Screenshots of the calendar views. Starts Orvella under Xvfb in a fresh
# home folder whose MarkDays file marks days of the current month, drives it
# with xdotool as a user would, and saves into OUT_DIR:
#   month.png         Expand View: today bold red, a local holiday (3rd), a
#                     global holiday (25th), a user day (10th), an event
#                     (14th, corner), weekends tinted, week numbers
#   tooltip.png       the whole screen with the 25th's tool tip ("frFR : Feast")
#   clock-dial.png    the hour field focused: the clock in the month's place
#   clock-scales.png  the clock after a secondary click: the two scales
#   three-months.png  Triple-Preview with the day field focused again
# Usage: scripts/screenshot-calendar.sh OUT_DIR [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$1")
build=$(realpath -m "${2:-$root/build}")
mkdir -p "$out"

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config"
mkdir -p "$home/people"
month=$(date +%m)
year=$(date +%Y)
cat > "$home/people/MarkDays" <<EOF
[HD][ever/$month/03][Home Day][enUS]
[HD][ever/$month/25][Feast][frFR]
[HD][1970/$month/10][Birthday][user]
[HD][$year/$month/14][Trip][evnt]
EOF

inner() {
  "$build/bin/Orvella" > "$HOME/orvella.log" 2>&1 &
  local pid=$!
  sleep 2
  local id
  id=$(xdotool search --sync --onlyvisible --name '^Orvella$' | head -1)
  # Window coordinates: the panel starts at x 45; its day field spans
  # x 166..189 and its hour field x 215..238, both from y 2 to 44.
  click() { xdotool mousemove --window "$id" "$1" "$2" click "${3:-1}"; sleep 0.7; }
  shot() { import -window "$id" "$out/$1"; echo "saved $out/$1"; }

  click 160 73
  xdotool key --window "$id" ctrl+e; sleep 1
  shot month.png
  # Resting on the 25th shows its marks in a tool tip, a window of its own.
  xdotool mousemove --window "$id" 176 165; sleep 1.5
  import -window root "$out/tooltip.png"; echo "saved $out/tooltip.png"
  click 226 22
  shot clock-dial.png
  click 160 150 3
  shot clock-scales.png
  click 160 73
  xdotool key --window "$id" ctrl+v; sleep 1
  click 177 22
  shot three-months.png

  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
export -f inner
export build out
xvfb-run -a -s "-screen 0 800x600x24" dbus-run-session -- bash -c "$(declare -f inner); inner"

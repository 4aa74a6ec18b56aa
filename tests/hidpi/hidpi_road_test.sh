#!/usr/bin/env bash
# Orvella on a screen scaled by 2 (QT_SCALE_FACTOR=2) under X11, against
# the same at scale 1: the window is twice the size and drawn anew at that
# size, clicks at 2x coordinates land on a day cell and on OK,
# and the month pictures it writes keep their 226 x 171 pixels.
# Runs under xvfb-run and dbus-run-session.
# Usage: hidpi_road_test.sh BIN_DIR ASK_DATE_PY
set -euo pipefail
bin=$1
ask_date=$2
work=$(mktemp -d /tmp/ova-hidpi-XXXXXX)
orvella=
cleanup() {
  [ -n "$orvella" ] && kill "$orvella" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

source "$(dirname "$0")/../../scripts/wait-until.sh"

size_is() { # WIDTHxHEIGHT
  [ "$(xdotool getwindowgeometry "$window" | awk '/Geometry/ { print $2 }')" = "$1" ]
}

# A click at a point given in 1x window coordinates, scaled.
click() { # X Y [BUTTON]
  xdotool mousemove --window "$window" $(($1 * scale)) $(($2 * scale)) click "${3:-1}"
}

# Starts Orvella at the scale in a fresh home, asks it for a date preset to
# 15 March 2004 10:00, expands the month view and takes a screenshot.
# Without a window manager the window's content starts at its stored place,
# 130, 130 (at 2x: 260, 260).
start_and_shoot() { # SCALE
  scale=$1
  export HOME=$work/home$scale XDG_CONFIG_HOME=$work/home$scale/.config
  mkdir -p "$HOME/bin"
  # The page written with the pictures opens in this stand-in.
  printf '#!/bin/sh\necho "$@" >> "%s"\n' "$HOME/opened" >"$HOME/bin/xdg-open"
  chmod +x "$HOME/bin/xdg-open"
  PATH=$HOME/bin:$PATH QT_SCALE_FACTOR=$scale QT_QPA_PLATFORM=xcb "$bin/Orvella" >"$work/orvella$scale.log" 2>&1 &
  orvella=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Orvella$' | head -1)
  [ -n "$window" ] || fail "no window at scale $scale"
  /usr/bin/python3 "$ask_date" --preset '2004/03/15 10:00' --timeout 60 >"$work/answer$scale" 2>&1 &
  asking=$!
  wait_until 20 grep -qF "<- '" "$work/orvella$scale.log" || fail "the request did not arrive at scale $scale"
  click 160 73
  xdotool key --window "$window" ctrl+e
  wait_until 10 size_is "$((321 * scale))x$((241 * scale))" || fail "Expand View at scale $scale"
  sleep 0.5
  import -window "$window" "$work/shot$scale.png"
}

stop() {
  kill "$orvella" "$asking" 2>/dev/null || true
  wait "$orvella" "$asking" 2>/dev/null || true
  orvella=
}

rmse() { # IMAGE IMAGE: their difference, 0 to 1
  compare -metric RMSE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true
}

start_and_shoot 1
stop
start_and_shoot 2

# The 2x window is the 1x one drawn anew at twice the size: halved, it
# matches the 1x one; and it holds detail that halving loses (none for a
# 1x window blown up pixel by pixel, about half as much for one blown up
# smoothly).
[ "$(identify -format %wx%h "$work/shot2.png")" = "642x482" ] || fail "the 2x window is $(identify -format %wx%h "$work/shot2.png")"
convert "$work/shot2.png" -filter box -resize 50% "$work/halved.png"
convert "$work/halved.png" -filter point -resize 200% "$work/halved-doubled.png"
same=$(rmse "$work/halved.png" "$work/shot1.png")
detail=$(rmse "$work/shot2.png" "$work/halved-doubled.png")
echo "2x halved against 1x: $same; detail of 2x: $detail"
python3 -c "import sys; sys.exit(0 if float(sys.argv[1]) < 0.06 else 1)" "$same" || fail "the 2x window does not look like the 1x one"
python3 -c "import sys; sys.exit(0 if float(sys.argv[1]) > 0.04 else 1)" "$detail" || fail "the 2x window looks blown up from 1x"

# March 2004 begins on a Monday: the 20th is the Saturday of the third row.
click 216 147
click 285 58
wait_until 20 grep -qF "2004/03/20 10:00" "$work/answer2" || fail "the 2x clicks answered: $(cat "$work/answer2")"

# A secondary click on the month view writes its pictures and page.
click 160 228 3
wait_until 20 test -s "$HOME/opened" || fail "no page was written"
for picture in "$HOME"/people/OrvelCal/*.png; do
  [ "$(identify -format %wx%h "$picture")" = "226x171" ] || fail "$picture is $(identify -format %wx%h "$picture")"
done
ls "$HOME"/people/OrvelCal/*.png >/dev/null || fail "no pictures"
stop
echo "drawn and clicked at 2x"

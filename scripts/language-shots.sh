#!/usr/bin/env bash
# Screenshots of Orvella and AskOrvel in German and in French, to check that
# every translated text fits. For each language Orvella starts under Xvfb in
# a fresh home folder whose locale setting holds the language, in 12-hour
# mode, and is driven with xdotool as a user would; into OUT_DIR go, named
# LANG-WHAT.png:
#   panel     the entry panel with its buttons and the AM/PM field
#   menu      the settings menu with the language submenu open
#   month     Expand View: the month grid with weekday heads and caption
#   dial      the hour field focused: the clock with its AM/PM words
#   scales    the clock's two scales
#   three     Triple-Preview: three months
#   askorvel  AskOrvel beside it with its language menu open
#   request   "Ask Date" pressed: Orvella's OK button shows AskOrvel's label
# Usage: scripts/language-shots.sh OUT_DIR [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$1")
build=$(realpath -m "${2:-$root/build}")
mkdir -p "$out"

inner() {
  "$build/bin/Orvella" > "$HOME/orvella.log" 2>&1 &
  local pid=$!
  local id
  id=$(xdotool search --sync --onlyvisible --name '^Orvella$' | head -1)
  sleep 1
  # Window coordinates (the window's content starts at 130, 130 on the
  # screen): the settings field at 18..36, 12..34; the day field x 166..189
  # and the hour field x 215..238, both y 2..44; y 73 lies below the panel.
  click() { xdotool mousemove --window "$id" "$1" "$2" click "${3:-1}"; sleep 0.7; }
  shot() { import -window "$id" "$out/$lang-$1.png"; echo "saved $out/$lang-$1.png"; }
  screen() { import -window root -crop "$2" +repage "$out/$lang-$1.png"; echo "saved $out/$lang-$1.png"; }

  shot panel
  click 27 23
  xdotool key --delay 80 Down Down Down Down Down Down Down Down Down Right; sleep 0.5
  screen menu 480x300+120+120
  xdotool key Escape Escape; sleep 0.5
  click 160 73
  xdotool key --window "$id" ctrl+e; sleep 1
  shot month
  click 226 22
  shot dial
  click 160 150 3
  shot scales
  click 160 73
  xdotool key --window "$id" ctrl+v; sleep 1
  click 177 22
  shot three
  xdotool key --window "$id" ctrl+v; sleep 0.5
  xdotool key --window "$id" ctrl+e; sleep 0.5

  "$build/bin/AskOrvel" > "$HOME/askorvel.log" 2>&1 &
  local ask
  ask=$(xdotool search --sync --onlyvisible --name '^AskOrvel$' | head -1)
  sleep 2
  xdotool windowmove --sync "$ask" 330 220
  xdotool mousemove --window "$ask" 240 27 click 1; sleep 0.7
  screen askorvel 600x300+110+110
  xdotool key Escape; sleep 0.3
  xdotool mousemove --window "$ask" 70 27 click 1; sleep 1.5
  screen request 600x300+110+110

  kill %2 "$pid" 2>/dev/null || true
  wait 2>/dev/null || true
}

for lang in deDE frFR; do
  home=$(mktemp -d)
  settings=$home/.config/_LP_x-vnd.KX
  mkdir -p "$settings"
  touch "$settings/kx_simpel_locale" "$settings/OVA_settings"
  setfattr -n user._last_lg_selected -v "$lang" "$settings/kx_simpel_locale"
  setfattr -n user.time_style -v 0sAQ== "$settings/OVA_settings"
  HOME=$home XDG_CONFIG_HOME=$home/.config lang=$lang build=$build out=$out \
    xvfb-run -a -s "-screen 0 800x600x24" dbus-run-session -- bash -c "$(declare -f inner); inner"
  rm -rf "$home"
done

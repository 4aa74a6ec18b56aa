#!/usr/bin/env bash
# Screenshots of Orvella and AskOrvel in German and in French, to check that
# every translated text fits: for each language the entry panel in 12-hour
# mode, the open settings menu with its language submenu, the month view,
# the clock, AskOrvel with its language menu, and Orvella answering AskOrvel.
# Each runs under Xvfb in a fresh home folder whose locale setting already
# holds the language.
# Usage: scripts/language-shots.sh OUT_DIR [BUILD_DIR]   (PNGs named LANG-WHAT.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$1")
build=$(realpath -m "${2:-$root/build}")
mkdir -p "$out"

# shot LANG NAME EXPAND SETUP...: starts Orvella with the language stored and
# the layout switches set, runs SETUP on the display, saves the screen.
shot() {
  local lang=$1 name=$2 expand=$3; shift 3
  local home
  home=$(mktemp -d)
  local settings=$home/.config/_LP_x-vnd.KX
  mkdir -p "$settings"
  touch "$settings/kx_simpel_locale" "$settings/OVA_settings"
  setfattr -n user._last_lg_selected -v "$lang" "$settings/kx_simpel_locale"
  setfattr -n user.time_style -v 0sAQ== "$settings/OVA_settings"
  setfattr -n user.show_expand -v "$expand" "$settings/OVA_settings"
  HOME=$home XDG_CONFIG_HOME=$home/.config xvfb-run -a -s "-screen 0 640x420x24" dbus-run-session -- \
    bash -c '"$0/bin/Orvella" > "$1/orvella.log" 2>&1 & sleep 2; shift; "$@"; sleep 1
             import -window root "'"$out/$lang-$name.png"'"; kill %1' "$build" "$home" "$@"
  rm -rf "$home"
  echo "saved $out/$lang-$name.png"
}

for lang in deDE frFR; do
  shot "$lang" panel 0sAA== true
  # The settings menu field at 18..36, 12..34 of the window at 130, 130;
  # the eighth item is "Language".
  shot "$lang" menu 0sAA== xdotool mousemove 157 153 click 1 sleep 0.5 \
    key Down Down Down Down Down Down Down Down Right
  shot "$lang" month 0sAQ== true
  # A click on the hour field gives it the focus, and the clock shows.
  shot "$lang" clock 0sAQ== xdotool mousemove 350 153 click 1
  shot "$lang" askorvel 0sAA== bash -c '"$0/bin/AskOrvel" > /dev/null 2>&1 & sleep 2
    xdotool search --name "^AskOrvel$" windowmove --sync 330 200 mousemove 570 227 click 1' "$build"
  # "Ask Date" asks Orvella, whose OK button then shows AskOrvel's label.
  shot "$lang" request 0sAA== bash -c '"$0/bin/AskOrvel" > /dev/null 2>&1 & sleep 2
    xdotool search --name "^AskOrvel$" windowmove --sync 330 200 mousemove 400 227 click 1' "$build"
done

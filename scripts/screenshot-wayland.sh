#!/usr/bin/env bash
# Screenshots of Orvella as a native Wayland client in a headless sway
# session (scripts/sway-session.sh), driven by keys as a user would, with
# a MarkDays file that marks days of the current month. Saves into OUT_DIR:
#   start.png         the compact window after the start
#   month.png         Expand View (Ctrl+E)
#   three-months.png  Triple-Preview (Ctrl+V)
#   request.png       AskOrvel's request for 2004/03/15, the day raised to
#                     the 20th by five Up keys
#   answered.png      after Return, which answers it; AskOrvel's answer
#                     goes to answer.txt
# Usage: scripts/screenshot-wayland.sh OUT_DIR [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$1")
build=$(realpath -m "${2:-$root/build}")

steps=$(mktemp /tmp/ova-steps-XXXXXX)
trap 'rm -f "$steps"' EXIT
cat >"$steps" <<'STEPS'
set -euo pipefail
BIN=$PWD/bin
source ./wayland-steps.sh
mkdir -p "$HOME/people"
month=$(date +%m)
cat >"$HOME/people/MarkDays" <<MARKS
[HD][ever/$month/03][Home Day][enUS]
[HD][ever/$month/25][Feast][frFR]
[HD][1970/$month/10][Birthday][user]
MARKS
shot() { grim "out/$1"; echo "saved $1"; }

start_orvella
shot start.png
menu_key e 321x241
shot month.png
menu_key v 521x241
shot three-months.png
"$BIN/AskOrvel" --date --preset "2004-03-15 10:00" --timeout 30 >out/answer.txt 2>&1 &
ask=$!
wait_until 20 said "<- '"
for _ in 1 2 3 4 5; do wtype -k Up; done
sleep 0.5
shot request.png
wtype -k Return
wait "$ask" || true
shot answered.png
stop_orvella
STEPS

mkdir -p "$out"
"$root/scripts/sway-session.sh" --copy "$build/bin" --copy "$root/scripts/wayland-steps.sh" \
  --copy "$root/scripts/wait-until.sh" --copy "$steps" --out "$out" -- bash "$(basename "$steps")"

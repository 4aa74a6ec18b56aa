#!/usr/bin/env bash
# Writes the twelve month pictures and one HTML page of a year for a given
# MarkDays file (and calendar folder), the way Orvella's HTML-View commands
# write them, and copies them into OUTDIR. Runs OrvellaExport in a fresh
# home folder without a display; nothing is opened in a browser.
# Usage: scripts/export-year.sh [--calendars DIR] YEAR MARKDAYS OUTDIR [LAYOUT [MONTH]]
#   --calendars DIR: the folder of iCalendar files Orvella reads
#   (docs/calendars.md); without it, none.
#   LAYOUT 1: the month page of MONTH (default 1), 2: the year two months a
#   row, 3 (default): the year three months a row.
set -euo pipefail
usage() { sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
calendars=
if [ "${1:-}" = "--calendars" ]; then
  [ $# -ge 2 ] || usage
  calendars=$2
  shift 2
  [ -d "$calendars" ] || { echo "no calendar folder '$calendars'"; exit 1; }
fi
if [ $# -lt 3 ] || [ $# -gt 5 ]; then
  usage
fi
root=$(cd "$(dirname "$0")/.." && pwd)
year=$1 markdays=$2 out=$3 layout=${4:-3} month=${5:-1}
[ -r "$markdays" ] || { echo "cannot read the MarkDays file '$markdays'"; exit 1; }
build=${BUILD_DIR:-$root/build}
if [ ! -x "$build/bin/OrvellaExport" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j "$(nproc)" --target OrvellaExport >/dev/null
fi

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/people" "$home/run" "$home/bin" "$home/.local/share/orvella" "$out"
cp "$markdays" "$home/people/MarkDays"
# The folder is read where Orvella reads it, through a link: its files are
# read as they are, and none is copied.
if [ -n "$calendars" ]; then
  ln -s "$(cd "$calendars" && pwd)" "$home/.local/share/orvella/calendars"
fi
# The page would be opened with xdg-open; here a stand-in only names it.
printf '#!/bin/sh\necho "page: $1" >> "%s/opened"\n' "$home" > "$home/bin/xdg-open"
chmod +x "$home/bin/xdg-open"

HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$home/run" \
  PATH="$home/bin:$PATH" QT_QPA_PLATFORM=offscreen \
  "$build/bin/OrvellaExport" "$year" "$month" "$layout" > "$home/export.log" 2>&1 || {
  cat "$home/export.log"; exit 1; }
# What the calendar files gave: a file not read, or read only in part.
grep '^Calendar' "$home/export.log" || true
for _ in $(seq 50); do [ -e "$home/opened" ] && break; sleep 0.1; done
if [ ! -e "$home/opened" ]; then
  grep -v '^ \|^FILE\|^NEW\|^\[' "$home/export.log" || true
  echo "no page was written"
  exit 1
fi
cp "$home/people/OrvelCal/"* "$out/"
ls "$out"

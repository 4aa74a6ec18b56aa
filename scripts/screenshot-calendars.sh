#!/usr/bin/env bash
# Screenshots of the user's own calendars, reached as a user reaches them.
# Starts, in a fresh home folder and on a private session bus under Xvfb,
# Radicale with the user alice and two calendars (Work, red, and Home, blue)
# holding events of the current month, a holiday feed (frFR) on a local web
# server, and gnome-keyring; adds the feed with `Orvella --add-calendar`,
# then the account in the Calendars window (address, user, password, Add,
# Home unticked, Show), and saves into OUT_DIR:
#   calendars-found.png    the window listing the account's calendars to pick
#   calendars.png          the window with both sources synced
#   month.png              the month grid: the feed's holidays (global, the
#                          4th and the 20th), Work's events (12th, 13th)
#   tooltip.png            the whole screen with the 12th's tool tip
#   markdays-menu.png      the MarkDays submenu with each source's line
#   calendars-offline.png  Radicale stopped, Reload: "offline since ..."
# Usage: scripts/screenshot-calendars.sh OUT_DIR [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$1")
build=$(realpath -m "${2:-$root/build}")
mkdir -p "$out"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
  XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$work/run" "$work/feed"
chmod 700 "$work/run"
month=$(date +%m)
year=$(date +%Y)
free_port() { /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
dav=$(free_port)
web=$(free_port)

printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//screenshots//EN\r\n%b%bEND:VCALENDAR\r\n' \
  "BEGIN:VEVENT\r\nUID:h1\r\nDTSTART;VALUE=DATE:${year}${month}04\r\nSUMMARY:Fête du jour\r\nEND:VEVENT\r\n" \
  "BEGIN:VEVENT\r\nUID:h2\r\nDTSTART;VALUE=DATE:${year}${month}20\r\nSUMMARY:Jour férié\r\nEND:VEVENT\r\n" \
  > "$work/feed/holidays.ics"
echo dav-pw-1 | htpasswd -i -B -c "$work/users" alice 2>/dev/null
printf '%s\n' "[server]" "hosts = 127.0.0.1:$dav" "[auth]" "type = htpasswd" "htpasswd_filename = $work/users" \
  "htpasswd_encryption = bcrypt" "[storage]" "filesystem_folder = $work/collections" "[web]" "type = none" \
  "[logging]" "level = warning" > "$work/radicale.conf"

inner() {
  ask() { curl -s -o /dev/null -u alice:dav-pw-1 "$@"; }
  radicale --config "$work/radicale.conf" 2>/dev/null &
  local radicale=$!
  /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory "$work/feed" "$web" >/dev/null 2>&1 &
  local webserver=$!
  printf 'keyring-pw\n' | gnome-keyring-daemon --foreground --unlock --components=secrets >/dev/null 2>&1 &
  local keyring=$!
  for _ in $(seq 50); do curl -s -o /dev/null "http://127.0.0.1:$dav/" && break; sleep 0.2; done
  ask -X MKCOL "http://127.0.0.1:$dav/alice/"
  local cal
  for cal in "work Work #D93025FF" "home Home #1A73E8FF"; do
    set -- $cal
    ask -X MKCALENDAR "http://127.0.0.1:$dav/alice/$1/" --data "<?xml version=\"1.0\"?><c:mkcalendar xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\" xmlns:a=\"http://apple.com/ns/ical/\"><d:set><d:prop><d:displayname>$2</d:displayname><a:calendar-color>$3</a:calendar-color></d:prop></d:set></c:mkcalendar>"
  done
  event() {
    printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//screenshots//EN\r\nBEGIN:VEVENT\r\nUID:%s\r\nDTSTART:%s\r\nSUMMARY:%s\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' \
      "$2" "${year}${month}$3T$4" "$5" | ask -X PUT --data-binary @- -H 'Content-Type: text/calendar' "http://127.0.0.1:$dav/alice/$1/$2.ics"
  }
  event work planning 12 093000 Planning
  event work review 13 140000 Review
  event home dentist 16 080000 Dentist

  "$build/bin/Orvella" --add-calendar "http://127.0.0.1:$web/holidays.ics" --kind frFR < /dev/null
  "$build/bin/Orvella" > "$work/orvella.log" 2>&1 &
  local pid=$!
  local id
  id=$(xdotool search --sync --onlyvisible --name '^Orvella$' | head -1)
  sleep 1
  click() { xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"; sleep 0.7; }
  shot() { import -window "$1" "$out/$2"; echo "saved $out/$2"; }

  # Settings menu, seventh item: Calendars...
  click "$id" 27 23
  xdotool key --delay 80 Down Down Down Down Down Down Down Return; sleep 1
  cal=$(xdotool search --sync --onlyvisible --name '^Calendars$' | head -1)
  # Window coordinates, under the feed's row (y 10..32): the address field
  # at y 48..71, user x 165..314 and the password x 10..314 below it; the
  # address field has the focus, Tab moves on.
  xdotool type --window "$cal" --delay 10 "http://127.0.0.1:$dav/"
  xdotool key --window "$cal" Tab Tab; xdotool type --window "$cal" alice
  click "$cal" 250 115
  xdotool type --window "$cal" dav-pw-1
  xdotool key --window "$cal" Return; sleep 3
  shot "$cal" calendars-found.png
  # The found calendars, from y 160 one a line: Home is the second; Show
  # below the list.
  click "$cal" 40 194
  click "$cal" 60 223
  sleep 3
  shot "$cal" calendars.png
  # Out of the way of the main window; it stays open.
  xdotool windowmove "$cal" 480 420; sleep 0.5

  click "$id" 160 73
  xdotool key --window "$id" ctrl+e; sleep 1.5
  shot "$id" month.png
  # The 12th: its cell in this month's grid, weeks from Monday; the cells
  # are 38 pixels apart across and 18 down, the first row's middle at
  # window point 28, 111.
  local first cell
  first=$(( $(date -d "$year-$month-01" +%u) - 1 ))
  cell=$((first + 11))
  xdotool mousemove --window "$id" $((28 + (cell % 7) * 38)) $((111 + (cell / 7) * 18)); sleep 1.5
  import -window root "$out/tooltip.png"; echo "saved $out/tooltip.png"
  click "$id" 27 23
  xdotool key --delay 80 Down Down Down Down Down Down Right; sleep 1
  import -window root -crop 700x320+100+100 +repage "$out/markdays-menu.png"; echo "saved $out/markdays-menu.png"
  xdotool key Escape Escape; sleep 0.5

  kill "$radicale"; wait "$radicale" 2>/dev/null || true
  click "$id" 160 40
  xdotool key --window "$id" ctrl+r; sleep 2
  shot "$cal" calendars-offline.png

  kill "$pid" "$webserver" "$keyring" 2>/dev/null || true
  wait 2>/dev/null || true
}
export -f inner
export build out work dav web year month
xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session --config-file="$root/tests/session-bus.conf" -- \
  bash -c "$(declare -f inner); inner"

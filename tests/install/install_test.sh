#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses the installation as a
# desktop does: every file in its place and naming that prefix, a message
# to Orvella's bus name starting the installed Orvella through the D-Bus
# service file, and the installed AskOrvel starting the installed Orvella
# and printing the date the user picked (OK clicked with xdotool).
# Runs under xvfb-run. Usage: install_test.sh CMAKE BUILD_DIR
set -euo pipefail

bus=org.orvella.app.application_2fx-vnd_2eKX-Orvella
# Orvella's OK button on a fresh home without a window manager.
ok_x=$((130 + 45 + 240))
ok_y=$((130 + 58))

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

has_line() { # FILE LINE
  grep -qxF -- "$2" "$1" || fail "$1 lacks the line: $2"
}

# The pid of the program owning Orvella's bus name; empty when none.
orvella_pid() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.GetConnectionUnixProcessID "string:$bus" 2>/dev/null | awk '/uint32/ { print $2 }'
}

wait_until() { # SECONDS COMMAND...
  local tenths=$(($1 * 10))
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

orvella_gone() { [ -z "$(orvella_pid)" ]; }

# Checks that the installed Orvella owns the bus name.
installed_orvella_runs() {
  local pid
  pid=$(orvella_pid)
  [ -n "$pid" ] || fail "no Orvella owns $bus"
  [ "$(readlink "/proc/$pid/exe")" = "$prefix/bin/Orvella" ] ||
    fail "$bus is owned by $(readlink "/proc/$pid/exe"), not the installed Orvella"
}

stop_orvella() {
  kill "$(orvella_pid)"
  wait_until 20 orvella_gone || fail "Orvella does not quit"
}

# Runs the installed AskOrvel with the options, clicks OK until it ends and
# checks its exit status and answer.
ask_and_press_ok() { # EXPECTED OPTIONS...
  local expected=$1
  shift
  "$prefix/bin/AskOrvel" "$@" >"$work/answer" 2>"$work/ask.err" &
  local ask=$!
  for ((click = 0; click < 40; click++)); do
    kill -0 "$ask" 2>/dev/null || break
    xdotool mousemove "$ok_x" "$ok_y" click 1 || true
    sleep 1
  done
  local status=0
  wait "$ask" || status=$?
  [ "$status" = 0 ] || fail "AskOrvel $* ended with $status: $(cat "$work/ask.err")"
  [ "$(cat "$work/answer")" = "$expected" ] || fail "AskOrvel $* printed '$(cat "$work/answer")', not '$expected'"
}

on_bus() {
  orvella_gone || fail "an Orvella runs before the test starts one"

  # A message to the bus name starts Orvella through the service file, and
  # the Orvella started so answers requests.
  dbus-send --session --print-reply --reply-timeout=30000 --dest="$bus" /org/orvella/app \
    org.orvella.Looper.Activate >"$work/activate.log" 2>&1 || fail "activation: $(cat "$work/activate.log")"
  installed_orvella_runs
  ask_and_press_ok "2024-03-10 09:30" --datetime --preset "2024-03-10 09:30" --timeout 60
  stop_orvella

  # The installed AskOrvel starts the installed Orvella beside it.
  ask_and_press_ok "10.03.2024" --date --format %d.%m.%Y --preset "2024-03-10 09:30" --timeout 60
  installed_orvella_runs
  stop_orvella
}

if [ "${1:-}" = "--on-bus" ]; then
  prefix=$2
  work=$3
  on_bus
  exit 0
fi

cmake=$1
build=$2
work=$(mktemp -d /tmp/ova-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix with blank"

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  fail "cmake --install: $(cat "$work/install.log")"

for program in Orvella AskOrvel; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing"
done
applications=$prefix/share/applications
has_line "$applications/org.orvella.Orvella.desktop" "Type=Application"
has_line "$applications/org.orvella.Orvella.desktop" "Name=Orvella"
has_line "$applications/org.orvella.Orvella.desktop" "Exec=\"$prefix/bin/Orvella\""
has_line "$applications/org.orvella.Orvella.desktop" "Icon=org.orvella.Orvella"
has_line "$applications/org.orvella.AskOrvel.desktop" "Name=AskOrvel"
has_line "$applications/org.orvella.AskOrvel.desktop" "Exec=\"$prefix/bin/AskOrvel\""
has_line "$applications/org.orvella.AskOrvel.desktop" "Icon=org.orvella.Orvella"
icon=$prefix/share/icons/hicolor/scalable/apps/org.orvella.Orvella.svg
python3 -c 'import sys, xml.dom.minidom as m; m.parse(sys.argv[1])' "$icon" || fail "the icon is no well-formed SVG"
service=$prefix/share/dbus-1/services/$bus.service
has_line "$service" "[D-BUS Service]"
has_line "$service" "Name=$bus"
has_line "$service" "Exec=\"$prefix/bin/Orvella\""
grep -q '^\.TH ASKORVEL 1' "$prefix/share/man/man1/AskOrvel.1" || fail "the manual page is missing"

# A private session bus whose only services are the installed ones.
cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$prefix/share/dbus-1/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME"
export QT_QPA_PLATFORM=xcb
# The build's programs must not be found instead of the installed ones.
export PATH=/usr/bin:/bin
dbus-run-session --config-file="$work/bus.conf" -- bash "$0" --on-bus "$prefix" "$work"
echo "installed into $prefix and used from there"

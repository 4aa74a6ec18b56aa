#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses the installation as a
# desktop does: every file in its place and naming that prefix, a message
# to Orvella's bus name starting the installed Orvella through the D-Bus
# service file, and the installed AskOrvel starting the installed Orvella
# and printing the date the user picked (OK clicked with xdotool).
# Runs under xvfb-run. Usage: install_test.sh CMAKE BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/installed_programs.sh"

on_bus() {
  local installed=$prefix/libexec/orvella/Orvella
  orvella_gone || fail "an Orvella runs before the test starts one"

  # A message to the bus name starts Orvella through the service file, and
  # the Orvella started so answers requests.
  dbus-send --session --print-reply --reply-timeout=30000 --dest="$bus" /org/orvella/app \
    org.orvella.Looper.Activate >"$work/activate.log" 2>&1 || fail "activation: $(cat "$work/activate.log")"
  orvella_runs_from "$installed"
  ask_and_press_ok "$prefix/bin/AskOrvel" "2024-03-10 09:30" --datetime --preset "2024-03-10 09:30" --timeout 60
  stop_orvella

  # The installed AskOrvel starts the installed Orvella beside it.
  ask_and_press_ok "$prefix/bin/AskOrvel" "10.03.2024" --date --format %d.%m.%Y --preset "2024-03-10 09:30" --timeout 60
  orvella_runs_from "$installed"
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

# The programs lie beside their dictionaries; links in bin put them on PATH.
for program in Orvella AskOrvel; do
  [ -x "$prefix/libexec/orvella/$program" ] || fail "libexec/orvella/$program is missing"
  [ "$(readlink "$prefix/bin/$program")" = "../libexec/orvella/$program" ] || fail "bin/$program is no link to it"
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

write_bus_config "$work/bus.conf" "$prefix/share/dbus-1/services"
use_fresh_home
dbus-run-session --config-file="$work/bus.conf" -- bash "$0" --on-bus "$prefix" "$work"
echo "installed into $prefix and used from there"

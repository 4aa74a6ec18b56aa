#!/usr/bin/env bash
# Builds the Debian package of the build (scripts/package.sh), checks what
# it holds and that its desktop entries and metainfo pass their validators,
# unpacks it into a temporary root (dpkg-deb -x) and runs the unpacked
# AskOrvel, which starts the unpacked Orvella beside it and prints the date
# the user picked (OK clicked with xdotool).
# Runs under xvfb-run. Usage: package_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/installed_programs.sh"

on_bus() {
  orvella_gone || fail "an Orvella runs before the test starts one"
  ask_and_press_ok "$root/usr/bin/AskOrvel" "10.03.2024" --date --format %d.%m.%Y --preset "2024-03-10 09:30" --timeout 60
  orvella_runs_from "$root/usr/libexec/orvella/Orvella"
  stop_orvella
}

if [ "${1:-}" = "--on-bus" ]; then
  root=$2
  work=$3
  on_bus
  exit 0
fi

source_dir=$1
build=$2
work=$(mktemp -d /tmp/ova-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root

"$source_dir/scripts/package.sh" "$build" >"$work/package.log" 2>&1 ||
  fail "scripts/package.sh: $(cat "$work/package.log")"
deb=$(tail -1 "$work/package.log")
[ -f "$deb" ] || fail "no package: $(cat "$work/package.log")"

dpkg-deb --field "$deb" Package Depends >"$work/fields"
has_line "$work/fields" "Package: orvella"
# The Qt libraries come from dpkg-shlibdeps, the rest is named.
grep -q '^Depends: .*libqt6widgets6' "$work/fields" || fail "Depends lacks Qt: $(cat "$work/fields")"
grep -q '^Depends: .*qt6-qpa-plugins' "$work/fields" || fail "Depends lacks the platform plugins: $(cat "$work/fields")"

dpkg-deb -x "$deb" "$root"
for program in Orvella AskOrvel; do
  [ -x "$root/usr/libexec/orvella/$program" ] || fail "usr/libexec/orvella/$program is missing"
  [ "$(readlink "$root/usr/bin/$program")" = "../libexec/orvella/$program" ] || fail "usr/bin/$program is no link to it"
done
ls "$root/usr/libexec/orvella/Dictionaries/AskOrvel".* >/dev/null || fail "the dictionaries are missing"
share=$root/usr/share
for entry in org.orvella.Orvella org.orvella.AskOrvel; do
  desktop-file-validate "$share/applications/$entry.desktop" || fail "$entry.desktop does not validate"
done
has_line "$share/applications/org.orvella.Orvella.desktop" 'Exec="/usr/bin/Orvella"'
has_line "$share/dbus-1/services/$bus.service" 'Exec="/usr/bin/Orvella"'
appstreamcli validate --no-net "$share/metainfo/org.orvella.Orvella.metainfo.xml" >"$work/metainfo.log" ||
  fail "the metainfo does not validate: $(cat "$work/metainfo.log")"
[ -f "$share/icons/hicolor/scalable/apps/org.orvella.Orvella.svg" ] || fail "the icon is missing"
grep -q '^\.TH ASKORVEL 1' "$share/man/man1/AskOrvel.1" || fail "the manual page is missing"

write_bus_config "$work/bus.conf" "$work/no-services"
use_fresh_home
dbus-run-session --config-file="$work/bus.conf" -- bash "$0" --on-bus "$root" "$work"
echo "$(basename "$deb") unpacked into $root and used from there"

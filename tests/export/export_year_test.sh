#!/usr/bin/env bash
# scripts/export-year.sh with a calendar folder writes the calendar files'
# days into the page, as the window's own page has them; a pipe among the
# files is named and skipped. Without the folder, the page has none.
# Usage: export_year_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
root=$1 build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$work/calendars"
printf '[HD][ever/12/25][Christmas Day][enUS]\n' > "$work/MarkDays"
printf 'BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:19700517\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Ada & Co\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' \
  > "$work/calendars/user.ics"
mkfifo "$work/calendars/pipe.ics"

BUILD_DIR=$build timeout 60 "$root/scripts/export-year.sh" --calendars "$work/calendars" 2024 "$work/MarkDays" \
  "$work/with" 3 > "$work/with.log" || fail "export with calendars: $(cat "$work/with.log")"
page=$work/with/CAL2024.htm
grep -q "Christmas Day" "$page" || fail "the MarkDays day is missing"
grep -q "Ada &amp; Co" "$page" || fail "the calendar file's day is missing"
grep -q "pipe.ics' not read: not a regular file" "$work/with.log" || fail "the pipe is not named: $(cat "$work/with.log")"
[ -s "$work/with/Orvel202405.png" ] || fail "no picture of May"

BUILD_DIR=$build timeout 60 "$root/scripts/export-year.sh" 2024 "$work/MarkDays" "$work/without" 3 > "$work/without.log" \
  || fail "export without calendars: $(cat "$work/without.log")"
grep -q "Christmas Day" "$work/without/CAL2024.htm" || fail "the MarkDays day is missing without calendars"
! grep -q "Ada" "$work/without/CAL2024.htm" || fail "calendar days without a calendar folder"
echo "export-year.sh reads the calendar folder it is given"

#!/usr/bin/env bash
# Start-up of Orvella in the three-month layout (show_expand and
# triple_preview on), from program start to the window mapped and painted,
# against a bare Qt window built with the same flags and started the same
# way in the same run. Both run under one Xvfb on one private session bus,
# each in its own fresh home folder settings, alternating A B A B; prints
# the medians of map, first paint and settled times and the ratios, and the
# median of the ratios of the pairs' paint times.
# Usage: [SHOT=layout.png] [BASELINE=other/bin/Orvella] [CALENDARS=hostile|DIR] [CACHED_EVENTS=N]
#        bench/startup-bench.sh [PAIRS]    (default 15 pairs)
# SHOT, when set, gets a screenshot of Orvella as the timed runs start it.
# BASELINE, when set, is another Orvella (say, one built from an earlier
# commit in a worktree of its own) started in turn with the two others, so
# that a change's before and after are measured in the same run.
# CALENDARS, when set, starts Orvella once more in each turn with that
# calendar folder ("hostile": one of the files that froze it: a named
# pipe, a time zone repeating every second, forty files of rules that never
# meet their BY parts), compares its paint with Orvella's without one, and
# clicks day cells of its main month from the first paint on, while the
# folder is worked on: the median and longest time to the click's repaint.
# CACHED_EVENTS, when set, gives every run a calendar source (a feed on a
# port where nothing listens, so every sync finds it offline), and starts
# Orvella once more in each turn with a cache of that many events for it,
# spread over this year and the next: its paint against Orvella's with the
# source but no cache and against the bare window, and clicks as above.
# Installs libx11-dev, libxdamage-dev and libxtst-dev when missing
# (scripts/setup-deps.sh --bench).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pairs=${1:-15}
build=${BUILD_DIR:-$root/build}

"$root/scripts/setup-deps.sh" --bench
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target Orvella bare_qt_window >/dev/null

work=$(mktemp -d)
trap 'cat "$work/errors" 2>/dev/null; rm -rf "$work"' EXIT
gcc -O2 -o "$work/winstart" "$root/bench/winstart.c" -lX11 -lXdamage -lXtst
mkdir -p "$work/home/.config" "$work/home/.local/share/orvella/calendars" "$work/run" "$work/data/orvella"
chmod 700 "$work/run"
calendars=${CALENDARS:-}
if [ "$calendars" = hostile ]; then
  calendars=$work/hostile
  mkdir -p "$calendars"
  mkfifo "$calendars/pipe.ics"
  printf 'BEGIN:VCALENDAR\nBEGIN:VTIMEZONE\nTZID:Odd\nBEGIN:STANDARD\nDTSTART:19700101T000000\nTZOFFSETFROM:+0100\nTZOFFSETTO:+0200\nRRULE:FREQ=SECONDLY\nEND:STANDARD\nEND:VTIMEZONE\nBEGIN:VEVENT\nDTSTART;TZID=Odd:20240101T120000\nRRULE:FREQ=DAILY\nSUMMARY:Odd\nEND:VEVENT\nEND:VCALENDAR\n' \
    > "$calendars/zone.ics"
  for i in $(seq 20); do
    for freq in DAILY MONTHLY; do
      printf 'BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20240101\nRRULE:FREQ=%s;BYMONTH=2;BYMONTHDAY=30\nSUMMARY:Never\nEND:VEVENT\nEND:VCALENDAR\n' \
        "$freq" > "$calendars/never-$freq-$i.ics"
    done
  done
fi
[ -z "$calendars" ] || ln -s "$(cd "$calendars" && pwd)" "$work/data/orvella/calendars"
cached=${CACHED_EVENTS:-}
if [ -n "$cached" ]; then
  python3 - "$work/home/.config" "$work/cache" "$cached" <<'CACHE'
import hashlib, os, sys, time
config, cache, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
url = "http://127.0.0.1:9/bench.ics"
os.makedirs(config + "/orvella", exist_ok=True)
os.makedirs(cache + "/orvella", mode=0o700, exist_ok=True)
with open(config + "/orvella/calendars.conf", "w") as conf:
    conf.write("[%s]\ntype = feed\nkind = events\n" % url)
name = hashlib.sha256((url + "\n").encode()).hexdigest()[:16]
year = time.localtime().tm_year
lines = ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//bench//EN"]
for i in range(count):
    lines += ["BEGIN:VEVENT", "UID:e%d@bench" % i,
              "DTSTART:%04d%02d%02dT%02d%02d00" % (year + i % 2, 1 + i % 12, 1 + i % 28, 8 + i % 9, i % 4 * 15),
              "SUMMARY:Meeting %d" % i, "END:VEVENT"]
lines.append("END:VCALENDAR")
with open(cache + "/orvella/%s.ics" % name, "w") as data:
    data.write("\r\n".join(lines) + "\r\n")
CACHE
fi

cat > "$work/inner.sh" <<'INNER'
set -euo pipefail
# One run: the figures line of winstart (map, paint, settled ms, memory,
# CPU); what it says on standard error is shown at the end.
run() { "$work/winstart" -t 10000 -q 400 -- "$@" 2>>"$work/errors" | tail -n 1; }
# Orvella with the calendar folder, clicking two day cells of its main
# month (the second week's Tuesday and Thursday) in turn; two more fields:
# the median and the longest time from a click to its repaint.
run_calendars() {
  XDG_DATA_HOME="$work/data" "$work/winstart" -t 10000 -q 400 -k 367,260 -k 410,260 -n 12 -g 100 \
    -- "$orvella" 2>>"$work/errors" | tail -n 1
}
# The same with the calendar source's cache.
run_cached() {
  XDG_CACHE_HOME="$work/cache" "$work/winstart" -t 10000 -q 400 -k 367,260 -k 410,260 -n 12 -g 100 \
    -- "$orvella" 2>>"$work/errors" | tail -n 1
}

# The first start makes the settings file; then the three-month layout, as
# a run that quit in it leaves the file: both switches on and the window's
# frame 520 x 240 (floats left, top, right, bottom in host order).
run "$orvella" > /dev/null
settings="$XDG_CONFIG_HOME/_LP_x-vnd.KX/OVA_settings"
setfattr -n user.show_expand -v 0x01 "$settings"
setfattr -n user.triple_preview -v 0x01 "$settings"
frame=$(python3 -c 'import struct; print("0x" + struct.pack("=4f", 130, 130, 650, 370).hex())')
setfattr -n user.m_win_rect -v "$frame" "$settings"
run "$bare" > /dev/null
for _ in $(seq "$pairs"); do
  run "$orvella" >> "$work/orvella.tsv"
  run "$bare" >> "$work/bare.tsv"
  [ -z "$baseline" ] || run "$baseline" >> "$work/baseline.tsv"
  [ -z "$calendars" ] || run_calendars >> "$work/calendars.tsv"
  [ -z "$cached" ] || run_cached >> "$work/cached.tsv"
done
getfattr -n user.show_expand -e hex "$settings" 2>/dev/null | grep -q '0x01' || echo "show_expand was switched off during the run"
getfattr -n user.triple_preview -e hex "$settings" 2>/dev/null | grep -q '0x01' || echo "triple_preview was switched off during the run"
# What the last start showed, for a look: bench/startup-layout.png.
"$orvella" > /dev/null 2>&1 &
pid=$!
sleep 2
import -window root "$shot" 2>/dev/null || true
kill "$pid"
wait "$pid" 2>/dev/null || true
INNER

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run" \
  work="$work" pairs="$pairs" shot="$work/layout.png" orvella="$build/bin/Orvella" bare="$build/bench/bare_qt_window" \
  baseline="${BASELINE:-}" calendars="$calendars" cached="$cached" XDG_DATA_HOME="$work/home/.local/share" \
  XDG_CACHE_HOME="$work/home/.cache" \
  xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash "$work/inner.sh"
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
[ -n "${SHOT:-}" ] && cp "$work/layout.png" "$SHOT" && echo "screenshot of the layout: $SHOT"

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print -1; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column() { cut -f"$2" "$work/$1.tsv" | median; }
printf '%d pairs, medians in ms        Orvella  bare Qt   ratio\n' "$pairs"
for field in 1:mapped 2:painted 3:settled; do
  n=${field%%:*} name=${field#*:}
  a=$(column orvella "$n") b=$(column bare "$n")
  printf '%-30s %8.1f %8.1f %7.3f\n' "start to $name" "$a" "$b" "$(awk -v a="$a" -v b="$b" 'BEGIN { print (b > 0 ? a / b : 0) }')"
done
# Each pair's two starts follow each other, so they meet the machine in
# much the same state; the median of the pairs' ratios is steadier than the
# ratio of the medians when the machine's speed drifts during the run.
# The median of a column's ratios to the bare window's in the same pair
# (the runs' files have different numbers of columns).
pair_ratio() {
  awk -F'\t' -v c="$1" 'NR == FNR { bare[FNR] = $c; next } bare[FNR] > 0 { print $c / bare[FNR] }' \
    "$work/bare.tsv" "$work/$2.tsv" | median
}
printf '%-30s %26.3f\n' "painted, median pair ratio" "$(pair_ratio 2 orvella)"
if [ -n "${BASELINE:-}" ]; then
  a=$(column baseline 2) b=$(column bare 2)
  printf '%-30s %8.1f %8.1f %7.3f\n' "baseline: start to painted" "$a" "$b" "$(awk -v a="$a" -v b="$b" 'BEGIN { print (b > 0 ? a / b : 0) }')"
  printf '%-30s %26.3f\n' "baseline: median pair ratio" "$(pair_ratio 2 baseline)"
fi
if [ -n "$calendars" ]; then
  a=$(column calendars 2) b=$(column orvella 2)
  printf '%-30s %8.1f %8.1f %7.3f\n' "calendars: painted, to Orvella" "$a" "$b" "$(awk -v a="$a" -v b="$b" 'BEGIN { print (b > 0 ? a / b : 0) }')"
  calendar_ratio=$(paste "$work/calendars.tsv" "$work/orvella.tsv" | awk -F'\t' '$9 > 0 { print $2 / $9 }' | median)
  printf '%-30s %26.3f\n' "calendars: median pair ratio" "$calendar_ratio"
  printf '%-30s %8.1f %8.1f\n' "clicks: median, longest (ms)" "$(column calendars 6)" \
    "$(cut -f7 "$work/calendars.tsv" | awk '$1 < 0 { lost = 1 } { if ($1 > m) m = $1 } END { print lost ? -1 : m }')"
  echo "target: with the calendar folder painted at most 1.2 times, every click repainted within 100 ms (-1: a click lost)"
fi
if [ -n "$cached" ]; then
  a=$(column cached 2) b=$(column orvella 2)
  printf '%-30s %8.1f %8.1f %7.3f\n' "cached: painted, to Orvella" "$a" "$b" "$(awk -v a="$a" -v b="$b" 'BEGIN { print (b > 0 ? a / b : 0) }')"
  printf '%-30s %26.3f\n' "cached: median pair ratio" "$(pair_ratio 2 cached)"
  printf '%-30s %8.1f %8.1f\n' "cached: settled, Orvella" "$(column cached 3)" "$(column orvella 3)"
  printf '%-30s %8.1f %8.1f\n' "clicks: median, longest (ms)" "$(column cached 6)" \
    "$(cut -f7 "$work/cached.tsv" | awk '$1 < 0 { lost = 1 } { if ($1 > m) m = $1 } END { print lost ? -1 : m }')"
  echo "target: with $cached cached events the median pair ratio at most 5 % above the baseline's"
fi
printf '%-30s %8.0f %8.0f\n' "peak memory (KiB)" "$(column orvella 4)" "$(column bare 4)"
printf '%-30s %8.1f %8.1f\n' "CPU (ms)" "$(column orvella 5)" "$(column bare 5)"
echo "target: Orvella painted at most 1.15 times the bare window"

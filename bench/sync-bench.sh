#!/usr/bin/env bash
# Runs build/bench/sync_bench (the sync of 10,000 events from Radicale, and
# the window during such a sync) on a private session bus that offers no
# keyring, so that no password reaches a real one.
# Usage: bench/sync-bench.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target sync_bench >/dev/null
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
dbus-run-session --config-file="$root/tests/session-bus.conf" -- "$build/bench/sync_bench" > /dev/null
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"

#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   scripts/test.sh             normal build in build/
#   scripts/test.sh --sanitize  AddressSanitizer + UBSan build in build-asan/
#   scripts/test.sh --desktop-variant
#                               the second build (desktop palette colours,
#                               home region deDE) in build-variant/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh" --test

dir="$root/build"
args=()
if [ "${1:-}" = "--sanitize" ]; then
  dir="$root/build-asan"
  args=(-DORVELLA_SANITIZE=ON)
  # Qt and fontconfig keep caches for the life of the process; leaks are not
  # what this build is looking for.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
elif [ "${1:-}" = "--desktop-variant" ]; then
  dir="$root/build-variant"
  args=(-DORVELLA_DESKTOP_VARIANT=ON)
fi
"$root/scripts/build.sh" "$dir" "${args[@]}"

cd "$dir"
ctest --output-on-failure -j "$(nproc)"

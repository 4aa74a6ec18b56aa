#!/usr/bin/env bash
# Configures and builds into the given folder with extra CMake arguments.
# Usage: scripts/build.sh BUILD_DIR [cmake args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"

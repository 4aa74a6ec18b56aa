#!/usr/bin/env bash
# Builds the Debian package of Orvella from a build folder (built first when
# it is not): BUILD_DIR/package/orvella_VERSION_ARCH.deb, for /usr.
# Usage: scripts/package.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")
"$root/scripts/setup-deps.sh"
if [ ! -f "$build/CPackConfig.cmake" ]; then
  "$root/scripts/build.sh" "$build"
fi
cd "$build"
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log >&2; exit 1; }
ls "$build"/package/orvella_*.deb

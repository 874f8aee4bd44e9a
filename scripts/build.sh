#!/usr/bin/env bash
# Configures and builds Ortolan into build/ (application folder: build/bin).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${ORTOLAN_BUILD_DIR:-$here/build}
# Let ccache share results between checkouts in different folders.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$here}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" -j2

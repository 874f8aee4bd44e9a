#!/usr/bin/env bash
# Installs what Ortolan needs, builds it and runs the whole test suite offscreen.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
export HOME=${ORTOLAN_TEST_HOME:-$(mktemp -d)}
cd "${ORTOLAN_BUILD_DIR:-$here/build}"
ctest --output-on-failure -j2

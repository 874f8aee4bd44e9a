#!/usr/bin/env bash
# Installs what Ortolan needs, builds it and starts the atlas on the bundled
# demo database. Extra arguments go to the program (for example: --lang it).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh"
exec "${ORTOLAN_BUILD_DIR:-$here/build}/bin/ortolan" "$@"

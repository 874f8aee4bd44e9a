#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs the test suite offscreen. Any sanitizer report
# (memory error, undefined behaviour, leak outside the suppressed system
# libraries) fails the run.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${ORTOLAN_ASAN_BUILD_DIR:-$here/build-asan}
# Let ccache share results between checkouts in different folders.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$here}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
bash "$here/scripts/install-deps.sh"

# -O1 keeps the suite fast enough while the reports still point at the line.
cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DORTOLAN_SANITIZE=ON "$@" >/dev/null
cmake --build "$build_dir" -j2

export QT_QPA_PLATFORM=offscreen
export HOME=${ORTOLAN_TEST_HOME:-$(mktemp -d)}
# halt_on_error with the recover flags off: the first report ends the test
# with a failure. Leaks are checked; the suppressions list only leaks that
# belong to system libraries (fontconfig, Qt's platform plugins), not ours.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$here/scripts/lsan.supp:print_suppressions=0
cd "$build_dir"
# Extra ctest arguments (for example -R pattern) come from ORTOLAN_ASAN_CTEST_ARGS.
# shellcheck disable=SC2086
ctest --output-on-failure -j2 ${ORTOLAN_ASAN_CTEST_ARGS:-}

#!/usr/bin/env bash
# Builds the benchmarks (ORTOLAN_BUILD_BENCH) and runs them offscreen on the demo
# database and on a generated database of ten times the records; the summary
# table is printed at the end and kept in build/bench/bench-report.txt.
# Extra arguments go to Google Benchmark (for example --benchmark_filter=zoom).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${ORTOLAN_BUILD_DIR:-$here/build}
bash "$here/scripts/install-deps.sh"
bash "$here/scripts/build.sh" -DORTOLAN_BUILD_BENCH=ON
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$here}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
export QT_QPA_PLATFORM=offscreen
export HOME=${ORTOLAN_BENCH_HOME:-$(mktemp -d)}
cmake --build "$build_dir" --target ortolan_bench_large_db -j2
cd "$build_dir/bench"
exec ./ortolan-bench --app-dir "$build_dir/bin" --large-db "$build_dir/bench/OrtolanDati-x10.mde" \
  --report "$build_dir/bench/bench-report.txt" "$@"

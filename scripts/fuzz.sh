#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ into build-fuzz/ (clang, AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each for SECONDS (default 30), one at a
# time. Stops at the first finding and prints where its reproducer is.
#
#   scripts/fuzz.sh [--merge] [SECONDS] [TARGET...]
#
# Targets: wmf_reader emf_player report_script sql_dialect square_code (default all).
# Runs start from the seeds in fuzz/corpus/TARGET and grow a working corpus in
# build-fuzz/corpus/TARGET; --merge afterwards adds to the seeds only the working
# inputs that reach new coverage (libFuzzer -merge=1).
# One fuzzer process at a time: no -jobs/-workers, so libFuzzer runs in this process.
# Reproduce a finding with: build-fuzz/fuzz/fuzz_TARGET path/to/crash-file
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${ORTOLAN_FUZZ_BUILD_DIR:-$here/build-fuzz}
all_targets=(wmf_reader emf_player report_script sql_dialect square_code)

merge=0
if [ "${1:-}" = "--merge" ]; then merge=1; shift; fi
seconds=30
if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+$ ]]; then seconds=$1; shift; fi
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")
for t in "${targets[@]}"; do
  if [[ ! " ${all_targets[*]} " =~ " $t " ]]; then
    echo "fuzz.sh: unknown target '$t' (known: ${all_targets[*]})" >&2
    exit 2
  fi
done

# The compiler and the fuzzer runtime come from Debian; installed here only, so
# the ordinary dependencies stay as they are.
bash "$here/scripts/install-deps.sh"
fuzz_packages=(clang libclang-rt-dev)
missing=()
for p in "${fuzz_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$here}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DORTOLAN_BUILD_FUZZ=ON -DORTOLAN_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 --target "${targets[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/fuzz/lsan.supp:print_suppressions=0}
# Scratch folders of the targets stay inside the build folder.
export TMPDIR=$build_dir/tmp
mkdir -p "$TMPDIR"

for t in "${targets[@]}"; do
  seeds=$here/fuzz/corpus/$t
  work=$build_dir/corpus/$t
  artifacts=$build_dir/artifacts/$t
  mkdir -p "$seeds" "$work" "$artifacts"
  dict=()
  [ -f "$here/fuzz/dict/$t.dict" ] && dict=(-dict="$here/fuzz/dict/$t.dict")
  log=$build_dir/fuzz-$t.log
  echo "== $t: ${seconds}s (log $log)"
  status=0
  "$build_dir/fuzz/fuzz_$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "${dict[@]}" \
    "$work" "$seeds" >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || true
  if [ $status -ne 0 ]; then
    echo "fuzz.sh: $t found a fault (exit $status); see $log" >&2
    grep -E 'ERROR:|runtime error:|SUMMARY:' "$log" | head -5 >&2 || true
    reproducer=$(grep -o 'Test unit written to [^ ]*' "$log" | tail -1 | sed 's/Test unit written to //')
    echo "reproducer: ${reproducer:-(none written)}" >&2
    echo "rerun: $build_dir/fuzz/fuzz_$t ${reproducer:-FILE}" >&2
    exit 1
  fi
  if [ $merge -eq 1 ]; then
    "$build_dir/fuzz/fuzz_$t" -merge=1 -rss_limit_mb=2048 -timeout=10 "$seeds" "$work" \
      >"$build_dir/merge-$t.log" 2>&1
    echo "   seeds: $(ls "$seeds" | wc -l) files, $(du -sk "$seeds" | cut -f1) KB"
  fi
done

#!/usr/bin/env bash
# Installs what is missing, builds Merovan and runs the whole test suite; the
# exit status is the suite's.
#   --werror    treats compiler warnings as errors (CI does)
#   --sanitize  builds and runs the suite with AddressSanitizer and
#               UndefinedBehaviorSanitizer instead (build-sanitize/); leaks fail it
#   --fuzz      then runs each fuzz target for MEROVAN_FUZZ_SECONDS (30) seconds
#               under both sanitizers; a finding fails the run
#   --benchmarks  also compiles the benchmarks (without running them), so
#               that they keep building
# Other arguments go to ctest.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

fuzz=0
sanitize=0
werror=OFF
benchmarks=OFF
while [ $# -gt 0 ]; do
  case "$1" in
    --fuzz) fuzz=1; shift ;;
    --benchmarks) benchmarks=ON; shift ;;
    --sanitize) sanitize=1; shift ;;
    --werror) werror=ON; shift ;;
    *) break ;;
  esac
done

if [ "$sanitize" = 1 ]; then
  BUILD="${MEROVAN_SANITIZE_BUILD_DIR:-$ROOT/build-sanitize}"
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
  build_merovan -DMEROVAN_WERROR="$werror" -DMEROVAN_SANITIZE=ON -DMEROVAN_BUILD_BENCHMARKS="$benchmarks"
else
  build_merovan -DMEROVAN_WERROR="$werror" -DMEROVAN_BUILD_BENCHMARKS="$benchmarks"
fi
(cd "$BUILD" && ctest --output-on-failure --parallel "$(nproc)" "$@")

[ "$fuzz" = 1 ] || exit 0

FUZZ_BUILD="${MEROVAN_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$FUZZ_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMEROVAN_WERROR="$werror" -DMEROVAN_FUZZ=ON -DMEROVAN_BUILD_TESTS=OFF >/dev/null
cmake --build "$FUZZ_BUILD" --parallel "$(nproc)" --target FuzzReadProject FuzzReadContent FuzzRtf FuzzReadJson FuzzReadCsv

seconds="${MEROVAN_FUZZ_SECONDS:-30}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fuzz_target() {
  local target="$1"
  shift
  mkdir -p "$work/$target"
  cp "$@" "$work/$target/"
  echo "Fuzzing $target for $seconds seconds"
  (cd "$work" && "$FUZZ_BUILD/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 "$work/$target" 2>"$work/$target.log") || {
    tail -n 60 "$work/$target.log"
    echo "$target found a fault; the input is in the log above." >&2
    return 1
  }
  grep -E '^stat::number_of_executed_units' "$work/$target.log" || true
}
# The hostile fixtures live apart and are not seeds: each run of them takes long.
fuzz_target FuzzReadProject "$ROOT"/tests/fixtures/*.swot
fuzz_target FuzzReadContent "$ROOT"/fuzz/corpus/content/*
fuzz_target FuzzRtf "$ROOT"/fuzz/corpus/rtf/*
fuzz_target FuzzReadJson "$ROOT"/fuzz/corpus/json/*
fuzz_target FuzzReadCsv "$ROOT"/fuzz/corpus/csv/*

#!/usr/bin/env bash
# Installs what is missing, builds Merovan and runs the whole test suite; the
# exit status is the suite's. With --fuzz, each fuzz target then runs for
# MEROVAN_FUZZ_SECONDS (30) seconds under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a finding fails the run.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

fuzz=0
if [ "${1:-}" = "--fuzz" ]; then
  fuzz=1
  shift
fi

build_merovan
(cd "$BUILD" && ctest --output-on-failure --parallel "$(nproc)" "$@")

[ "$fuzz" = 1 ] || exit 0

FUZZ_BUILD="${MEROVAN_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$FUZZ_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMEROVAN_FUZZ=ON -DMEROVAN_BUILD_TESTS=OFF >/dev/null
cmake --build "$FUZZ_BUILD" --parallel "$(nproc)" --target FuzzReadProject FuzzReadContent FuzzRtf

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
# The hostile fixtures are left out of the seeds: each run of them takes long.
fuzz_target FuzzReadProject $(ls "$ROOT"/tests/fixtures/*.swot | grep -v -e zip-bomb -e deep)
fuzz_target FuzzReadContent "$ROOT"/fuzz/corpus/content/*
fuzz_target FuzzRtf "$ROOT"/fuzz/corpus/rtf/*

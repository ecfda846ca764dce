#!/usr/bin/env bash
# Builds Merovan and runs its benchmarks; prints one table of the figures
# beside their floors and targets.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

build_merovan -DMEROVAN_BUILD_BENCHMARKS=ON
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen
"$BUILD/bench/merovan_bench" --benchmark_format=json --benchmark_out="$out/core.json" \
  --benchmark_filter='ReadProject|ReadFloor|WriteProject|WriteFloor' >/dev/null
"$BUILD/merovan_report_bench" --benchmark_format=json --benchmark_out="$out/reports.json" \
  --benchmark_filter='TextReport|TableReport|FourReports|SuiteRunning|IdleStart' >/dev/null
"$BUILD/bench/merovan_gui_bench" --benchmark_format=json --benchmark_out="$out/gui.json" \
  >/dev/null 2>&1
"$BUILD/bench/merovan_picture_bench" --benchmark_format=json --benchmark_out="$out/pictures.json" \
  >/dev/null
python3 "$ROOT/bench/table.py" "$out/core.json" "$out/reports.json" "$out/gui.json" "$out/pictures.json"

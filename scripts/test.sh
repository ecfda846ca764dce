#!/usr/bin/env bash
# Installs what is missing, builds Merovan and runs the whole test suite; the
# exit status is the suite's.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

build_merovan
cd "$BUILD"
exec ctest --output-on-failure --parallel "$(nproc)" "$@"

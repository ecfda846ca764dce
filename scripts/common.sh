# Shared by the run, test and benchmark scripts: installs what is missing, then
# configures and builds in $BUILD. Arguments go to CMake; INSTALL_ARGS to
# install-deps.sh.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${MEROVAN_BUILD_DIR:-$ROOT/build}"
INSTALL_ARGS=()

build_merovan() {
  "$ROOT/scripts/install-deps.sh" "${INSTALL_ARGS[@]}"
  # Only our own summary lines of the configure step are worth reading.
  cmake -S "$ROOT" -B "$BUILD" -G Ninja "$@" | { grep '^-- Merovan: ' || true; }
  cmake --build "$BUILD" --parallel "$(nproc)"
}

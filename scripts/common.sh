# Shared by the run, test and benchmark scripts: installs what is missing, then
# configures and builds. Arguments go to CMake.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${MEROVAN_BUILD_DIR:-$ROOT/build}"

build_merovan() {
  "$ROOT/scripts/install-deps.sh"
  # Only our own summary lines of the configure step are worth reading.
  cmake -S "$ROOT" -B "$BUILD" -G Ninja "$@" | { grep '^-- Merovan: ' || true; }
  cmake --build "$BUILD" --parallel "$(nproc)"
}

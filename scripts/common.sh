# Shared by the run and test scripts: installs what is missing, then
# configures and builds with warnings as errors. Arguments go to CMake.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${MEROVAN_BUILD_DIR:-$ROOT/build}"

build_merovan() {
  "$ROOT/scripts/install-deps.sh"
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DMEROVAN_WERROR=ON "$@" >/dev/null
  cmake --build "$BUILD" --parallel "$(nproc)"
}

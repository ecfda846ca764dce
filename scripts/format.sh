#!/usr/bin/env bash
# Formats the C++ sources with the repository's .clang-format.
#   --check  changes nothing; fails and names the files that are not formatted
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# New files count as soon as they exist, before they are added.
mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  clang-format --dry-run --Werror "${files[@]}"
else
  clang-format -i "${files[@]}"
fi

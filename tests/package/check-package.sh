#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks it the way a
# distribution would: lintian without errors, and the installed manual page,
# desktop entry and AppStream metadata valid.
#   check-package.sh BUILD_FOLDER
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
package=$(ls "$work"/*.deb)
# Errors fail; warnings and notes are printed for whoever reads the log.
lintian --fail-on error --tag-display-limit 0 "$package"

dpkg-deb -x "$package" "$work/root"
share=$work/root/usr/share
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml
desktop-file-validate "$share/applications/merovan.desktop"
# The manual page reads without a warning and names every option.
page=$(MANWIDTH=80 man -l "$share/man/man1/merovan.1.gz" 2>"$work/man.err")
[ ! -s "$work/man.err" ] || { cat "$work/man.err"; exit 1; }
for option in -n --help --version --text-report --table-report --swot-picture --tows-picture --strategy-picture --export --import; do
  grep -q -- "$option" <<<"$page" || { echo "the manual page lacks $option"; exit 1; }
done
bash -n "$share/bash-completion/completions/merovan"
echo "package checked: $(basename "$package")"

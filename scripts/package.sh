#!/usr/bin/env bash
# Checks the installed desktop integration and builds the Debian package from a build folder:
# scripts/package.sh [BUILD_DIR]. The package lands in BUILD_DIR (tervix_VERSION_ARCH.deb).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$(cd "${1:-$here/build}" && pwd)
cmake --build "$dir"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$dir" --prefix /usr >/dev/null

echo "-- desktop-file-validate"
desktop-file-validate "$stage"/usr/share/applications/*.desktop
echo "-- appstreamcli validate --no-net"
appstreamcli validate --no-net --pedantic "$stage"/usr/share/metainfo/*.metainfo.xml
echo "-- man --warnings"
failed=0
for page in "$stage"/usr/share/man/man1/*.1; do
  # man reports troff warnings on stderr but still succeeds: any output is a failure.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$(basename "$page"): $warnings"
    failed=1
  fi
done
[ "$failed" -eq 0 ] || exit 1
echo "-- bash -n (completion)"
bash -n "$stage"/usr/share/bash-completion/completions/tervix-cli

echo "-- cpack -G DEB"
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/tervix_*.deb

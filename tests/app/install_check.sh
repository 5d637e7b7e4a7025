#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks every file lands where desktops look.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/tevuna share/applications/tevuna.desktop share/metainfo/tevuna.metainfo.xml \
         share/icons/hicolor/scalable/apps/tevuna.svg; do
  [ -s "$prefix/$f" ] || { echo "missing after install: $f" >&2; exit 1; }
done
[ -x "$prefix/bin/tevuna" ] || { echo "bin/tevuna is not executable" >&2; exit 1; }
grep -qx 'Exec=tevuna' "$prefix/share/applications/tevuna.desktop"
grep -qx 'Icon=tevuna' "$prefix/share/applications/tevuna.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/tevuna.desktop"
fi
if command -v appstreamcli >/dev/null; then
  # Errors fail the check; the bare id (not reverse-DNS) is a warning only.
  out=$(appstreamcli validate --no-net --explain "$prefix/share/metainfo/tevuna.metainfo.xml" 2>&1 || true)
  if grep -q '^E:' <<<"$out"; then echo "$out" >&2; exit 1; fi
fi
echo "installed files in place"

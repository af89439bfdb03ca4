#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR) and checks that every file the desktop and
# the user need is there, and that the installed programs run.
# usage: install_layout_test.sh BUILD_DIR APP_ID PREFIX
set -euo pipefail
build=$1
id=$2
prefix=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" >/dev/null
root=$stage$prefix

expected=(
  bin/chimewell bin/chimewell-tool
  share/chimewell/chimewell.html share/chimewell/doc/index.html
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$id.svg"
  share/man/man1/chimewell.1.gz share/man/man1/chimewell-tool.1.gz
  lib/systemd/user/chimewell.service
  share/doc/chimewell/copyright share/doc/chimewell/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
missing=0
for f in "${expected[@]}"; do
  [ -s "$root/$f" ] || { echo "missing: $prefix/$f" >&2; missing=1; }
done
[ "$missing" = 0 ]

# The change log reads as text once unpacked.
gzip -dc "$root/share/doc/chimewell/changelog.gz" | head -n1 | grep -q '^chimewell ('

# The unit starts the installed program; the desktop entry names the icon that is installed.
grep -qx "ExecStart=$prefix/bin/chimewell --headless" "$root/lib/systemd/user/chimewell.service"
grep -qx 'Restart=on-failure' "$root/lib/systemd/user/chimewell.service"
grep -qx 'RestartPreventExitStatus=1' "$root/lib/systemd/user/chimewell.service"
grep -qx "Icon=$id" "$root/share/applications/$id.desktop"

# The staged programs run and explain themselves.
"$root/bin/chimewell" --help | grep -q 'XDG_CONFIG_HOME'
"$root/bin/chimewell-tool" help schedule | grep -q -- '--upcoming'
if command -v man >/dev/null; then
  for page in chimewell chimewell-tool; do
    warnings=$(LC_ALL=C.UTF-8 man --warnings -l "$root/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page.1: $warnings" >&2; exit 1; }
  done
fi
echo "installed layout complete: ${#expected[@]} files"

#!/usr/bin/env bash
# Packs a build as the Debian package and holds it to what Debian asks: lintian reports neither
# error nor warning, the font link is relative and reaches the font once installed, the
# software-centre entry is valid, and the newest changelog entry and release name this version.
# Usage: check-package.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1 build=$2 version=$3 work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*" >&2; exit 1; }

"$cpack" --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || fail "$(cat "$work/cpack.log")"
deb=$(echo "$work"/kraxelbrett_"$version"_*.deb)
# lintian warns that it runs as root, which CI does.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2)
dpkg-deb -x "$deb" "$work/root"

target=$(readlink "$work/root/usr/share/kraxelbrett/assets/SmallMemory.ttf")
[[ $target != /* ]] || fail "absolute font link: $target"
[ -f "$(realpath -m "/usr/share/kraxelbrett/assets/$target")" ] || fail "the font link leads nowhere: $target"
metainfo=$(echo "$work"/root/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo"
[[ $(zcat "$work/root/usr/share/doc/kraxelbrett/changelog.gz" | head -n 1) == "kraxelbrett ($version) "* ]] ||
    fail "the changelog's newest entry is not $version"
[[ $(grep -m 1 '<release ' "$metainfo") == *"version=\"$version\""* ]] || fail "the metainfo's newest release is not $version"
echo "The package is clean"

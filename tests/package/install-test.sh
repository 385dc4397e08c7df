#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tools/install.sh on a stand-in build in a temporary HOME: a link in a place, a reinstall that
# fails halfway and an XDG_DATA_HOME that changed before uninstalling must cost the user nothing.
set -euo pipefail
source_root="$(cd "$(dirname "$0")/../.." && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

build="$scratch/build" home="$scratch/home" mine="$scratch/mine"
mkdir -p "$build/docs/manual" "$build/Orvane.lv2" "$home/.lv2" "$mine/Orvane.lv2"
# Only where the files go and which version they hold matters here.
make_build() { # make_build VERSION
    local file
    for file in Orvane.so docs/manual/HK_Orvane_Manual.pdf orvane-render orvane-probe \
                Orvane.lv2/manifest.ttl Orvane.lv2/Orvane_dsp.so; do
        echo "$1 $file" > "$build/$file"
    done
}
installer() { # installer [VAR=VALUE...] [ARGUMENT...]
    local vars=()
    while [ $# -gt 0 ] && [[ "$1" == *=* ]]; do vars+=("$1"); shift; done
    env -u VST_PATH -u XDG_DATA_HOME HOME="$home" PATH="/usr/bin:/bin" "${vars[@]}" \
        "$source_root/tools/install.sh" --build-dir "$build" "$@" >/dev/null
}
contents() { (cd "$1" && find . -type f -exec md5sum {} + | sort; find . | sort); }
holds() { [ "$(cat "$home/$1")" = "$2" ] || fail "~/$1 holds '$(cat "$home/$1")', not '$2'"; }

echo "== links in the places are replaced, never followed"
echo mine > "$mine/Orvane.lv2/manifest.ttl"
ln -s "$mine/Orvane.lv2" "$home/.lv2/Orvane.lv2"
before="$(contents "$mine")"
make_build 1
installer
! [ -L "$home/.lv2/Orvane.lv2" ] || fail "the link kept its place"
holds .lv2/Orvane.lv2/manifest.ttl "1 Orvane.lv2/manifest.ttl"
# A link put in place after installing (to a build being worked on, say) goes, not its target.
rm -rf "$home/.lv2/Orvane.lv2"
ln -s "$mine/Orvane.lv2" "$home/.lv2/Orvane.lv2"
installer --uninstall
! [ -L "$home/.lv2/Orvane.lv2" ] || fail "uninstall left the link"
[ "$(contents "$mine")" = "$before" ] || fail "what the links point to was changed"

echo "== a reinstall that fails halfway leaves the installed copy whole"
home_before="$(contents "$home")"
installer XDG_DATA_HOME="$scratch/data"
make_build 2
head -c 2000000 /dev/zero >> "$build/Orvane.lv2/Orvane_dsp.so"
if (ulimit -c 0 -f 1000 && installer XDG_DATA_HOME="$scratch/data") 2>/dev/null; then
    fail "a copy past the size limit succeeded"
fi
holds .lv2/Orvane.lv2/manifest.ttl "1 Orvane.lv2/manifest.ttl"
holds .lv2/Orvane.lv2/Orvane_dsp.so "1 Orvane.lv2/Orvane_dsp.so"
[ -z "$(find "$home" -name '.orvane-install-*')" ] || fail "a staging folder was left"
# $VST_PATH chooses the module's folder; the first install's goes once the second is complete.
installer XDG_DATA_HOME="$scratch/data" VST_PATH="$scratch/vst-a:$scratch/vst-b"
holds .lv2/Orvane.lv2/manifest.ttl "2 Orvane.lv2/manifest.ttl"
[ -f "$scratch/vst-a/Orvane.so" ] && ! [ -e "$home/.vst" ] || fail "VST_PATH not followed"

echo "== uninstall finds the manifest whatever XDG_DATA_HOME says then"
installer --uninstall
! [ -e "$scratch/data" ] && ! [ -e "$scratch/vst-a" ] || fail "uninstall left $scratch/data or vst-a"
[ "$(contents "$home")" = "$home_before" ] || fail "uninstall left: $(cd "$home" && find . | sort)"
echo "links replaced, a failed reinstall harmless, the manifest found"

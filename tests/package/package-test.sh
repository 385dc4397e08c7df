#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The ways a user gets Orvane, tested end to end on this machine:
#   the manual PDF has its pages, pictures and the effect's own numbers;
#   the Debian package passes lintian, installs, works from /usr, and removes without a trace;
#   the per-user install and uninstall into a temporary HOME (tests/package/install-test.sh tries
#   the install script's edges on a stand-in build).
# Usage: tests/package/package-test.sh BUILD_DIR   (a Release build; root or sudo for dpkg)
set -euo pipefail
build="$(cd "${1:?usage: package-test.sh BUILD_DIR}" && pwd)"
source_root="$(cd "$(dirname "$0")/../.." && pwd)"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "== manual"
pdf="$build/docs/manual/HK_Orvane_Manual.pdf"
pages="$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')"
[ "$pages" -ge 8 ] && [ "$pages" -le 20 ] || fail "the manual has $pages pages"
# Every picture once: the face at 100 % and 150 % and each close-up cut from the 200 % face.
expected="550x475 825x712"
while read -r name x y w h; do
    case "$name" in ''|\#*) continue ;; esac
    expected="$expected $((2 * w))x$((2 * h))"
done < "$source_root/docs/manual/crops.txt"
found="$(pdfimages -list "$pdf" | awk 'NR > 2 && $3 == "image" {print $4 "x" $5}' | sort | tr '\n' ' ')"
[ "$found" = "$(echo $expected | tr ' ' '\n' | sort | tr '\n' ' ')" ] ||
    fail "pictures in the manual: $found; expected $expected"
text="$(pdftotext -layout "$pdf" -)"
! grep -q '{{' <<<"$text" || fail "an unfilled fact in the manual"
for fact in "30.0 kHz" "40.0 kHz" "-20.0 dB" "Vocal lift" "Only MonoStereo" "L - R" "G9-127"; do
    grep -qF -- "$fact" <<<"$text" || fail "the manual lacks '$fact'"
done
echo "$pages pages, pictures: $found"

echo "== package"
rm -f "$build"/package/orvane_*.deb
(cd "$build" && cpack -G DEB -B "$build/package" >/dev/null)
deb="$(ls "$build"/package/orvane_*_amd64.deb)"
dpkg-deb --info "$deb" | grep -E '^ (Version|Depends|Installed-Size):'
lintian --fail-on error "$deb" || fail "lintian reports errors"
$sudo dpkg -i "$deb" >/dev/null
$sudo dpkg -i "$deb" >/dev/null # over itself: the upgrade path

grep -q "Main Volume" <<<"$(/usr/bin/orvane-probe /usr/lib/vst/Orvane.so)" || fail "probe of /usr/lib/vst"
grep -q "Main Volume" <<<"$(LV2_PATH=/usr/lib/lv2 lv2info urn:halvick:orvane)" ||
    fail "no Orvane.lv2 in /usr/lib/lv2"
[ -f /usr/lib/vst3/Orvane.vst3/Contents/x86_64-linux/Orvane.so ] || fail "no Orvane.vst3 in /usr/lib/vst3"
[ -f /usr/lib/clap/Orvane.clap ] || fail "no Orvane.clap in /usr/lib/clap"
(cd "$scratch" && env -u VST_PATH HOME="$scratch" /usr/bin/orvane-render --demo 1 demo.wav >/dev/null)
[ "$(stat -c %s "$scratch/demo.wav")" -gt 100000 ] || fail "the installed renderer wrote no audio"
# The plug-in looks for the package's manual exactly where the package put it.
grep -qaF /usr/share/orvane/HK_Orvane_Manual.pdf /usr/lib/vst/Orvane.so ||
    fail "the plug-in does not look in /usr/share/orvane"
cmp -s "$pdf" /usr/share/orvane/HK_Orvane_Manual.pdf || fail "manual not installed"
[ "$(readlink -f /usr/share/doc/orvane/HK_Orvane_Manual.pdf)" = /usr/share/orvane/HK_Orvane_Manual.pdf ] ||
    fail "no link to the manual in /usr/share/doc/orvane"
files="$(dpkg -L orvane | sort)"
$sudo dpkg -r orvane >/dev/null
while IFS= read -r path; do
    # Folders shared with other packages stay; everything of ours is gone.
    if [ -e "$path" ] && ! [ -d "$path" ]; then fail "$path left after dpkg -r"; fi
done <<<"$files"
for dir in /usr/lib/vst /usr/lib/lv2 /usr/lib/vst3 /usr/lib/clap /usr/share/orvane /usr/share/doc/orvane; do
    if [ -d "$dir" ] && [ -z "$(ls -A "$dir")" ]; then fail "empty $dir left"; fi
done
! [ -e /usr/share/orvane ] && ! [ -e /usr/share/doc/orvane ] && ! [ -e /usr/lib/lv2/Orvane.lv2 ] ||
    fail "package folders left"
# Removal keeps only dpkg's record of the maintainer scripts; purging clears that too.
$sudo dpkg -P orvane >/dev/null
! dpkg-query -W orvane >/dev/null 2>&1 || fail "dpkg still lists orvane after purging"
echo "$(du -k "$deb" | cut -f1) KB, installed and removed"

echo "== per-user install"
home="$scratch/home"
mkdir -p "$home/.config" "$home/Documents/Halvick/Orvane/ECS"
printf '[String]\nKey=N\n' > "$home/.config/com.HKZX.Orvane"
seq 0 127 | sed 's/.*/0/' > "$home/Documents/Halvick/Orvane/ECS/Orvane.ecs"
before="$(cd "$home" && find . -exec md5sum {} + 2>/dev/null | sort; find . | sort)"
# The plug-in's own settings, written when it loads, go elsewhere: the home must end as it began.
run() {
    env -u XDG_DATA_HOME -u VST_PATH HOME="$home" XDG_CONFIG_HOME="$scratch/config" \
        PATH="/usr/bin:/bin" "$@"
}
run "$source_root/tools/install.sh" --build-dir "$build" >/dev/null
for file in .vst/Orvane.so .local/share/doc/orvane/HK_Orvane_Manual.pdf .local/bin/orvane-render \
            .local/bin/orvane-probe .lv2/Orvane.lv2/manifest.ttl .lv2/Orvane.lv2/Orvane_dsp.so \
            .vst3/Orvane.vst3/Contents/x86_64-linux/Orvane.so .clap/Orvane.clap; do
    [ -f "$home/$file" ] || fail "per-user install lacks ~/$file"
done
grep -q "Main Volume" <<<"$(run "$home/.local/bin/orvane-probe" "$home/.vst/Orvane.so")" ||
    fail "probe of ~/.vst"
(cd "$scratch" && run "$home/.local/bin/orvane-render" --demo 1 user.wav >/dev/null) ||
    fail "the per-user renderer does not find ~/.vst/Orvane.so"
run "$source_root/tools/install.sh" --uninstall >/dev/null
after="$(cd "$home" && find . -exec md5sum {} + 2>/dev/null | sort; find . | sort)"
[ "$after" = "$before" ] || fail "uninstall left or took files: $(cd "$home" && find . | sort)"
echo "installed and removed; settings and ECS files kept"

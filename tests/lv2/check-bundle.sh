#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The built bundle validates against the LV2 schemas, and lv2info shows its ports and presets.
set -euo pipefail
bundle="$1"
lv2_validate "$bundle"/manifest.ttl "$bundle"/Orvane.ttl "$bundle"/presets.ttl
path="$(mktemp -d)"
trap 'rm -rf "$path"' EXIT
ln -s "$bundle" "$path/Orvane.lv2"
info="$(LV2_PATH="$path" lv2info urn:halvick:orvane)"
expect() {
  grep -qF -- "$1" <<<"$info" || { echo "lv2info does not show: $1" >&2; echo "$info" >&2; exit 1; }
}
for symbol in in_left in_right out_left out_right midi_in main_volume air air_amount \
  air_frequency split split_solo split_frequency split_note_mode split_range mono_type bypass; do
  expect "Symbol:      $symbol"
done
for preset in "Nice Start" "Default" "Just a bit" "Mid and High Air" "Only a bit Air" \
  "Only Air" "Only MonoStereo" "Vocal lift"; do
  expect "         $preset"
done
expect "Name:        Mono / Stereo Split Solo On / Off"
expect '3.0 = "L - R"'
expect "http://lv2plug.in/ns/lv2core#toggled"
expect "http://lv2plug.in/ns/lv2core#connectionOptional"
echo "bundle checks: 1 passed, 0 failed"

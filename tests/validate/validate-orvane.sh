#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Validates the built plug-in at the highest strictness the way a chunk-saving host runs it: on
# a private X display (for the editor) and with MIDI controllers bound to parameters.
# usage: validate-orvane.sh VALIDATOR PLUGIN SETTINGS_FOLDER
set -euo pipefail
validator="$1"
plugin="$2"
settings="$3"
work="$(mktemp -d)"
xvfb=""
cleanup() {
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
cp "$settings"/* "$work"/
if command -v Xvfb >/dev/null; then
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do
    if [ -s "$work/display" ]; then break; fi
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$work/display")"
fi
export XDG_CONFIG_HOME="$work" HOME="$work"
# A vendor string beginning with "Prop" makes the plug-in save bank and program chunks.
"$validator" --strictness 3 --output-limit 0.999 --host-vendor "Proper Test Host" "$plugin"

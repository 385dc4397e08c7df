#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the plug-in and runs the main job: the built-in test signal rendered through it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j"$(nproc)" --target Orvane orvane-render orvane-probe
build-release/orvane-render --demo 10 --program "Nice Start" "${1:-orvane-demo.wav}"

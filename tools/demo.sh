#!/usr/bin/env bash
# Builds the plug-in and runs the main job on it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j"$(nproc)" --target Orvane orvane-probe
build-release/orvane-probe build-release/Orvane.so

#!/usr/bin/env bash
# Builds and runs every test: "release" (default), "sanitize" (AddressSanitizer and
# UndefinedBehaviorSanitizer) or "all".
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-release}"

run() {
  local dir="$1"; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
  ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" --timeout 600
}

case "$mode" in
  release) run build-release -DCMAKE_BUILD_TYPE=Release ;;
  sanitize) run build-sanitize -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON -DORVANE_BENCH=OFF ;;
  all)
    "$0" release
    "$0" sanitize
    ;;
  *) echo "usage: tools/test.sh [release|sanitize|all]" >&2; exit 2 ;;
esac

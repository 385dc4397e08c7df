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
  package)
    # The Release build, installed as a user gets it: the Debian package and the per-user install.
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
    cmake --build build-release -j"$(nproc)"
    tests/package/package-test.sh build-release
    ;;
  all)
    "$0" release
    "$0" sanitize
    "$0" package
    ;;
  *) echo "usage: tools/test.sh [release|sanitize|package|all]" >&2; exit 2 ;;
esac

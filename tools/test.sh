#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs every test. Modes: "release" (default); "sanitize" (AddressSanitizer and
# UndefinedBehaviorSanitizer); "foreign-plugin" validates a Debian plug-in; "tsan" runs the tests
# that drive the effect from several threads under ThreadSanitizer; "fuzz" runs every libFuzzer
# target for FUZZ_SECONDS (default 60) each, two at a time; "package" builds, installs and removes
# the Debian package and the per-user install; "all" runs them all in that order.
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
  tsan)
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_TSAN=ON \
      -DORVANE_BENCH=OFF >/dev/null
    cmake --build build-tsan -j"$(nproc)" --target orvane_concurrency_tests orvane_midi_tests \
      gui_window_tests
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/concurrency/tsan.supp" \
      ctest --test-dir build-tsan --output-on-failure -j"$(nproc)" --timeout 600 \
      -R '^(Concurrency|MidiHostTest|EditorWindow)'
    ;;
  fuzz)
    # New inputs and crash reproducers go to build-fuzz; the stored corpus is only read.
    targets=()
    for corpus in tests/fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DORVANE_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"
    fuzz_one() {
      local name="$1" found="build-fuzz/found/$1"
      mkdir -p "$found" build-fuzz/crashes
      if build-fuzz/tests/fuzz/fuzz_"$name" -max_total_time="${FUZZ_SECONDS:-60}" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="build-fuzz/crashes/$name-" \
        "$found" "tests/fuzz/corpus/$name" >"build-fuzz/fuzz-$name.log" 2>&1; then
        echo "fuzz_$name: $(grep -m1 -o 'number_of_executed_units: *[0-9]*' \
          "build-fuzz/fuzz-$name.log" | grep -o '[0-9]*$') runs, no finding"
      else
        tail -n 40 "build-fuzz/fuzz-$name.log"
        echo "fuzz_$name: FAILED, reproducer in build-fuzz/crashes/" >&2
        return 1
      fi
    }
    status=0
    running=0
    for name in "${targets[@]}"; do
      if [ "$running" -ge 2 ]; then wait -n || status=1; running=$((running - 1)); fi
      fuzz_one "$name" &
      running=$((running + 1))
    done
    while [ "$running" -gt 0 ]; do wait -n || status=1; running=$((running - 1)); done
    exit "$status"
    ;;
  package)
    # The Release build, installed as a user gets it: the Debian package and the per-user install.
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
    cmake --build build-release -j"$(nproc)"
    tests/package/package-test.sh build-release
    ;;
  foreign-plugin)
    # A Debian VST 2 plug-in through our validator: a check of the validator, whose findings
    # about that plug-in are reported, not ours to fix.
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build-release --target orvane-validate
    foreign=/usr/lib/vst/3BandEQ-vst.so
    if [ -e "$foreign" ]; then
      build-release/orvane-validate --strictness 3 "$foreign" 2>/dev/null | grep -v '^PASS' |
      sed "s|^|$(basename "$foreign") (reported, not ours): |" || true
    else
      echo "foreign-plugin: $foreign is not installed (package dpf-plugins-vst)"
    fi
    ;;
  all)
    "$0" release
    "$0" sanitize
    "$0" foreign-plugin
    "$0" tsan
    "$0" fuzz
    "$0" package
    ;;
  *) echo "usage: tools/test.sh [release|sanitize|foreign-plugin|tsan|fuzz|package|all]" >&2; exit 2 ;;
esac

#!/usr/bin/env bash
# Builds the store's fuzz target with clang, libFuzzer, ASan and UBSan, and lets ctest run it on the seed corpus in
# tests/fuzz/corpus/. Inputs it finds go to <build>/tests/fuzz/found/; a crash leaves crash-* there and fails.
#   FUZZ_SECONDS    how long the target runs (default 30)
#   FUZZ_BUILD_DIR  the clang build folder (default build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-30}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

# The whole build is instrumented for coverage, so that libFuzzer sees into the store and QSettings adapter;
# only the fuzz target links libFuzzer's main.
cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" \
    -DNUDGEPOST_SANITIZE=ON \
    -DNUDGEPOST_FUZZ=ON \
    -DNUDGEPOST_FUZZ_SECONDS="$seconds"
cmake --build "$build" -j "$jobs" --target fuzz_loadstore

cd "$build"
ctest -R '^fuzz_loadstore$' --output-on-failure -V

#!/usr/bin/env bash
# Runs the whole suite of a test build with ctest, then the fuzz stage (scripts/fuzz.sh), and ends with one line
# for the whole run: "N passed, M failed", over every ctest test and the fuzz stage as one. Exits non-zero when
# anything failed. The fuzz stage's own output goes to a log file in the test build.
#   usage: run-tests.sh [TEST_BUILD_DIR]     (default build-test)
#   JOBS   how many tests ctest runs at once (default: the number of cores)
set -uo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-test}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
passed=0
failed=0

ctest_log=$build/ctest.log
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs") 2>&1 | tee "$ctest_log"
ctest_status=${PIPESTATUS[0]}
# ctest closes with "100% tests passed, 0 tests failed out of 47".
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$ctest_log" | tail -n 1)
if [ -n "$summary" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    ctest_failed=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    passed=$((total - ctest_failed))
    failed=$ctest_failed
    # A run that ctest itself ended badly, with every test passed, still fails.
    if [ "$ctest_status" -ne 0 ] && [ "$ctest_failed" -eq 0 ]; then
        failed=$((failed + 1))
    fi
else
    echo "ctest ended without its summary (status $ctest_status): the whole ctest run counts as one failure"
    failed=$((failed + 1))
fi

# The libFuzzer run needs clang; the install step brings it, but a machine set up by hand may lack it.
if command -v clang++ >/dev/null 2>&1; then
    fuzz_log=$build/fuzz.log
    echo "Fuzz stage: ${FUZZ_SECONDS:-30} s of libFuzzer on the store's load path (output in $fuzz_log)"
    if ./scripts/fuzz.sh >"$fuzz_log" 2>&1; then
        passed=$((passed + 1))
        grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$fuzz_log" | tail -n 1 | sed 's/$/s/' || true
    else
        failed=$((failed + 1))
        echo "The fuzz stage FAILED; its whole output is in $fuzz_log, which ends:"
        tail -n 25 "$fuzz_log"
    fi
else
    echo "clang++ not found: the 30 s fuzz run of the store's load path is skipped"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

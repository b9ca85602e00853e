#!/usr/bin/env bash
# Runs the whole suite of a test build with ctest, then the fuzz stage (scripts/fuzz.sh), and ends with one line
# for the whole run: "N passed, M failed", over every ctest test and the fuzz stage as one. Exits non-zero when
# anything failed. The fuzz stage's own output goes to a log file in the test build.
#   usage: run-tests.sh [TEST_BUILD_DIR]     (default build-test)
#   JOBS           how many tests ctest runs at once (default: the number of cores)
#   WIN_BUILD_DIR  the Windows build whose tests run under Wine on a virtual display, one at a time (default
#                  build-windows; skipped, and counted as one failure, when it holds no tests)
set -uo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-test}
windows_build=${WIN_BUILD_DIR:-build-windows}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
passed=0
failed=0

# Adds what one ctest run printed to the counts; the log is its output, status its exit code.
count_ctest() {
    local log=$1 status=$2 summary total ctest_failed
    # ctest closes with "100% tests passed, 0 tests failed out of 47".
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -n "$summary" ]; then
        total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
        ctest_failed=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
        passed=$((passed + total - ctest_failed))
        failed=$((failed + ctest_failed))
        # A run that ctest itself ended badly, with every test passed, still fails.
        if [ "$status" -ne 0 ] && [ "$ctest_failed" -eq 0 ]; then
            failed=$((failed + 1))
        fi
    else
        echo "ctest ended without its summary (status $status): the whole run of $log counts as one failure"
        failed=$((failed + 1))
    fi
}

ctest_log=$build/ctest.log
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs") 2>&1 | tee "$ctest_log"
count_ctest "$ctest_log" "${PIPESTATUS[0]}"

# The Windows program's tests share one Wine prefix and one display: they run one at a time.
windows_log=$windows_build/ctest.log
if [ -f "$windows_build/CTestTestfile.cmake" ]; then
    echo "The Windows program's tests, under Wine on a virtual display:"
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" ctest --test-dir "$windows_build" --output-on-failure \
        2>&1 | tee "$windows_log"
    count_ctest "$windows_log" "${PIPESTATUS[0]}"
else
    echo "No Windows build with tests in $windows_build: its tests count as one failure"
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

#!/usr/bin/env bash
# Runs every test stage in turn and sums them up: the native unit tests,
# the same under AddressSanitizer and UndefinedBehaviorSanitizer, a bounded
# fuzzing run, and the Windows-side tests under Wine on the test segment:
# all of them on a workstation with one adapter, again on one with two
# (with those labelled two_segments), and the windowed ones at 144 DPI.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

fuzz_seconds="${KL_FUZZ_SECONDS:-60}"
jobs=$(nproc)
passed=0
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Adds the counts of a ctest summary line to the totals.
count_ctest() {
    local line total bad
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$line" ]; then
        echo "run-tests: $1 did not report a test count" >&2
        failed=$((failed + 1))
        return
    fi
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}

stage() {
    echo "=== $1"
}

stage "native unit tests"
ctest --test-dir build/host --output-on-failure 2>&1 | tee "$log"
count_ctest "native unit tests"

stage "native unit tests under sanitizers"
if cmake -S . -B build/host-sanitize -DCMAKE_BUILD_TYPE=Debug -DKL_SANITIZE=ON >/dev/null &&
    cmake --build build/host-sanitize -j "$jobs" >/dev/null; then
    ctest --test-dir build/host-sanitize --output-on-failure 2>&1 | tee "$log"
    count_ctest "sanitizer tests"
else
    echo "run-tests: sanitizer build failed" >&2
    failed=$((failed + 1))
fi

# The three targets share the fuzzing time: the datagram reader, the
# configure request builder (a record of 416 bytes and one shape byte),
# then the plan reader with scan's CSV writer.
stage "fuzzing the datagram reader, the configure request builder and the plan reader for ${fuzz_seconds}s"
corpus=$(mktemp -d)
fuzz_third=$(((fuzz_seconds + 2) / 3))
if CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKL_FUZZ=ON >/dev/null &&
    cmake --build build/fuzz -j "$jobs" >/dev/null &&
    build/fuzz/bin/datagram_fuzz -max_total_time="$fuzz_third" -max_len=1500 -print_final_stats=1 \
        -artifact_prefix=build/fuzz/datagram- "$corpus" tests/fuzz/corpus 2>&1 | tail -n 12 &&
    mkdir "$corpus/configure" &&
    build/fuzz/bin/configure_fuzz -max_total_time="$fuzz_third" -max_len=417 -print_final_stats=1 \
        -artifact_prefix=build/fuzz/configure- "$corpus/configure" 2>&1 | tail -n 12 &&
    mkdir "$corpus/plan" &&
    build/fuzz/bin/plan_fuzz -max_total_time="$fuzz_third" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix=build/fuzz/plan- "$corpus/plan" tests/fuzz/plan_corpus 2>&1 | tail -n 12; then
    passed=$((passed + 1))
    echo "fuzzing: no finding"
else
    failed=$((failed + 1))
    echo "fuzzing: FAILED (artifacts in build/fuzz/)"
fi
rm -rf "$corpus"

stage "Windows-side tests under Wine on the test segment"
tools/testseg/testseg -- ctest --test-dir build/windows -LE two_segments --output-on-failure 2>&1 | tee "$log"
count_ctest "Windows-side tests"

stage "Windows-side tests under Wine with the workstation on two segments"
tools/testseg/testseg --second-adapter 1 -- ctest --test-dir build/windows --output-on-failure 2>&1 | tee "$log"
count_ctest "two-segment tests"

# Images the tests drew for review, as PNG beside their bitmaps, at 96 DPI.
for bitmap in build/windows/review/*.bmp; do
    [ -e "$bitmap" ] && convert "$bitmap" "${bitmap%.bmp}.png"
done

# A laptop's 150 % display: each new Wine process reads the scale at start.
stage "Windows-side tests of the windows at 144 DPI"
tools/testseg/testseg -- bash -c "tools/testseg/wine-run reg add 'HKCU\\Control Panel\\Desktop' /v LogPixels \
    /t REG_DWORD /d 144 /f >/dev/null && ctest --test-dir build/windows -R '^(app|configure|modulelist|e2e)_tests$' \
    --output-on-failure" 2>&1 | tee "$log"
count_ctest "tests at 144 DPI"

echo
echo "Total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

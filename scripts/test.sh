#!/bin/bash
# Installs what is missing, then runs every check and exits non-zero when any
# fails: the formatting of every C++ file; the build with warnings as errors
# (benchmarks included, so they keep compiling) and its test suite; the
# Debian package, checked and run installed; the static checks of .clang-tidy; the same suite built again under
# AddressSanitizer and UndefinedBehaviorSanitizer; and each fuzz target for a
# bounded time (FUZZ_SECONDS, default 60), seeded from its committed corpus.
# The builds are the presets of CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."

FUZZ_SECONDS=${FUZZ_SECONDS:-60}

bash scripts/install-deps.sh

bash scripts/check-style.sh format

echo "== Build and test suite"
cmake --preset release
cmake --build --preset release
ctest --preset release

bash scripts/check-package.sh build

echo "== Test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize

echo "== Fuzz targets"
cmake --preset fuzz
cmake --build --preset fuzz

# With both builds' compile commands at hand, the program, tests, benchmarks
# and fuzz targets are checked in one go.
bash scripts/check-style.sh tidy

echo "== Fuzzing, ${FUZZ_SECONDS} s per target"
# Flags beyond the common ones: room for floods in the receive path, the
# settings file's keys for its reader.
fuzz_flags() {
    case "$1" in
        ReceivePathFuzzer) echo "-max_len=8192" ;;
        SettingsFileFuzzer) echo "-dict=fuzz/settings.dict" ;;
        OscDatagramFuzzer) echo "-dict=fuzz/osc.dict -max_len=2048" ;;
        *) echo "" ;;
    esac
}

# The corpus is copied so the run never writes into the repository. The
# settings target writes a file per input: on tmpfs when there is one.
fuzz_one() {
    local target=$1 work
    work=$(mktemp -d)
    mkdir -p "$work/corpus" "$work/findings"
    cp fuzz/corpus/"$target"/* "$work/corpus/"
    local tmp=${TMPDIR:-/tmp}
    [ -d /dev/shm ] && [ -w /dev/shm ] && tmp=/dev/shm
    # shellcheck disable=SC2046
    if TMPDIR="$tmp" build-fuzz/fuzz/"$target" $(fuzz_flags "$target") \
        -max_total_time="$FUZZ_SECONDS" -timeout=30 -rss_limit_mb=2560 \
        -print_final_stats=1 -artifact_prefix="$work/findings/" "$work/corpus" \
        >"$work/log" 2>&1; then
        echo "$target: no finding ($(grep -m1 -o 'Done [0-9]* runs' "$work/log" || echo 'runs unknown'))"
        rm -rf "$work"
        return 0
    fi
    tail -n 60 "$work/log"
    for finding in "$work"/findings/*; do
        [ -f "$finding" ] || continue
        echo "$target: finding $(basename "$finding"), input in hex:"
        od -An -tx1 -v "$finding" | head -n 64
    done
    rm -rf "$work"
    return 1
}

failed=0
for target in ReceivePathFuzzer SettingsFileFuzzer NumberReaderFuzzer OscDatagramFuzzer; do
    fuzz_one "$target" || failed=1
done
if [ "$failed" -ne 0 ]; then
    echo "Fuzzing found faults (see above)."
    exit 1
fi
echo "All checks passed."

#!/bin/bash
# Fails when a C++ file is not formatted as .clang-format says, or when
# clang-tidy finds anything .clang-tidy checks for. Needs the compile
# commands of a configured build: the release one for the program, tests and
# benchmarks (default build/), and the fuzz one for fuzz/ when it exists.
# Usage: scripts/check-style.sh [format|tidy|all] (default all)
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}

check_format() {
    echo "== Formatting (clang-format)"
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
    echo "formatted as .clang-format says"
}

# One clang-tidy per file, two at a time; WarningsAsErrors makes any finding
# a non-zero exit, which xargs passes on. Each file's output is printed
# whole, without the count of warnings suppressed in Qt's headers. Qt Test's
# macros call variadic macros with no arguments, which -Wpedantic would
# report from Qt's headers.
tidy_files() {
    local build=$1
    shift
    printf '%s\0' "$@" | xargs -0 -r -P 2 -n 1 bash -c '
        out=$(clang-tidy -p "$0" --quiet --extra-arg=-Wno-gnu-zero-variadic-macro-arguments "$1" 2>&1)
        status=$?
        printf "%s\n" "$out" | grep -v "warnings generated" || true
        exit $status' "$build"
}

check_tidy() {
    echo "== Static checks (clang-tidy)"
    mapfile -t program < <(git ls-files '*.cpp' | grep -v '^fuzz/')
    tidy_files build "${program[@]}"
    if [ -f build-fuzz/compile_commands.json ]; then
        mapfile -t fuzz < <(git ls-files 'fuzz/*.cpp')
        tidy_files build-fuzz "${fuzz[@]}"
    fi
    echo "no findings"
}

case "$what" in
    format) check_format ;;
    tidy) check_tidy ;;
    all) check_format; check_tidy ;;
    *) echo "usage: $0 [format|tidy|all]" >&2; exit 2 ;;
esac

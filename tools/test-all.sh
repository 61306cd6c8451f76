#!/bin/sh
# Builds and tests everything this machine can build: the native build (unit
# tests and scenarios on the posix backend), the same under AddressSanitizer
# and UndefinedBehaviorSanitizer, short runs of the fuzz targets (with clang),
# the Windows x86_64 build (the scenarios under Wine) and the Windows i686
# build (built and packed into the release zip). Installs nothing. Exits
# non-zero when any build or test fails.
#
#   tools/test-all.sh            build trees in build/ of the source tree
#   QUILLBAY_BUILD_ROOT=/some/dir tools/test-all.sh
#
# With CI=true a missing cross compiler or Wine is a failure, not a skip.
set -u
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_root=${QUILLBAY_BUILD_ROOT:-$source_dir/build}
jobs=${QUILLBAY_JOBS:-2}
in_ci=false
[ "${CI:-}" = true ] && in_ci=true
failed=""
notes=""

note() { notes="$notes$1
"; }
fail() { failed="$failed $1"; }

configure_and_build() { # name, extra cmake arguments...
    name=$1
    shift
    echo "==> building $name in $build_root/$name"
    cmake -S "$source_dir" -B "$build_root/$name" "$@" >"$build_root/$name.configure.log" 2>&1 ||
        { cat "$build_root/$name.configure.log"; return 1; }
    cmake --build "$build_root/$name" -j "$jobs"
}

mkdir -p "$build_root"

configure_and_build native -DCMAKE_BUILD_TYPE=RelWithDebInfo || fail native-build

win64=false
if command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1; then
    if configure_and_build win64 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/toolchain-x86_64-w64-mingw32.cmake"; then
        win64=true
    else
        fail win64-build
    fi
else
    note "Windows x86_64 build skipped: x86_64-w64-mingw32-g++-posix not found"
    $in_ci && fail win64-toolchain
fi

if command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1; then
    if configure_and_build win32 -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/toolchain-i686-w64-mingw32.cmake"; then
        echo "==> packing the 32-bit release"
        cmake -DBUILD_DIR="$build_root/win32" -P "$source_dir/cmake/package_win32.cmake" ||
            fail win32-package
    else
        fail win32-build
    fi
else
    note "Windows i686 build skipped: i686-w64-mingw32-g++-posix not found"
    $in_ci && fail win32-toolchain
fi

# The sanitizer tree runs every unit test and native scenario instrumented.
if configure_and_build native-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLBAY_SANITIZE=ON; then
    echo "==> unit tests and scenarios under ASan and UBSan"
    ctest --test-dir "$build_root/native-asan" --output-on-failure -j "$jobs" ||
        fail asan-tests
else
    fail asan-build
fi

# Short fuzz runs: every target under both code pages, a fixed number of runs.
if command -v clang++ >/dev/null 2>&1; then
    echo "==> fuzz targets, short runs"
    "$source_dir/tests/fuzz/run.sh" "${QUILLBAY_FUZZ_RUNS:-20000}" "$build_root/fuzz" || fail fuzz
else
    note "fuzz runs skipped: clang++ not found"
    $in_ci && fail fuzz-toolchain
fi

# The Wine half first, so that the native run's summary ends the output.
if $win64; then
    echo "==> scenarios of the Windows x86_64 build under Wine"
    if [ ! -x /usr/lib/wine/wine64 ]; then
        note "Wine half skipped: /usr/lib/wine/wine64 not found (the scenario tests show as skipped)"
    fi
    ctest --test-dir "$build_root/win64" --output-on-failure -j "$jobs" || fail win64-tests
    # Which code pages the Wine runs had: 932 in the Japanese locale.
    grep -h "active code page" "$build_root/win64/Testing/Temporary/LastTest.log" | sort -u
fi

if [ -n "$notes" ]; then
    printf '%s' "$notes"
fi
if [ -n "$failed" ]; then
    echo "failed so far:$failed"
fi

echo "==> native unit tests and scenarios"
if [ -f "$build_root/native/CTestTestfile.cmake" ]; then
    ctest --test-dir "$build_root/native" --output-on-failure -j "$jobs" || fail native-tests
fi

[ -z "$failed" ]

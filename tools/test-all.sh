#!/bin/sh
# Builds and tests everything this machine can build: the native build (unit
# tests and scenarios on the posix backend), the Windows x86_64 build (the
# scenarios under Wine) and the Windows i686 build (built only). Installs
# nothing. Exits non-zero when any build or test fails.
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
    configure_and_build win32 -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/toolchain-i686-w64-mingw32.cmake" ||
        fail win32-build
else
    note "Windows i686 build skipped: i686-w64-mingw32-g++-posix not found"
    $in_ci && fail win32-toolchain
fi

# The Wine half first, so that the native run's summary ends the output.
if $win64; then
    echo "==> scenarios of the Windows x86_64 build under Wine"
    if [ ! -x /usr/lib/wine/wine64 ]; then
        note "Wine half skipped: /usr/lib/wine/wine64 not found (the scenario tests show as skipped)"
    fi
    ctest --test-dir "$build_root/win64" --output-on-failure -j "$jobs" || fail win64-tests
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

#!/bin/sh
# Builds the probe as a console and a window-subsystem program and runs both
# under wine64, to see what passes through: code page, arguments, standard
# streams, exit code. Usage: check-wine.sh [work dir] (default /tmp/wine-probe).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-/tmp/wine-probe}
mkdir -p "$out"
for subsystem in console windows; do
    x86_64-w64-mingw32-g++-posix -Wall -Wextra -O2 -static -m$subsystem \
        -o "$out/probe-$subsystem.exe" "$here/wine_probe.cpp"
done
export WINEDEBUG=-all
: "${WINEPREFIX:=$HOME/.wine}"
export WINEPREFIX
wine=${WINE:-/usr/lib/wine/wine64}
for subsystem in console windows; do
    for locale in en_US.UTF-8 ja_JP.UTF-8; do
        echo "== $subsystem, $locale"
        status=0
        printf 'typed line\n' | LC_ALL=$locale PROBE_EXIT=7 "$wine" "$out/probe-$subsystem.exe" \
            'a b' '"q"' 'back\slash' 2>"$out/stderr" >"$out/stdout" || status=$?
        od -c "$out/stdout" | head -8
        echo "stderr: $(od -c "$out/stderr" | head -2 | tr -s ' ')"
        echo "exit: $status"
    done
done

#!/bin/sh
# Checks the win32 backend under wine64 in both code pages, and shows what
# Wine passes through to a console and a window-subsystem program: code
# page, arguments, standard streams, exit code.
# Usage: check-wine.sh [work dir]   (default /tmp/wine-probe; WINEPREFIX as set)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
platform=$(cd "$here/../.." && pwd)
out=${1:-/tmp/wine-probe}
mkdir -p "$out"
cxx=x86_64-w64-mingw32-g++-posix
flags="-std=c++17 -Wall -Wextra -Werror -O2 -static"

for subsystem in console windows; do
    $cxx $flags -m$subsystem -o "$out/probe-$subsystem.exe" "$here/wine_probe.cpp"
done
$cxx $flags -mconsole -I"$platform" -o "$out/backend_check.exe" \
    "$here/backend_check.cpp" "$platform"/win32/*.cpp -ladvapi32 -luser32

export WINEDEBUG=-all
: "${WINEPREFIX:=$HOME/.wine}"
export WINEPREFIX
wine=${WINE:-/usr/lib/wine/wine64}
win_out="Z:$(echo "$out" | tr / '\\')"

failed=0
for locale in en_US.UTF-8 ja_JP.UTF-8; do
    echo "== backend check, $locale"
    rm -rf "$out/scratch"
    LC_ALL=$locale "$wine" "$out/backend_check.exe" "$win_out\\scratch" || failed=1
done

echo "== message box seam"
QUILLBAY_MESSAGE_BOX=stderr "$wine" "$out/backend_check.exe" message "box text" 2>"$out/stderr"
if [ "$(cat "$out/stderr")" != "$(printf 'box text\r')" ]; then
    echo "message box text did not reach stderr: $(od -c "$out/stderr")"
    failed=1
fi

for subsystem in console windows; do
    for locale in en_US.UTF-8 ja_JP.UTF-8; do
        echo "== probe, $subsystem, $locale"
        status=0
        printf 'typed line\n' | LC_ALL=$locale PROBE_EXIT=7 "$wine" "$out/probe-$subsystem.exe" \
            'a b' '"q"' 'back\slash' '' 2>"$out/stderr" >"$out/stdout" || status=$?
        od -c "$out/stdout" | head -8
        echo "stderr: $(od -c "$out/stderr" | head -1)"
        echo "exit: $status"
    done
done
exit $failed

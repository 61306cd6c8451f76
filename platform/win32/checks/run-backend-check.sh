#!/bin/sh
# Runs backend_check.exe under wine64 in one locale, in a fresh scratch
# directory below the build tree; used by CTest for the x86_64 build.
# Usage: run-backend-check.sh <backend_check.exe> <wine prefix> <locale>
set -eu
exe=$1
export WINEPREFIX=$2 LC_ALL=$3 WINEDEBUG=-all
scratch=$(dirname "$exe")/backend-check-$3
rm -rf "$scratch"
exec /usr/lib/wine/wine64 "$exe" "Z:$(echo "$scratch" | tr / '\\')"

#!/bin/sh
# Builds the native programs and lets logverdict judge a sample TeX log: a
# scratch registry holds MacroDir, and the verdict lands in dyndata.ini of a
# scratch macro directory, which is printed.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLBAY_BUILD_ROOT:-$source_dir/build}/native
cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target logverdict qbreg -j 2 >/dev/null

# Lower-case ASCII only: the programs see the folder as Z:\tmp\...
work=/tmp/qbdemo-$$
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/registry" "$work/windows" "$work/macro" "$work/doc"
export QUILLBAY_REGISTRY="$work/registry" QUILLBAY_WINDIR="$work/windows" QUILLBAY_CODEPAGE=1252
windows_work="Z:$(printf '%s' "$work" | tr / '\\')"

printf '%s\n' 'This is pdfTeX (sample log)' '(./paper.tex' \
    'LaTeX Warning: Label(s) may have changed. Rerun to get cross-references right.' \
    ')' 'Output written on paper.pdf (2 pages).' >"$work/doc/paper.log"
printf '%s\n' "set HKCU\\Software\\Corve_Macro\\Quillbay\\MacroConfig MacroDir sz $windows_work\\macro" |
    "$build/bin/qbreg"

status=0
"$build/bin/logverdict" "$windows_work\\doc\\paper.tex" || status=$?
printf '%s\n' "logverdict $windows_work\\doc\\paper.tex: exit code $status"
printf '%s\n' "$windows_work\\macro\\dyndata.ini:"
cat "$work/macro/dyndata.ini"

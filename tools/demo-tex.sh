#!/bin/sh
# Builds the native programs and typesets a small LaTeX document through
# ravick with TeX Live's pdftex: &latex makes ravick run latex, the program
# beside pdftex. The first run asks for another (labels changed), the second
# is clean; then a document with an error is answered with e, so that the
# engine starts tavlet, which records where the error is. Each run prints
# ravick's exit code and dyndata.ini.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLBAY_BUILD_ROOT:-$source_dir/build}/native
for program in /usr/bin/pdftex /usr/bin/latex; do
    [ -x "$program" ] || { echo "demo-tex: $program is missing (TeX Live)" >&2; exit 1; }
done
cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target ravick tavlet qbreg -j 2 >/dev/null

# Lower-case ASCII only: ravick hands the engine the lower-cased name.
work=/tmp/qbdemotex-$$
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/registry" "$work/windows" "$work/macro/tools" "$work/doc"
cp "$build/bin/tavlet" "$work/macro/tools/tavlet"
export QUILLBAY_REGISTRY="$work/registry" QUILLBAY_WINDIR="$work/windows" QUILLBAY_CODEPAGE=1252
# The engine runs TEXEDIT with /bin/sh: a Unix macro folder, and forward
# slashes in the command.
export KSH_NEC_WIN95=1
printf '%s\n' "set HKCU\\Software\\Corve_Macro\\Quillbay\\MacroConfig MacroDir sz $work/macro" |
    "$build/bin/qbreg"

typeset() {  # <source> <answers for the engine>
    status=0
    printf '%s' "$2" | "$build/bin/ravick" /usr/bin/pdftex '&latex' "$work/doc/$1" \
        >"$work/engine.out" 2>&1 || status=$?
    echo "ravick /usr/bin/pdftex &latex $work/doc/$1: exit code $status"
    sed 's/^/    /' "$work/macro/dyndata.ini"
}

printf '%s\n' '\documentclass{article}' '\begin{document}' \
    '\section{One}\label{one}' 'See section~\ref{one}.' '\end{document}' >"$work/doc/paper.tex"
typeset paper.tex ''
typeset paper.tex ''

printf '%s\n' '\documentclass{article}' '\begin{document}' 'Hello.' \
    '\undefinedcommand' '\end{document}' >"$work/doc/broken.tex"
typeset broken.tex 'e
'

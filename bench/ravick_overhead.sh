#!/usr/bin/env bash
# What ravick adds to an engine run: ravick with the fake engine against the
# fake engine alone, and ravick with TeX Live's latex (through pdftex and
# &latex) on a small document against latex run directly. Medians of 50
# runs each (hyperfine, no shell in between).
#   bench/ravick_overhead.sh <native build dir> [runs]
set -euo pipefail
build=$(cd "${1:?native build dir}" && pwd)
runs=${2:-50}
work=$(mktemp -d /tmp/qbbench-XXXXXX)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/registry" "$work/windows" "$work/macro/tools" "$work/tex/bin" "$work/doc"
cp "$build/bin/fake_engine" "$work/tex/bin/virtex.exe"
cp "$build/bin/tavlet" "$work/macro/tools/tavlet"
export QUILLBAY_REGISTRY="$work/registry" QUILLBAY_WINDIR="$work/windows" QUILLBAY_CODEPAGE=1252
printf '%s\n' "set HKCU\\Software\\Corve_Macro\\Quillbay\\MacroConfig MacroDir sz $work/macro" |
    "$build/bin/qbreg"
printf '%s\n' '\documentclass{article}' '\begin{document}' 'Hello.' '\end{document}' \
    >"$work/doc/paper.tex"
printf '%s\n' 'Output written on paper.dvi (1 page).' >"$work/doc/paper.logsrc"

cd "$work/doc"
echo "== ravick with the fake engine vs the fake engine alone"
hyperfine -N --warmup 5 --runs "$runs" --export-json "$work/fake.json" \
    -n fake_engine "$work/tex/bin/virtex.exe &plain $work/doc/paper.tex" \
    -n ravick "$build/bin/ravick $work/tex/bin/virtex.exe &plain $work/doc/paper.tex"

echo "== ravick with latex vs latex directly"
hyperfine -N --warmup 3 --runs "$runs" --export-json "$work/tex.json" \
    -n latex "/usr/bin/latex $work/doc/paper.tex" \
    -n ravick "$build/bin/ravick /usr/bin/pdftex &latex $work/doc/paper.tex"

python3 - "$work/fake.json" "$work/tex.json" <<'PY'
import json, sys
for path, what in zip(sys.argv[1:], ("fake engine", "latex")):
    results = json.load(open(path))["results"]
    median = {r["command"]: r["median"] * 1000 for r in results}
    base, with_ravick = list(median.values())
    print("%-12s median %.2f ms alone, %.2f ms through ravick: ravick adds %.2f ms"
          % (what, base, with_ravick, with_ravick - base))
PY

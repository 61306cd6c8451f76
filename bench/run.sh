#!/usr/bin/env bash
# Every benchmark in one run, printed as one markdown table. Each figure is
# set against a reference measured in the same run on the same input (grep,
# cat, the engine alone, /bin/true), so a busy machine shifts both alike.
#   bench/run.sh [build dir]
# Without a build dir a Release native tree is configured and built in
# build/bench. Needs hyperfine, python3, /usr/bin/time and TeX Live.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
build=${1:-}
if [ -z "$build" ]; then
  build="$repo/build/bench"
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
  cmake --build "$build" -j2 --target ravick logverdict needapps tavlet fmtmenu \
    pathforms regpurge fake_engine qbreg quillbay_platform > /dev/null
fi
build=$(cd "$build" && pwd)
work=$(mktemp -d /tmp/qbbench-XXXXXX)
trap 'rm -rf "$work"' EXIT
table() { python3 "$here/table.py" "$@"; }
# hyperfine with its output kept for a failure report only; -i because the
# programs and grep end with non-zero codes that are results, not failures.
measure() {  # <json> <runs> <command>...
  local json=$1 runs=$2
  shift 2
  hyperfine -N -i --warmup 2 --runs "$runs" --export-json "$json" "$@" > "$work/hyperfine.out" 2>&1 ||
    { cat "$work/hyperfine.out" >&2; exit 1; }
}
peak_kb() { /usr/bin/time -f %M "$@" 2>&1 > /dev/null | tail -1; }

# ---------------------------------------------------------------- inputs
# The same inputs as bench/logverdict.sh and bench/needapps_scan.sh: a TeX
# log with no verdict text and a TeX source with no directive, so both are
# read to their end.
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
def write(path, block, mb):
    with open(path, "wb") as f:
        for _ in range(mb * 1024 * 1024 // len(block)):
            f.write(block)
log_line = (b"Overfull \\hbox (12.3pt too wide) in paragraph at lines 10--12 "
            b"[]\\OT1/cmr/m/n/10 Some text of the document that runs on []\r\n")
write(f"{work}/big.log", log_line * 1024, 200)
write(f"{work}/small.log", log_line * 1024, 2)
source_lines = [
    b"\\section{Results} The measured values (see Table~\\ref{tab:1}) agree.\r\n",
    b"Some ordinary text of the document that runs on to the end of the line\r\n",
    b"\\begin{equation} x_1 = \\frac{a^2}{b_{10}} + 50\\% \\label{eq:1} \\end{equation}\r\n",
    b"% a comment line with \\commands and 100\\% of the digits 0 to 9\r\n",
    b"\\textbf{bold} and \\emph{emphasised} words, \\cite{key2001} and more\r\n",
]
write(f"{work}/scan.tex", b"".join(source_lines) * 256, 50)
PY
: > "$work/big.tex"
: > "$work/small.tex"
printf '%s\n' '? e' '? x' '! Emergency stop.' 'No pages of output.' \
  'LaTeX Warning: Label(s) may have changed.' > "$work/patterns"
g++ -O2 -I"$repo/platform" "$here/needapps/read_pieces.cpp" \
  "$build/platform/libquillbay_platform.a" -o "$work/read_pieces"

# A registry without MacroDir: logverdict and needapps write no status file.
export QUILLBAY_REGISTRY="$work/registry" QUILLBAY_WINDIR="$work/windows" QUILLBAY_CODEPAGE=1252
mkdir -p "$QUILLBAY_REGISTRY" "$QUILLBAY_WINDIR"

table header

# ---------------------------------------------------------------- logverdict
measure "$work/logverdict.json" 10 \
  "$build/bin/logverdict $work/big.tex" \
  "grep -F -c -f $work/patterns $work/big.log" \
  "cat $work/big.log"
table ratio "$work/logverdict.json" 0 1 "logverdict, 200 MB log, no verdict text" 1.5
table ratio "$work/logverdict.json" 0 2 "logverdict, 200 MB log, against reading alone" -
table memory "$(peak_kb "$build/bin/logverdict" "$work/big.tex")" \
  "$(peak_kb "$build/bin/logverdict" "$work/small.tex")" \
  "logverdict peak memory, 200 MB log (aim: a few MB)" "2 MB log" 1.1

# ---------------------------------------------------------------- needapps
measure "$work/needapps.json" 10 \
  "$build/bin/needapps $work/scan.tex" \
  "grep -F -c \\bibliography $work/scan.tex" \
  "$work/read_pieces $work/scan.tex" \
  "cat $work/scan.tex"
table ratio "$work/needapps.json" 0 1 "needapps directive scan, 50 MB source" 1.5
table ratio "$work/needapps.json" 2 1 "text-mode reader alone, 50 MB in 259-byte pieces" -
table ratio "$work/needapps.json" 0 3 "needapps directive scan, against cat" -

# ---------------------------------------------------------------- ravick
if [ -x "$here/ravick_overhead.sh" ]; then
  # It measures both comparisons below, with its own inputs.
  "$here/ravick_overhead.sh" "$build" > "$work/overhead.out" 2>&1 ||
    { cat "$work/overhead.out" >&2; exit 1; }
  table overhead "$work/overhead.out"
else
  # A macro folder named by MacroDir, and a document folder that the engine
  # runs in.
  rv="$work/ravick"
  mkdir -p "$rv/registry" "$rv/macro/tools" "$rv/doc" "$rv/tex"
  export QUILLBAY_REGISTRY="$rv/registry"
  printf 'set HKCU\\Software\\Corve_Macro\\Quillbay\\MacroConfig MacroDir sz %s\n' "$rv/macro" |
    "$build/bin/qbreg" > /dev/null
  cp "$build/bin/tavlet" "$rv/macro/tools/"
  cd "$rv/doc"
  # The fake engine writes a clean log, so ravick reads it and records 0.
  cp "$build/bin/fake_engine" "$rv/tex/virtex"
  printf '\\relax\n' > "$rv/doc/fake.tex"
  FAKE_ENGINE_LOG="This is a TeX log without trouble." measure "$work/ravick_fake.json" 30 \
    "$build/bin/ravick $rv/tex/virtex &plain $rv/doc/fake.tex" \
    "$rv/tex/virtex &plain $rv/doc/fake.tex"
  table diff "$work/ravick_fake.json" 0 1 "ravick with the fake engine, median of 30" 5
  # A small LaTeX document through ravick, which runs latex (pdftex with
  # the LaTeX format) found beside pdftex, against that same latex command.
  printf '\\documentclass{article}\n\\begin{document}\nHello.\n\\end{document}\n' > "$rv/doc/paper.tex"
  measure "$work/ravick_tex.json" 20 \
    "$build/bin/ravick /usr/bin/pdftex &latex $rv/doc/paper.tex" \
    "/usr/bin/latex $rv/doc/paper.tex"
  table diff "$work/ravick_tex.json" 0 1 "ravick with pdftex, small LaTeX document, median of 20" -
  cd "$work"
fi

# ---------------------------------------------------------------- start-up
"$here/startup.sh" "$build"

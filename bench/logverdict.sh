#!/usr/bin/env bash
# logverdict on a large log that holds no verdict text (read to its end),
# against grep -F -c with the five verdict texts and against cat (the read
# limit), measured in one run; and logverdict's peak memory on a small and a
# large log.
#   bench/logverdict.sh <build dir> [size in MB]
set -euo pipefail
build=${1:?build dir}
size_mb=${2:-200}
work=$(mktemp -d /tmp/qbbench-XXXXXX)
trap 'rm -rf "$work"' EXIT

make_log() {  # <file> <MB>: TeX-like lines, no verdict text
  python3 - "$1" "$2" <<'PY'
import sys
path, mb = sys.argv[1], int(sys.argv[2])
line = (b"Overfull \\hbox (12.3pt too wide) in paragraph at lines 10--12 "
        b"[]\\OT1/cmr/m/n/10 Some text of the document that runs on []\r\n")
block = line * 1024
with open(path, "wb") as f:
    for _ in range(mb * 1024 * 1024 // len(block)):
        f.write(block)
PY
}
make_log "$work/big.log" "$size_mb"
make_log "$work/small.log" 2
: > "$work/big.tex"; : > "$work/small.tex"

export QUILLBAY_REGISTRY="$work/registry"   # no MacroDir: nothing written
patterns="$work/patterns"
printf '%s\n' '? e' '? x' '! Emergency stop.' 'No pages of output.' \
  'LaTeX Warning: Label(s) may have changed.' > "$patterns"

# -i: grep ends with 1 when nothing matches, which is the point here.
hyperfine --warmup 2 --runs 10 -N -i --export-json "$work/times.json" \
  "$build/bin/logverdict $work/big.tex" \
  "grep -F -c -f $patterns $work/big.log" \
  "cat $work/big.log" > /dev/null 2>&1 || true

peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
python3 - "$work/times.json" "$size_mb" "$(peak_kb "$build/bin/logverdict" "$work/small.tex")" \
  "$(peak_kb "$build/bin/logverdict" "$work/big.tex")" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
mb = sys.argv[2]
verdict, grep, cat = (r["median"] for r in results)
print(f"| logverdict on a {mb} MB log | {verdict*1000:.0f} ms | grep -F -c {grep*1000:.0f} ms | "
      f"{verdict/grep:.2f}x grep (aim < 1.5x) | {verdict/cat:.2f}x cat |")
print(f"| logverdict peak memory | 2 MB log: {sys.argv[3]} KB | {mb} MB log: {sys.argv[4]} KB | | |")
PY

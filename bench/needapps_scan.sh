#!/usr/bin/env bash
# The directive scan of needapps on a large TeX source that holds no
# directive (so it is read to its end), against grep -F -c for one of the
# words, against the platform layer's piece reader alone (the floor of any
# scan that keeps the piece boundaries) and against cat, in one run.
#   bench/needapps_scan.sh <build dir> [size in MB]
set -euo pipefail
build=${1:?build dir}
size_mb=${2:-50}
work=$(mktemp -d /tmp/qbbench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# TeX-like lines with backslashes, comments, digits and an escaped percent,
# but none of the three directive words.
python3 - "$work/big.tex" "$size_mb" <<'PY'
import sys
path, mb = sys.argv[1], int(sys.argv[2])
lines = [
    b"\\section{Results} The measured values (see Table~\\ref{tab:1}) agree.\r\n",
    b"Some ordinary text of the document that runs on to the end of the line\r\n",
    b"\\begin{equation} x_1 = \\frac{a^2}{b_{10}} + 50\\% \\label{eq:1} \\end{equation}\r\n",
    b"% a comment line with \\commands and 100\\% of the digits 0 to 9\r\n",
    b"\\textbf{bold} and \\emph{emphasised} words, \\cite{key2001} and more\r\n",
]
block = b"".join(lines) * 256
with open(path, "wb") as f:
    for _ in range(mb * 1024 * 1024 // len(block)):
        f.write(block)
PY

here=$(cd "$(dirname "$0")" && pwd)
g++ -O2 -I"$here/../platform" "$here/needapps/read_pieces.cpp" \
  "$build/platform/libquillbay_platform.a" -o "$work/read_pieces"

export QUILLBAY_REGISTRY="$work/registry"   # no MacroDir: nothing written
mkdir -p "$QUILLBAY_REGISTRY"

# -i: needapps ends with its bits (8 here) and grep with 1 when nothing
# matches; neither is a failure of the measurement.
hyperfine --warmup 2 --runs 10 -N -i --export-json "$work/times.json" \
  "$build/bin/needapps $work/big.tex" \
  "grep -F -c \\bibliography $work/big.tex" \
  "$work/read_pieces $work/big.tex" \
  "cat $work/big.tex" > /dev/null 2>&1 || true

python3 - "$work/times.json" "$size_mb" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
mb = sys.argv[2]
scan, grep, read, cat = (r["median"] for r in results)
print(f"| needapps scan of a {mb} MB source | {scan*1000:.0f} ms | grep -F -c {grep*1000:.0f} ms | "
      f"{scan/grep:.2f}x grep (aim < 1.5x) | reading alone {read*1000:.0f} ms = {read/grep:.2f}x grep | "
      f"{scan/cat:.2f}x cat |")
# CPU time (user + system, means) is steadier than wall time on a busy machine.
cpu = [r["user"] + r["system"] for r in results]
print(f"| the same in CPU time | {cpu[0]*1000:.0f} ms | grep -F -c {cpu[1]*1000:.0f} ms | "
      f"{cpu[0]/cpu[1]:.2f}x grep | reading alone {cpu[2]*1000:.0f} ms = {cpu[2]/cpu[1]:.2f}x grep | "
      f"{cpu[0]/cpu[3]:.2f}x cat |")
PY

#!/usr/bin/env bash
# Start-up cost of each of the seven programs against /bin/true: each started
# without arguments (it checks them, reports and ends) in an empty registry,
# measured with hyperfine in one run. Prints table rows (bench/table.py);
# bench/run.sh puts them in its table, --header makes a table of its own.
#   bench/startup.sh <build dir> [--header]
set -euo pipefail
build=${1:?build dir}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/qbbench-XXXXXX)
trap 'rm -rf "$work"' EXIT
runs=${QUILLBAY_BENCH_STARTUP_RUNS:-100}

# An empty registry, Windows directory and working directory of their own:
# nothing a program writes on its usage path reaches the real ones.
export QUILLBAY_REGISTRY="$work/registry" QUILLBAY_WINDIR="$work/windows" QUILLBAY_CODEPAGE=1252
mkdir -p "$QUILLBAY_REGISTRY" "$QUILLBAY_WINDIR" "$work/cwd"
cd "$work/cwd"

[ "${2:-}" = "--header" ] && python3 "$here/table.py" header
for program in ravick logverdict needapps tavlet fmtmenu pathforms regpurge; do
  # -i: without arguments each program ends with its own failure code.
  hyperfine -N -i --warmup 5 --runs "$runs" --export-json "$work/$program.json" \
    "$build/bin/$program" "/bin/true" > /dev/null 2>&1
  python3 "$here/table.py" diff "$work/$program.json" 0 1 "start-up: $program, no arguments" -
done

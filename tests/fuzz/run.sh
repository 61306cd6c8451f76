#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one under both code
# pages for a fixed number of runs. Short in CI, long by hand:
#   tests/fuzz/run.sh [runs per target and code page] [build dir]
set -euo pipefail
runs=${1:-20000}
build=${2:-build/fuzz}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
cmake -S "$source_dir" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DQUILLBAY_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j2 > /dev/null
work=$(mktemp -d /tmp/qbfuzz-run-XXXXXX)
trap 'rm -rf "$work"' EXIT
failed=0
passed=0
for target in "$build"/bin/fuzz_*; do
  name=${target##*/fuzz_}
  for code_page in 932 1252; do
    corpus="$work/$name-$code_page"
    mkdir -p "$corpus"
    if QUILLBAY_CODEPAGE=$code_page "$target" -runs="$runs" -max_len=4096 \
         -artifact_prefix="$work/" "$corpus" "$source_dir/tests/fuzz/corpus/$name" \
         > "$work/$name-$code_page.log" 2>&1; then
      echo "fuzz $name (code page $code_page): $runs runs, no finding"
      passed=$((passed + 1))
    else
      echo "fuzz $name (code page $code_page): FINDING"
      grep -E "property failed|ERROR|SUMMARY" "$work/$name-$code_page.log" | head -5
      for crash in "$work"/crash-* "$work"/leak-* "$work"/timeout-*; do
        [ -e "$crash" ] && od -c "$crash" | head -8
      done
      failed=$((failed + 1))
    fi
  done
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/bin/bash
# The Debian pdftex for a Windows program under Wine: run as
#     wine_engine.sh <name> <engine arguments...>
# (by fake_engine's FAKE_ENGINE_PASS), it runs pdftex under <name> (latex
# loads the latex format) with every drive path (z:/..., Z:\...) turned into
# the Unix path it names: kpathsea cannot find itself from a Windows word 0,
# and pdftex cannot open a drive path. fake_engine.done in the current
# directory then tells fake_engine, which Wine does not let wait for a Unix
# program, that the run has ended.
name=$1
shift
args=()
for word in "$@"; do
  case "$word" in
    [zZ]:[\\/]*) word=$(printf '%s' "${word#??}" | tr '\\' '/') ;;
  esac
  args+=("$word")
done
(exec -a "$name" /usr/bin/pdftex "${args[@]}")
status=$?
: >fake_engine.done
exit $status

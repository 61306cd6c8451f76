#!/bin/bash
# A TeX engine as a Windows program started under Wine sees it: installed as
# <dir>/pdftex.exe or <dir>/latex.exe, it runs the Debian pdftex under the
# name it was installed as (so latex.exe loads the latex format) with every
# drive path (z:/..., Z:\...) turned into the Unix path it names. Wine starts
# Unix programs, but kpathsea cannot find itself from a Windows word 0 and
# cannot open a drive path.
name=$(basename "$0" .exe)
args=()
for word in "$@"; do
  case "$word" in
    [zZ]:[\\/]*) word=$(printf '%s' "${word#??}" | tr '\\' '/') ;;
  esac
  args+=("$word")
done
exec -a "$name" /usr/bin/pdftex "${args[@]}"

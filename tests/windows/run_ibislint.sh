#!/usr/bin/env bash
# Runs the Linux checker and, under Wine, the Windows checker over every
# .ibs, .pkg, .ebd and .ami file of the given directories, each file from its
# own directory with the same relative name, and compares their standard
# output and exit status byte for byte. A file in a subdirectory is also given
# to the Windows checker in the Windows form (backslashes): its output is then
# the Linux one with that directory's name in the Windows form. Every
# difference is listed; the exit status is 1 when there is any.
# usage: run_ibislint.sh OUTDIR LINUX_IBISLINT WINDOWS_IBISLINT_EXE DIR...
# QUENRIX_WINE and QUENRIX_WINESERVER name the Wine to use (default wine and
# wineserver).
set -uo pipefail
wine=${QUENRIX_WINE:-wine}
wineserver=${QUENRIX_WINESERVER:-wineserver}
out=$1 linux=$2 windows=$3
shift 3
rm -rf "$out"
mkdir -p "$out"

# One Wine server for all the runs, stopped at the end.
"$wineserver" -p -f >/dev/null 2>&1 &
trap '"$wineserver" -k 2>/dev/null || true' EXIT

checked=0 differ=0
for dir in "$@"; do
  [ -d "$dir" ] || continue
  while IFS= read -r rel; do
    key=$(printf '%s' "$(basename "$dir")/$rel" | tr '/' '_')
    (cd "$dir" && "$linux" -n -c "$rel" >"$out/$key.linux" 2>/dev/null; echo "exit $?" >>"$out/$key.linux")
    (cd "$dir" && "$wine" "$windows" -n -c "$rel" >"$out/$key.win" 2>/dev/null; echo "exit $?" >>"$out/$key.win")
    checked=$((checked + 1))
    if ! cmp -s "$out/$key.linux" "$out/$key.win"; then
      differ=$((differ + 1))
      echo "DIFFERS: $dir/$rel"
      diff "$out/$key.linux" "$out/$key.win" | head -20
    fi
    if [[ $rel == */* ]]; then
      dir_unix=${rel%/*}
      winrel=${rel//\//\\}
      (cd "$dir" && "$wine" "$windows" -n -c "$winrel" >"$out/$key.winsep" 2>/dev/null; echo "exit $?" >>"$out/$key.winsep")
      D=$dir_unix DW=${dir_unix//\//\\} perl -pe 's/\Q$ENV{D}\E\//$ENV{DW}\\/g' \
        "$out/$key.linux" >"$out/$key.winsep.expected"
      checked=$((checked + 1))
      if ! cmp -s "$out/$key.winsep.expected" "$out/$key.winsep"; then
        differ=$((differ + 1))
        echo "DIFFERS (Windows form $winrel): $dir/$rel"
        diff "$out/$key.winsep.expected" "$out/$key.winsep" | head -20
      fi
    fi
  done < <(cd "$dir" && find . -type f \( -name '*.ibs' -o -name '*.pkg' -o -name '*.ebd' -o -name '*.ami' \) \
             | sed 's|^\./||' | LC_ALL=C sort)
done
echo "$checked runs compared, $differ differ"
[ "$checked" -gt 0 ] && [ "$differ" -eq 0 ]

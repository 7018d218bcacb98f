#!/usr/bin/env bash
# Usage: check_exports.sh <nm> <readelf> <library> <name>...
# The library's dynamic symbol table defines exactly the given names (the
# linker's own _init, _fini, _edata, _end and __bss_start aside), each a
# function, and none of its dynamic relocations names one of them: such a
# relocation is a PLT or GOT slot that the dynamic linker would fill with the
# first definition of that name in the process, which need not be the
# library's own.
set -euo pipefail
nm_tool=$1
readelf_tool=$2
lib=$3
shift 3
name=$(basename "$lib")
expected=$(printf '%s\n' "$@" | sort -u)
table=$("$nm_tool" -D --defined-only "$lib")
exported=$(awk '{print $NF}' <<<"$table" |
           grep -vxE '_init|_fini|_edata|_end|__bss_start' | sort -u || true)
status=0
if [ "$exported" != "$expected" ]; then
  extra=$(comm -13 <(echo "$expected") <(echo "$exported"))
  missing=$(comm -23 <(echo "$expected") <(echo "$exported"))
  echo "$name exports $(echo "$exported" | grep -c . || true) names"
  [ -n "$missing" ] && echo "missing: $missing"
  [ -n "$extra" ] && echo "not to be exported ($(echo "$extra" | wc -l)):" && echo "$extra" | sed -n 1,20p
  status=1
fi
for n in "$@"; do
  if grep -q " $n\$" <<<"$table" && ! grep -qE "^[0-9a-f]+ T $n\$" <<<"$table"; then
    echo "$name exports $n, but not as a function: $(grep " $n\$" <<<"$table")"
    status=1
  fi
done
# readelf -rW: offset, info, type, symbol value, then "name + addend" (a
# versioned name carries @version).
relocated=$("$readelf_tool" -rW "$lib" |
            awk '$1 ~ /^[0-9a-f]+$/ && NF >= 7 && $(NF-1) == "+" {n = $(NF-2); sub(/@.*/, "", n); print n}' | sort -u)
interposable=$(comm -12 <(echo "$expected") <(echo "$relocated"))
if [ -n "$interposable" ]; then
  echo "$name reaches its own exports through dynamic relocations, which another" \
       "definition could fill: $(echo $interposable)"
  "$readelf_tool" -rW "$lib" | grep -wF -f <(echo "$interposable") | sed -n 1,10p
  status=1
fi
[ "$status" -eq 0 ] && echo "$name exports exactly, bound to its own: $(echo $expected)"
exit "$status"

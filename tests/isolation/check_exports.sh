#!/usr/bin/env bash
# Usage: check_exports.sh <nm> <library> <name>...
# The library's dynamic symbol table defines exactly the given names (the
# linker's own _init, _fini, _edata, _end and __bss_start aside), and the code
# generator's version record is still in the library, as a private function.
set -euo pipefail
nm_tool=$1
lib=$2
shift 2
expected=$(printf '%s\n' "$@" | sort -u)
exported=$("$nm_tool" -D --defined-only "$lib" | awk '{print $NF}' |
           grep -vxE '_init|_fini|_edata|_end|__bss_start' | sort -u || true)
status=0
if [ "$exported" != "$expected" ]; then
  extra=$(comm -13 <(echo "$expected") <(echo "$exported"))
  missing=$(comm -23 <(echo "$expected") <(echo "$exported"))
  echo "$(basename "$lib") exports $(echo "$exported" | grep -c . || true) names"
  [ -n "$missing" ] && echo "missing: $missing"
  [ -n "$extra" ] && echo "not to be exported ($(echo "$extra" | wc -l)):" && echo "$extra" | sed -n 1,20p
  status=1
fi
all=$("$nm_tool" -C "$lib")
if ! grep -qE ' t QuenrixCodeGen::version\(\)$' <<<"$all"; then
  echo "$(basename "$lib") lacks the private QuenrixCodeGen::version()"
  status=1
fi
[ "$status" -eq 0 ] && echo "$(basename "$lib") exports exactly: $(echo $expected)"
exit "$status"

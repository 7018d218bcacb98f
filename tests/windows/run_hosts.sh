#!/usr/bin/env bash
# Runs the hosts against the Linux libraries and, under Wine, against the
# Windows DLLs, and leaves every output in OUTDIR for the comparison tests:
#   <name>.linux.out/.err and <name>.win.out/.err
# usage: run_hosts.sh OUTDIR LINUX_AMI_DUMP LINUX_AMIHOST VESKARO_SO TOLVANE_SO
#                     LINUX_FILE_SERVICES WIN32_BUILD_DIR
# QUENRIX_WINE and QUENRIX_WINESERVER name the Wine to use (default wine and
# wineserver).
set -euo pipefail
wine=${QUENRIX_WINE:-wine}
wineserver=${QUENRIX_WINESERVER:-wineserver}
out=$1 dump=$2 host=$3 rx_so=$4 tx_so=$5 files=$6 win=$7
dlls=$win/models/windows
mkdir -p "$out"
rm -f "$out"/*.out "$out"/*.err

# The receiver drive of amihost: a short PRBS run in blocks, written exactly
# enough to compare.
host_args=(--bits 1200 --block 1000 --settle-bits 300)

"$dump" rx "$rx_so" >"$out/dump_rx.linux.out" 2>"$out/dump_rx.linux.err"
"$dump" tx "$tx_so" >"$out/dump_tx.linux.out" 2>"$out/dump_tx.linux.err"
"$host" --model "$rx_so" "${host_args[@]}" >"$out/host_rx.linux.out" 2>"$out/host_rx.linux.err"
"$host" --model "$tx_so" --params "(usb3_tx)" >"$out/host_tx.linux.out" 2>"$out/host_tx.linux.err"
rm -rf "$out/files.linux" "$out/files.win"
mkdir -p "$out/files.linux" "$out/files.win"
"$files" "$out/files.linux" >"$out/files.linux.out" 2>"$out/files.linux.err"

# One Wine server for all the Windows runs, stopped at the end.
"$wineserver" -p -f >/dev/null 2>&1 &
trap '"$wineserver" -k 2>/dev/null || true' EXIT
# Wine finds a DLL named without a path in the current directory.
cd "$dlls"
"$wine" "$win/tests/windows/driver/ami_dump.exe" rx Veskaro.dll >"$out/dump_rx.win.out" 2>"$out/dump_rx.win.err"
"$wine" "$win/tests/windows/driver/ami_dump.exe" tx Tolvane.dll >"$out/dump_tx.win.out" 2>"$out/dump_tx.win.err"
"$wine" "$win/tools/amihost/amihost.exe" --model Veskaro.dll "${host_args[@]}" \
  >"$out/host_rx.win.out" 2>"$out/host_rx.win.err"
"$wine" "$win/tools/amihost/amihost.exe" --model Tolvane.dll --params "(usb3_tx)" \
  >"$out/host_tx.win.out" 2>"$out/host_tx.win.err"
# The host's checks of its outputs, under the Windows rules for names: one
# file whatever the case of its name or the way its folder is written. Each
# is refused before anything is loaded; the status follows what it said.
: >"$out/host_refusals.win.out"
for refusal in "--wave-csv veskaro.DLL" "--clock-csv .\\Veskaro.dll" \
               "--wave-csv a.csv --clock-csv .\\A.CSV" "--impulse-csv absent\\i.csv" \
               "--clock-csv ..\\..\\tools\\amihost\\amihost.exe"; do
  status=0
  # shellcheck disable=SC2086 # each refusal is its words
  "$wine" "$win/tools/amihost/amihost.exe" --model Veskaro.dll $refusal \
    >>"$out/host_refusals.win.out" 2>&1 || status=$?
  echo "exit $status" >>"$out/host_refusals.win.out"
done
# A module the process has loaded that opens for writing (a DLL of Wine's,
# which maps its own code): refused once the libraries are loaded, and left
# as it was.
system_dll="${WINEPREFIX:-$HOME/.wine}/drive_c/windows/system32/kernel32.dll"
cp "$system_dll" "$out/kernel32.dll.before"
status=0
"$wine" "$win/tools/amihost/amihost.exe" --model Veskaro.dll \
  --wave-csv 'C:\windows\system32\kernel32.dll' >"$out/host_loaded.win.out" 2>&1 || status=$?
echo "exit $status" >>"$out/host_loaded.win.out"
if cmp -s "$system_dll" "$out/kernel32.dll.before"; then
  echo "kernel32.dll unchanged" >>"$out/host_loaded.win.out"
else
  echo "kernel32.dll changed" >>"$out/host_loaded.win.out"
  cp "$out/kernel32.dll.before" "$system_dll"
fi
# The file services take the Windows form of the work directory (Wine's Z:
# drive is the Unix root).
windir="Z:$(printf '%s' "$out/files.win" | tr '/' '\\')"
"$wine" "$win/tests/windows/driver/file_services.exe" "$windir" \
  >"$out/files.win.out" 2>"$out/files.win.err"
echo "host outputs written to $out"

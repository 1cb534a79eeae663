#!/usr/bin/env bash
# For each pair of Tolvane.exe and KvSlider.dll built for one architecture:
# every host function is exported by the exe undecorated, and every name the
# plug-in imports from Tolvane.exe is among them. A stdcall name mismatch shows
# here by name, before any end-to-end run fails to load the DLL.
#   check_exports.sh EXE DLL [EXE DLL ...]
set -u
status=0
host_functions="GetKvWnd GetTolvanePath FileExists stylePath ReadInt ReadBool ReadString ReadColor
WriteInt WriteBool WriteString ParseItem MakeGradient MakeMenu MakeSubmenu MakeMenuItem MakeMenuNOP
ShowMenu DelMenu MakeSticky RemoveSticky SnapWindowToEdge"
while [ $# -ge 2 ]; do
  exe=$1 dll=$2; shift 2
  [ -f "$exe" ] && [ -f "$dll" ] || { echo "missing: $exe or $dll"; status=1; continue; }
  exports=$(x86_64-w64-mingw32-objdump -p "$exe" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk 'NF>=2 {print $NF}' | grep -v Table)
  for name in $host_functions; do
    printf '%s\n' "$exports" | grep -qx "$name" || { echo "$exe: $name not exported"; status=1; }
  done
  # The import names listed under Tolvane.exe's entry in the DLL's import table.
  imports=$(x86_64-w64-mingw32-objdump -p "$dll" |
    awk '/DLL Name:/ {inside = (tolower($3) == "tolvane.exe"); next}
         /^[[:space:]]*$/ {inside = 0}
         inside && NF == 3 && $2 ~ /^[0-9]+$/ {print $3}')
  [ -n "$imports" ] || { echo "$dll: no imports from Tolvane.exe found"; status=1; }
  for name in $imports; do
    printf '%s\n' "$exports" | grep -qx "$name" || { echo "$dll imports $name, $exe lacks it"; status=1; }
  done
  echo "$exe: $(stat -c %s "$exe") bytes, $(printf '%s\n' "$exports" | wc -l) exports; $dll uses $(printf '%s\n' "$imports" | wc -w)"
done
exit $status

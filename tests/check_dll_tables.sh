#!/usr/bin/env bash
# Checks each built KvSlider.dll: the three entry points exported undecorated,
# and imports only from the system (ole32 for Core Audio, oleacc and oleaut32 for
# screen readers), the C runtime and the host.
set -u
status=0
for dll in "$@"; do
  if [ ! -f "$dll" ]; then echo "missing: $dll"; status=1; continue; fi
  table=$(x86_64-w64-mingw32-objdump -p "$dll") || { echo "unreadable: $dll"; status=1; continue; }
  exports=$(printf '%s\n' "$table" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk 'NF>=2 {print $NF}' | grep -v Table)
  for name in beginPlugin endPlugin pluginInfo; do
    printf '%s\n' "$exports" | grep -qx "$name" || { echo "$dll: $name not exported undecorated"; status=1; }
  done
  imports=$(printf '%s\n' "$table" | awk '/DLL Name:/ {print $3}')
  while read -r lib; do
    [ -z "$lib" ] && continue
    case "$(printf '%s' "$lib" | tr 'A-Z' 'a-z')" in
      kernel32.dll|user32.dll|gdi32.dll|winmm.dll|comctl32.dll|ole32.dll|oleacc.dll|oleaut32.dll|msvcrt.dll|api-ms-win-crt-*|ucrtbase.dll|tolvane.exe) ;;
      *) echo "$dll: unexpected import $lib"; status=1 ;;
    esac
  done <<< "$imports"
  printf '%s\n' "$imports" | grep -qix 'tolvane.exe' || { echo "$dll: does not import from Tolvane.exe"; status=1; }
  echo "$dll: $(stat -c %s "$dll") bytes; imports: $(printf '%s ' $imports)"
done
exit $status

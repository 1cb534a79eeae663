#!/usr/bin/env bash
# Runs one end-to-end scenario: a fresh folder with Tolvane.exe, the real
# KvSlider.dll and the styles, then `Tolvane.exe --script SCENARIO` under wine.
#   run.sh WINE_RUN TOLVANE_EXE PLUGIN_DLL STYLES_DIR SCENARIO WORK_DIR
# Directives in the scenario (comment lines, ignored by the host):
#   #rc: LINE               a line of Tolvane.rc (default: the plug-in and nightfall.style)
#   #file: NAME LINE        a line appended to file NAME in the folder before the start
#   #expect-output: REGEX   the host's output must match (grep -E)
#   #expect-exit: N         the first run's exit code (default 0): a scenario
#                           that is meant to fail says so here
#   #after: STEP            a step of a second run without plug-ins, after the first
#                           has quit (e.g. to read back the settings the plug-in wrote)
#   #restart: STEP          a step of a last run with the same plug-ins and style,
#                           after the others (e.g. to see what the settings restore)
set -uo pipefail
wine_run=$1 exe=$2 dll=$3 styles=$4 scenario=$5 work=$6

rm -rf "$work" && mkdir -p "$work" || exit 1
cp "$exe" "$dll" "$work/" && cp -r "$styles" "$work/styles" || exit 1
cp "$scenario" "$work/scenario.script"

rc=$(sed -n 's/^#rc: //p' "$scenario")
[ -n "$rc" ] || rc=$'tolvane.plugin: KvSlider.dll\ntolvane.style: styles\\nightfall.style'
printf '%s\n' "$rc" >"$work/Tolvane.rc"
sed -n 's/^#file: //p' "$scenario" | while read -r name line; do
  printf '%s\n' "$line" >>"$work/$name"
done

cd "$work" || exit 1
timeout 120 "$wine_run" Tolvane.exe --script scenario.script </dev/null 2>&1 | tee output.log
status=${PIPESTATUS[0]}
want=$(sed -n 's/^#expect-exit: //p' "$scenario")
[ "$status" -eq "${want:-0}" ] ||
  { echo "e2e: Tolvane.exe exited with $status, not ${want:-0}"; exit 1; }

failed=0
while IFS= read -r regex; do
  if grep -Eq -- "$regex" output.log; then echo "e2e: output has /$regex/"
  else echo "e2e: output lacks /$regex/"; failed=1; fi
done < <(sed -n 's/^#expect-output: //p' "$scenario")

if grep -q '^#after: ' "$scenario"; then
  sed -n 's/^#after: //p' "$scenario" >after.script
  echo quit >>after.script
  : >after.rc
  echo "e2e: after the first run"
  timeout 60 "$wine_run" Tolvane.exe --rc after.rc --script after.script </dev/null 2>&1 | tee after.log
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
fi

if grep -q '^#restart: ' "$scenario"; then
  sed -n 's/^#restart: //p' "$scenario" >restart.script
  echo quit >>restart.script
  echo "e2e: restarted"
  timeout 120 "$wine_run" Tolvane.exe --script restart.script </dev/null 2>&1 | tee restart.log
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
fi
exit $failed

# Sourced by scripts/test, scripts/demo and scripts/bench: a private display,
# wine prefix, persistent wineserver and PulseAudio server for this checkout,
# torn down by kv_env_stop (only the processes started here).
KV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KV_RUN=$KV_ROOT/build/run
export WINEPREFIX=$KV_ROOT/build/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
kv_pids=()

# Some x86_64 kernels and VMs refuse 32-bit programs altogether ("Exec format
# error", even from /lib/ld-linux.so.2), and Debian's `wine` is the 32-bit
# loader once wine32 is installed: there everything must go through wine64.
# Only running the 32-bit loader tells; KV_NO_32BIT=1 asks for the 64-bit-only
# way anyway. The answer is exported as KV_NO_32BIT (0 or 1) with the loader
# to use as KV_WINE, so scripts/test, its children and cmake/wine-run agree.
kv_decide_32bit() {
  local why
  if [ "${KV_NO_32BIT:-}" = 1 ]; then
    why="KV_NO_32BIT=1"
  elif why=$(/usr/lib/wine/wine --version 2>&1 >/dev/null); then
    export KV_NO_32BIT=0 KV_WINE=wine
    return 0
  else
    why=$(printf '%s' "${why:-/usr/lib/wine/wine failed}" | head -n1)
  fi
  export KV_NO_32BIT=1 KV_WINE=/usr/lib/wine/wine64
  echo "env: 32-bit programs do not run here ($why): wine runs with its 64-bit loader only"
}
kv_decide_32bit

kv_start_display() {
  if [ -n "${KV_KEEP_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
  mkdir -p "$KV_RUN"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$KV_RUN/display" 2>/dev/null &
  kv_pids+=($!)
  for _ in $(seq 100); do [ -s "$KV_RUN/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$KV_RUN/display")"
}

# What a prefix depends on: wine's version, which of its loaders (32-bit,
# 64-bit) are installed and which one made it. A prefix made before the 32-bit
# half was added cannot start anything afterwards ("could not load
# kernel32.dll"), and one made by wine64 alone lacks the 32-bit half's setup.
kv_wine_installation() {
  "$KV_WINE" --version 2>/dev/null || echo "no wine"
  echo "made with $KV_WINE"
  dpkg-query -W -f='${db:Status-Abbrev}${binary:Package} ${Version}\n' wine32 wine64 2>/dev/null |
    sed -n 's/^ii *//p'
}

kv_start_wine() {
  mkdir -p "$KV_RUN"
  local installation
  installation=$(kv_wine_installation)
  if [ "$(cat "$WINEPREFIX/.kv-ready" 2>/dev/null)" != "$installation" ]; then
    if [ -f "$WINEPREFIX/.kv-ready" ]; then
      echo "env: the wine installation or loader changed; making the wine prefix anew"
    else
      echo "env: creating wine prefix (once)"
    fi
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    if ! "$KV_WINE" wineboot -i </dev/null >/dev/null 2>&1; then
      echo "env: $KV_WINE could not make its prefix in $WINEPREFIX"
      return 1
    fi
    "$KV_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$KV_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    "$KV_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    printf '%s\n' "$installation" >"$WINEPREFIX/.kv-ready"
  fi
  wineserver -p &
  kv_pids+=($!)
  "$KV_WINE" wineboot </dev/null >/dev/null 2>&1 || true
}

# Keeps wine's desktop open until kv_env_stop with a program that holds one
# hidden window (tests/desktop_keeper.cpp): without one, every wine process
# that opens a window after a pause waits about a second for a new desktop.
# Returns once the desktop is there: a program started while it is still
# being made may get no windows at all.
kv_keep_desktop() {
  local ready=$KV_RUN/desktop-ready
  rm -f "$ready"
  "$KV_ROOT/cmake/wine-run" "$1" "Z:$ready" </dev/null >/dev/null 2>&1 &
  kv_pids+=($!)
  for _ in $(seq 600); do [ -e "$ready" ] && return 0; sleep 0.1; done
  echo "env: wine's desktop did not come up within 60 s"
}

kv_start_pulse() {
  export XDG_RUNTIME_DIR=$KV_RUN/xdg
  export PULSE_RUNTIME_PATH=$XDG_RUNTIME_DIR/pulse
  mkdir -p "$PULSE_RUNTIME_PATH" && chmod 700 "$XDG_RUNTIME_DIR"
  if pactl info >/dev/null 2>&1; then return 0; fi
  HOME=$KV_RUN pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
    --use-pid-file=no -L module-native-protocol-unix -L module-null-sink \
    >"$KV_RUN/pulse.log" 2>&1 &
  kv_pids+=($!)
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
}

kv_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  for pid in "${kv_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}

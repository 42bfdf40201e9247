#!/usr/bin/env bash
# Installs what is missing, builds the shipped 32-bit program and starts it under Wine.
# Without a display it starts a virtual one, takes a screenshot of the main window,
# says where it is, and closes the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/deps.sh
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j"$(nproc)" --target pelvor
exe="$root/build/win32/pelvor.exe"

# shellcheck source=display.sh
source scripts/display.sh
had_display=""
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then had_display=1; fi
start_display
prepare_prefix "$root/build/wineprefix-run"

if [ -n "$had_display" ]; then
  exec wine "$exe" "$@"
fi

trap stop_display EXIT
wine "$exe" "$@" &
pid=$!
window=""
for _ in $(seq 1 300); do
  window=$(xwininfo -root -tree 2>/dev/null | grep -F 'Редактор сценария' | awk '{print $1}' | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
mkdir -p "$root/screenshots"
shot="$root/screenshots/main-window.png"
if [ -z "$window" ]; then
  echo "the main window did not appear" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
fi
sleep 1
import -window "$window" "$shot"
echo "The editor ran on a virtual display; screenshot of its main window: $shot"
# Nobody can use a virtual display: close the program (and its prefix's wineserver).
wineserver -k >/dev/null 2>&1 || true
wait "$pid" 2>/dev/null || true

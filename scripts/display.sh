# Sourced by the run and test scripts: a virtual display when there is none, the Wine
# prefix with a persistent wineserver, and stop_display to end both.
pelvor_started_xvfb=""
start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  pelvor_started_xvfb=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}
stop_display() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$pelvor_started_xvfb" ]; then
    kill "$pelvor_started_xvfb" 2>/dev/null || true
    wait "$pelvor_started_xvfb" 2>/dev/null || true
    pelvor_started_xvfb=""
  fi
}
# Creates the Wine prefix once and pins its look: no visual style, so screenshots and
# control metrics do not depend on the theme a fresh prefix picks. One persistent
# wineserver serves the whole run, and the prefix's own services are started here with
# no output attached: started later by a test they would hold its output open (and ctest
# waiting) for as long as the server lives.
prepare_prefix() {
  export WINEPREFIX="$1" WINEDEBUG=-all LANG=ru_RU.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' \
      /v ThemeActive /t REG_SZ /d 0 /f </dev/null >/dev/null 2>&1
  else
    wineboot </dev/null >/dev/null 2>&1
  fi
}
# For the tests: Wine keeps its windows' states (maximised, minimised) itself instead of
# asking a window manager. The virtual display has none, and a maximise asked of an
# absent manager is undone a moment later. Set on every run, as the prefix persists.
unmanaged_windows() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
}

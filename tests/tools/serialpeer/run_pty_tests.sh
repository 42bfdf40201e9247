#!/usr/bin/env bash
# Runs a Windows test program of this build under Wine against serial lines made of
# pseudo-terminals. socat makes a pty pair per line; one end becomes a COM port of the
# Wine prefix (a symlink in its dosdevices folder), the test peer answers on the other:
#   COM21  echo line          COM22  burst line (sio_peer)
#   COM23  no such port       COM24  a port whose open is refused (a folder)
# With --preload LIB the Wine process gets the library that makes a pty answer the
# modem-line requests like a null-modem cable; without it the driver refuses modem and
# line events, as some USB adapters do. (Wine's 32-bit launcher, which starts first,
# cannot load the 64-bit library and says so; the 64-bit process it starts loads it.)
#
# usage: run_pty_tests.sh WINE_RUN PREFIX PEER [--preload LIB] -- PROGRAM [ARGS...]
set -u
wine_run=$1 prefix=$2 peer=$3
shift 3
preload=""
if [ "${1:-}" = "--preload" ]; then
  preload=$2
  shift 2
fi
[ "${1:-}" = "--" ] && shift

work=$(mktemp -d)
pids=()
links=()
cleanup() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  for link in "${links[@]}"; do
    rm -f "$link"
  done
  rm -rf "$work"
}
trap cleanup EXIT

for n in 21 22; do
  socat "pty,raw,echo=0,link=$work/com$n" "pty,raw,echo=0,link=$work/peer$n" 2>"$work/socat$n.err" &
  pids+=($!)
done
for _ in $(seq 1 100); do
  [ -e "$work/com21" ] && [ -e "$work/peer21" ] && [ -e "$work/com22" ] && [ -e "$work/peer22" ] && break
  sleep 0.05
done

"$peer" --echo "$work/peer21" --burst "$work/peer22" >"$work/peer.out" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do
  grep -q ready "$work/peer.out" 2>/dev/null && break
  sleep 0.05
done
if ! grep -q ready "$work/peer.out"; then
  echo "run_pty_tests: the test peer did not start:" >&2
  cat "$work/peer.out" "$work"/socat*.err >&2
  exit 1
fi

mkdir -p "$prefix/dosdevices" "$work/busy"
for n in 21 22; do
  ln -sfn "$work/com$n" "$prefix/dosdevices/com$n"
  links+=("$prefix/dosdevices/com$n")
done
rm -f "$prefix/dosdevices/com23"
ln -sfn "$work/busy" "$prefix/dosdevices/com24"
links+=("$prefix/dosdevices/com24")

if [ -n "$preload" ]; then
  LD_PRELOAD="$preload" "$wine_run" "$@"
else
  "$wine_run" "$@"
fi
status=$?
exit $status

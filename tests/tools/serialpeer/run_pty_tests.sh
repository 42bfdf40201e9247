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

# shellcheck source=pty_lines.sh
source "$(dirname "$0")/pty_lines.sh"
for n in 21 22; do
  start_line $n peer
done
if ! wait_for "$work/com21" "$work/peer21" "$work/com22" "$work/peer22"; then
  echo "run_pty_tests: the lines did not come up:" >&2
  cat "$work"/socat*.err >&2
  exit 1
fi

"$peer" --echo "$work/peer21" --burst "$work/peer22" >"$work/peer.out" 2>&1 &
pids+=($!)
if ! wait_ready "$work/peer.out"; then
  echo "run_pty_tests: the test peer did not start:" >&2
  cat "$work/peer.out" "$work"/socat*.err >&2
  exit 1
fi

mkdir -p "$prefix/dosdevices" "$work/busy"
for n in 21 22; do
  link_port "$prefix" $n
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

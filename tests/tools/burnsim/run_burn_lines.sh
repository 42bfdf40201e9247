#!/usr/bin/env bash
# Runs a Windows test program of this build under Wine with simulated controllers on
# serial lines. Each line is a socat pty pair: one end becomes a COM port of the Wine
# prefix (a symlink in its dosdevices folder), burnsim answers on the other end with the
# options below and stores what it was sent in $BURN_STORE/comNN. The Wine process gets
# the library that makes a pty answer the modem-line requests like a null-modem cable.
#
#   COM31  firmware type M, 16 KiB flash, 1 KiB boot-loader, 512 bytes EEPROM, paced at 38400
#   COM32  the same, with a rejected flash frame and EEPROM byte and a split size reply
#   COM33  a controller of type N
#   COM34  silent
#   COM35  never answers its second flash frame
#   COM36  keeps 5120 bytes of firmware, paced (the real program, one range, timing)
#   COM37  keeps 2048 bytes of firmware, rejects a flash frame (the real program, two ranges)
#   COM38  keeps 4096 bytes of firmware in 8 KiB of flash (the real program, too long a scenario)
#   COM40  holds its answer to the second flash frame until the test lets it go (the
#          time-out box ended by the answer); once let go, it holds nothing more
#   COM49  no such port
#
# usage: run_burn_lines.sh WINE_RUN PREFIX BURNSIM PTYMODEM -- PROGRAM [ARGS...]
set -u
wine_run=$1 prefix=$2 burnsim=$3 preload=$4
shift 4
[ "${1:-}" = "--" ] && shift

lines=(
  "31|--paced"
  "32|--reject-flash 3 --reject-eeprom 2 --split-size 30"
  "33|--type N"
  "34|--silent"
  "35|--drop-flash 1"
  "36|--paced --kept 5120"
  "37|--kept 2048 --reject-flash 2"
  "38|--kept 4096 --flash 8192"
  "40|--hold-flash 1"
)

# shellcheck source=../serialpeer/pty_lines.sh
source "$(dirname "$0")/../serialpeer/pty_lines.sh"
for line in "${lines[@]}"; do
  start_line "${line%%|*}" sim
done
for line in "${lines[@]}"; do
  n=${line%%|*}
  if ! wait_for "$work/com$n" "$work/sim$n"; then
    echo "run_burn_lines: line COM$n did not come up:" >&2
    cat "$work/socat$n.err" >&2
    exit 1
  fi
  mkdir -p "$work/store/com$n"
  # shellcheck disable=SC2086
  "$burnsim" "$work/sim$n" --store "$work/store/com$n" ${line#*|} >"$work/burnsim$n.out" 2>"$work/burnsim$n.err" &
  pids+=($!)
done
for line in "${lines[@]}"; do
  n=${line%%|*}
  if ! wait_ready "$work/burnsim$n.out"; then
    echo "run_burn_lines: the simulator on COM$n did not start:" >&2
    cat "$work/burnsim$n.err" "$work/socat$n.err" >&2
    exit 1
  fi
done

for line in "${lines[@]}"; do
  link_port "$prefix" "${line%%|*}"
done
rm -f "$prefix/dosdevices/com49"

export BURN_STORE="$work/store"
LD_PRELOAD="$preload" "$wine_run" "$@"
status=$?
# Each simulator says what it got when it stops.
stop_processes
for line in "${lines[@]}"; do
  n=${line%%|*}
  sed "s/^/COM$n: /" "$work/burnsim$n.err"
done
exit $status

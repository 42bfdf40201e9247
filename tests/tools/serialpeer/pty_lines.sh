# Sourced by the runners that give a Wine test program serial lines made of
# pseudo-terminals: a scratch folder, the processes started and the COM ports linked into
# the prefix, all removed when the runner exits.
work=$(mktemp -d)
pids=()
links=()
stop_processes() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  pids=()
}
cleanup() {
  stop_processes
  for link in "${links[@]}"; do
    rm -f "$link"
  done
  rm -rf "$work"
}
trap cleanup EXIT

# start_line N SIDE: a socat pty pair; $work/comN becomes the port, $work/SIDEN the other end.
start_line() {
  socat "pty,raw,echo=0,link=$work/com$1" "pty,raw,echo=0,link=$work/$2$1" 2>"$work/socat$1.err" &
  pids+=($!)
}

# wait_for FILE...: until every file exists, 30 s at most (a loaded machine starts socat
# late); false when one does not.
wait_for() {
  local file missing
  for _ in $(seq 1 600); do
    missing=""
    for file in "$@"; do
      [ -e "$file" ] || missing=1
    done
    [ -z "$missing" ] && return 0
    sleep 0.05
  done
  return 1
}

# link_port PREFIX N: the prefix's COMN is the end $work/comN of a line.
link_port() {
  mkdir -p "$1/dosdevices"
  ln -sfn "$work/com$2" "$1/dosdevices/com$2"
  links+=("$1/dosdevices/com$2")
}

# wait_ready FILE: until a peer started on a line has said "ready" in FILE, 30 s at most.
wait_ready() {
  for _ in $(seq 1 600); do
    grep -q ready "$1" 2>/dev/null && return 0
    sleep 0.05
  done
  return 1
}

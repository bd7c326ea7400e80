# Sourced by the whole-program test scripts: a scratch folder in $work and
# one Python test server on loopback at a time, removed and stopped on exit.
#   start_server SCRIPT ARGS...  starts it and points MIRAVEL_GATEWAY_HOST at it
#   stop_server
work="$(mktemp -d)"
server_pid=""

cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

start_server() {
  python3 -u "$@" >"$work/server.out" 2>/dev/null &
  server_pid=$!
  for _ in $(seq 100); do grep -q '^PORT ' "$work/server.out" && break; sleep 0.1; done
  export MIRAVEL_GATEWAY_HOST="127.0.0.1:$(awk '/^PORT /{print $2; exit}' "$work/server.out")"
}

stop_server() {
  kill "$server_pid" 2>/dev/null
  wait "$server_pid" 2>/dev/null
  server_pid=""
}

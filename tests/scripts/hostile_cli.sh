#!/usr/bin/env bash
# `miravel convert` against a hostile gateway (tests/http/hostile_server.py):
# for every misbehaviour the program ends in bounded time, prints one clear
# line on standard error and exits 1, or, where the answer still frames a
# password, prints it and exits 0. Also batch lines of 10 MiB, lone GBK lead
# bytes and characters GBK cannot hold.
#   tests/scripts/hostile_cli.sh BUILD_DIR
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
program="$(cd "$1" && pwd)/miravel"
failures=0
source "$root/tests/scripts/lib/local_server.bash"

fail() {
  echo "FAIL $1" >&2
  for file in out err; do
    [ -s "$work/$file" ] && { echo "  --- std$file:" >&2; head -c 600 "$work/$file" | sed 's/^/  /' >&2; echo >&2; }
  done
  failures=$((failures + 1))
}

# expect NAME STATUS WHY STDOUT: bounded by `timeout`; when it fails, one line
# on stderr that contains WHY.
expect() {
  local name="$1" want_status="$2" why="$3" want_out="${4:-}"
  if [ "$status" = 124 ]; then fail "$name: did not end"; return; fi
  if [ "$status" != "$want_status" ]; then fail "$name: exit $status, expected $want_status"; return; fi
  if [ "$(cat "$work/out")" != "$want_out" ]; then fail "$name: standard output"; return; fi
  if [ "$want_status" = 1 ] && [ "$(wc -l <"$work/err")" != 1 ]; then fail "$name: not one line on stderr"; return; fi
  if [ "$want_status" = 1 ] && ! grep -qF -- "$why" "$work/err"; then fail "$name: stderr does not say '$why'"; return; fi
  echo "ok   $name"
}

item="https://item.taobao.com/item.htm?id=612345678901"

# Hostile gateways. "silent" waits out the stall time-out twice (warm-up and
# conversion), so it takes about a minute.
while IFS='|' read -r mode want_status why want_out; do
  start_server "$root/tests/http/hostile_server.py" "$mode"
  timeout 150 "$program" convert --title t "$item" >"$work/out" 2>"$work/err"
  status=$?
  expect "convert against $mode" "$want_status" "$why" "$want_out"
  stop_server
done <<'MODES'
huge-headers|1|response headers
many-cookies|1|no share password
redirect-loop|1|redirects
endless-body|1|64 MiB
reset-mid-body|1|reset by peer
invalid-utf8|0||￥AB￥
zero-bytes|1|no share password
big-cookie|1|no share password
non-ascii-cookie|1|no share password
silent|1|
MODES

# Bad input at the edge, against the well-behaved local gateway.
start_server "$root/tests/services/fake_gateway.py"
big="$(head -c 10485760 /dev/zero | tr '\0' 'a')"

printf 'https://item.taobao.com/item.htm?id=%s\tbig title\n' "$big" >"$work/batch"
timeout 120 "$program" convert --batch "$work/batch" >"$work/out" 2>"$work/err"
status=$?
if [ "$status" = 1 ] && [ "$(wc -l <"$work/out")" = 1 ]; then echo "ok   batch line of 10 MiB fails alone"; else fail "batch line of 10 MiB (exit $status)"; fi

printf '%s\tsmall\n' "$item" >"$work/batch"
printf '%s\t%s\n' "$item" "$big" >>"$work/batch"
printf '%s\tafter\n' "$item" >>"$work/batch"
timeout 120 "$program" convert --batch "$work/batch" >"$work/out" 2>"$work/err"
status=$?
passwords="$(cut -f3 "$work/out" | grep -c '￥')"
if [ "$(wc -l <"$work/out")" = 3 ] && [ "$passwords" -ge 2 ]; then
  echo "ok   a 10 MiB title does not stop the batch"
else
  fail "10 MiB title in a batch (exit $status, $passwords passwords)"
fi

# A character GBK cannot hold (an emoji) becomes "?"; the conversion still runs.
timeout 60 "$program" convert --title "好物😀推荐" "$item" >"$work/out" 2>"$work/err"
status=$?
if [ "$status" = 0 ] && grep -qxE '￥[^￥]+￥' "$work/out"; then echo "ok   emoji in the title"; else fail "emoji in the title (exit $status)"; fi

# Invalid UTF-8 on the command line (a lone GBK lead byte) is not a crash.
timeout 60 "$program" convert --title $'\xb0' "$item" >"$work/out" 2>"$work/err"
status=$?
if [ "$status" = 0 ] || [ "$status" = 1 ]; then echo "ok   lone lead byte in the title (exit $status)"; else fail "lone lead byte in the title (exit $status)"; fi

timeout 60 "$program" merge --item $'https://a/?id=123456789012\xb0' --coupon $'activityId=0123456789abcdef0123456789ABCDEF\xa1' --pid $'\xb0' >"$work/out" 2>"$work/err"
status=$?
if [ "$status" = 0 ] && grep -q 'activityId=0123456789abcdef0123456789ABCDEF&itemId=123456789012' "$work/out"; then
  echo "ok   merge with lone lead bytes"
else
  fail "merge with lone lead bytes (exit $status)"
fi
stop_server

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all hostile command-line checks passed"

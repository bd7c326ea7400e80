#!/usr/bin/env bash
# The command line of build/miravel against the local gateway: convert,
# batch (a token expiring mid-batch, failing lines), merge, usage errors.
#   tests/scripts/cli.sh BUILD_DIR
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
program="$(cd "$1" && pwd)/miravel"
failures=0
source "$root/tests/scripts/lib/local_server.bash"

check() {  # check NAME CONDITION...
  local name="$1"
  shift
  if "$@"; then
    echo "ok   $name"
  else
    echo "FAIL $name" >&2
    for file in out err; do
      [ -s "$work/$file" ] && { echo "  --- std$file:" >&2; sed 's/^/  /' "$work/$file" >&2; }
    done
    failures=$((failures + 1))
  fi
}

start_gateway() { start_server "$root/tests/services/fake_gateway.py" "$@"; }
stop_gateway() { stop_server; }
control() { curl -s "http://$MIRAVEL_GATEWAY_HOST/_fake/$1"; }
stat() { control stats | python3 -c "import json,sys; print(json.load(sys.stdin)['$1'])"; }

# run ARGS...: the program's exit status in $status, its output in out/err.
run() {
  "$program" "$@" >"$work/out" 2>"$work/err"
  status=$?
}
lines() { wc -l <"$work/$1" | tr -d ' '; }
starts_with() { [[ "$1" == "$2"* ]]; }
is_password() { grep -qxE '￥[^￥]+￥' <<<"$1"; }

item="https://item.taobao.com/item.htm?id=612345678901"
item2="https://detail.tmall.com/item.htm?id=623456789012"
activity="0123456789abcdef0123456789ABCDEF"
coupon="https://uland.taobao.com/quan/detail?activityId=$activity"

# --- help, version, usage errors, no display --------------------------------
run --help
check "--help prints the usage and exits 0" test "$status" = 0 -a -s "$work/out" -a ! -s "$work/err"
grep -q 'convert --batch' "$work/out"; check "--help names the batch form" test $? = 0
run --version
check "--version" grep -qxE 'miravel [0-9]+\.[0-9]+\.[0-9]+' "$work/out"

for args in "frobnicate" "--verbose" "convert" "convert a b" "convert --batch f u" \
            "convert u --title" "merge --item x" "merge --coupon y" "merge --item x --coupon y z"; do
  # shellcheck disable=SC2086
  run $args
  check "usage error exits 2 with one line: $args" \
    test "$status" = 2 -a "$(lines err)" = 1 -a ! -s "$work/out"
done
run convert --batch "$work/no-such-file"
check "a missing batch file is named" test "$status" = 2 -a "$(lines err)" = 1
grep -q 'no-such-file' "$work/err"; check "... in the message" test $? = 0

env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >"$work/out" 2>"$work/err"
status=$?
check "no display: exit 2, one line pointing to the command line" \
  test "$status" = 2 -a "$(lines err)" = 1 -a ! -s "$work/out"
grep -q -- '--help' "$work/err"; check "... naming --help" test $? = 0
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:987 "$program" >"$work/out" 2>"$work/err"
status=$?
check "an X display that does not answer: exit 2, one line, no toolkit abort" \
  test "$status" = 2 -a "$(lines err)" = 1 -a ! -s "$work/out"

# --- merge (no gateway needed) ----------------------------------------------
run merge --item "$item" --coupon "$coupon" --pid mm_1_2_3 --force-targeting
check "merge prints the composed link" test "$status" = 0 -a ! -s "$work/err" -a \
  "$(cat "$work/out")" = "http://uland.taobao.com/coupon/edetail?activityId=$activity&itemId=612345678901&src=czhk_cztkl&pid=mm_1_2_3&dx=1"
run merge --item "https://item.taobao.com/item.htm?id=612345678901" --coupon "https://uland.taobao.com/quan"
check "merge without an activity id exits 1" test "$status" = 1 -a "$(lines out)" = 1
grep -q 'activity id' "$work/err" && ! grep -q 'item id' "$work/err"
check "... and says the activity id is missing" test $? = 0
run merge --item "https://item.taobao.com/item.htm" --coupon "$coupon"
check "merge without an item id exits 1" test "$status" = 1
grep -q 'item id' "$work/err" && ! grep -q 'activity id' "$work/err"
check "... and says the item id is missing" test $? = 0

# --- convert ----------------------------------------------------------------
start_gateway
run convert --title "测试标题 \"x\"" "$item"
check "convert prints the share password" test "$status" = 0 -a "$(lines out)" = 1 -a ! -s "$work/err"
check "... which looks like one" is_password "$(cat "$work/out")"
check "... for the title sent as UTF-8" test "$(control last-title)" = "测试标题 \"x\""
check "... after one warm-up" test "$(stat warmups)" = 1

run convert --title "新款😀" "$item"
check "a title with characters outside GBK converts, with a warning" \
  test "$status" = 0 -a "$(lines out)" = 1 -a "$(lines err)" = 1
grep -q 'outside GBK' "$work/err"; check "... that says so" test $? = 0
title_sent="$(control last-title)"
check "... and the title goes out with \"?\" for them" starts_with "$title_sent" "新款?"

control "answer?mode=none" >/dev/null
run convert "$item"
check "no password in the answer: exit 1, nothing on stdout, one line why" \
  test "$status" = 1 -a ! -s "$work/out" -a "$(lines err)" = 1
control "answer?mode=normal" >/dev/null

# --- batch ------------------------------------------------------------------
control reset >/dev/null
printf '%s\n%s\t%s\r\n\n%s' "$item" "$item2" "标题" "$item" >"$work/batch.tsv"
run convert --batch "$work/batch.tsv"
check "batch: one output line per input line" test "$(lines out)" = 4
check "batch: a blank line fails, so exit 1" test "$status" = 1
IFS=$'\t' read -r url title password < <(sed -n 2p "$work/out")
check "batch: URL, TITLE and PASSWORD columns" \
  test "$url" = "$item2" -a "$title" = "标题" -a -n "$password"
check "batch: ... the password is one" is_password "$password"
check "batch: the blank line's row is empty" test "$(sed -n 3p "$work/out")" = $'\t\t'
check "batch: the last line without newline is converted" is_password "$(sed -n 4p "$work/out" | cut -f3)"
check "batch: the same link gets the same password" \
  test "$(sed -n 1p "$work/out" | cut -f3)" = "$(sed -n 4p "$work/out" | cut -f3)"
grep -q 'line 3' "$work/err"; check "batch: the failing line is named on stderr" test $? = 0
check "batch: one warm-up for the whole batch" test "$(stat warmups)" = 1

# Standard input, fed line by line: the token expires after line 1 and the
# gateway finds no password for line 2.
control reset >/dev/null
mkfifo "$work/in"
"$program" convert --batch - <"$work/in" >"$work/out" 2>"$work/err" &
batch_pid=$!
exec 4>"$work/in"
next_line() {  # next_line TEXT N: feeds TEXT and waits for output line N
  printf '%s\n' "$1" >&4
  for _ in $(seq 100); do [ "$(lines out)" -ge "$2" ] && return; sleep 0.05; done
}
next_line "$item" 1
control expire >/dev/null
next_line "$item2" 2
control "answer?mode=none" >/dev/null
next_line "$item" 3
control "answer?mode=normal" >/dev/null
next_line "$item2" 4
exec 4>&-
wait "$batch_pid"
status=$?
check "stdin batch: four rows" test "$(lines out)" = 4
check "stdin batch: the line after the token expired got its password" \
  is_password "$(sed -n 2p "$work/out" | cut -f3)"
check "stdin batch: the failing line has an empty password" test "$(sed -n 3p "$work/out")" = "$item"$'\t\t'
check "stdin batch: the lines after it go on" is_password "$(sed -n 4p "$work/out" | cut -f3)"
check "stdin batch: exit 1 for the failing line" test "$status" = 1
check "stdin batch: still one warm-up" test "$(stat warmups)" = 1
check "stdin batch: the expired token was retried once: 1 + 2 + 1 + 1 signed requests" \
  test "$(stat signed)" = 5
check "stdin batch: no progress bar when stderr is not a terminal" test "$(grep -c $'\r' "$work/err")" = 0

printf '%s\n%s\n' "$item" "$item2" >"$work/two.tsv"
script -qec "'$program' convert --batch '$work/two.tsv' >'$work/out'" "$work/terminal" >/dev/null
check "a progress bar on stderr when it is a terminal" grep -q $'\r\\[#*\\.*\\] 1/2' "$work/terminal"
check "... while the rows still go to stdout" test "$(lines out)" = 2

control reset >/dev/null
printf '%s\n%s\n' "$item" "$item2" | "$program" convert --batch - >"$work/out" 2>"$work/err"
check "batch of good lines exits 0, stderr silent" test $? = 0 -a ! -s "$work/err" -a "$(lines out)" = 2

# --- gateway down -----------------------------------------------------------
stop_gateway
run convert "$item"
check "gateway down: exit 1, one line why" test "$status" = 1 -a ! -s "$work/out" -a "$(lines err)" = 1

[ "$failures" = 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "all command-line checks passed"

#!/usr/bin/env bash
# One conversion on the command line, whole process, against the local
# gateway: `miravel convert` (warm-up GET, then the signed GET) vs two
# sequential `curl -s` processes fetching the same two URLs with the same
# cookie, alternating in one run.
#   ratio cli_convert  median time, ours / reference
#
#   bench/cli_convert.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"

exec python3 - "$root" "$build" <<'PY'
import hashlib, json, os, statistics, subprocess, sys, time, urllib.parse, urllib.request

root, build = sys.argv[1], sys.argv[2]
sys.path.insert(0, f"{root}/bench/lib")
from local_gateway import local_gateway
RUNS = 21
API = "mtop.taobao.wireless.share.password.getpasswordshareinfo"
ADDRESS = "https://item.taobao.com/item.htm?id=612345678901"
TITLE = "测试标题"

with local_gateway(root) as host:
    base = f"http://{host}/h5/{API}/1.0/?v=1.0&api={API}&appKey=30916652"
    warmup_url = f"{base}&callback=mtopjsonp1&type=jsonp&t={int(time.time() * 1000)}"

    # The same two requests, prepared once: a warm-up for the cookies, then a
    # signed request with the token they carry.
    with urllib.request.urlopen(warmup_url) as answer:
        cookies = [line.split(";")[0] for line in answer.headers.get_all("Set-Cookie") or []
                   + answer.headers.get_all("set-cookie") or []]
    cookie = "; ".join(cookies)
    token = next(c for c in cookies if c.startswith("_m_h5_tk="))[len("_m_h5_tk="):].split("_")[0]
    t = str(int(time.time() * 1000))
    data = ('{"url":"' + ADDRESS + '","passwordType":"tao","sourceType":"other","title":"'
            + TITLE + '","bizId":"mama-taobaolianmeng"}')
    sign = hashlib.md5(f"{token}&{t}&30916652&{data}".encode()).hexdigest()
    signed_url = (f"{base}&t={t}&callback=mtopjsonp1&type=jsonp&sign={sign}&data="
                  + urllib.parse.quote(data.encode(), safe="-.").replace("_", "%5F").replace("~", "%7E"))
    check = subprocess.run(["curl", "-s", "-b", cookie, signed_url], capture_output=True, text=True)
    if "\uffe5" not in check.stdout:
        sys.exit("cli_convert.sh: the prepared signed request got no share password: " + check.stdout)

    env = dict(os.environ, MIRAVEL_GATEWAY_HOST=host)
    ours = [f"{build}/miravel", "convert", "--title", TITLE, ADDRESS]
    reference = [["curl", "-s", "-o", "/dev/null", warmup_url],
                 ["curl", "-s", "-o", "/dev/null", "-b", cookie, signed_url]]

    def run(commands):
        start = time.perf_counter()
        for command in commands:
            subprocess.run(command, env=env, stdout=subprocess.DEVNULL, check=True)
        return time.perf_counter() - start

    run([ours])
    run(reference)
    times = {"ours": [], "reference": []}
    for _ in range(RUNS):
        times["ours"].append(run([ours]))
        times["reference"].append(run(reference))
    for name, values in times.items():
        print(f"cli_convert {name}: median {statistics.median(values) * 1000:.1f} ms", file=sys.stderr)
    print(f"ratio cli_convert {statistics.median(times['ours']) / statistics.median(times['reference']):.3f}")
PY

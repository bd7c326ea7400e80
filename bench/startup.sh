#!/usr/bin/env bash
# Start-up of the window program, whole process, against the local gateway:
# from exec to MainWindow's first paint (MIRAVEL_EXIT_WHEN_SHOWN ends it
# there), warm-up request included, vs bench/qt_minimal_window showing one
# empty window; both under the offscreen platform, alternating in one run.
# The same empty window with one label of Chinese text runs beside them and is
# reported on standard error: the share of each ratio that any window showing
# CJK captions pays for its font.
#   ratio startup_window  median time, ours / reference
#   ratio startup_rss     peak resident memory, ours / reference
#
#   bench/startup.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"

exec python3 - "$root" "$build" <<'PY'
import os, statistics, subprocess, sys, time

root, build = sys.argv[1], sys.argv[2]
sys.path.insert(0, f"{root}/bench/lib")
from local_gateway import local_gateway
RUNS = 21

with local_gateway(root) as host:
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", MIRAVEL_EXIT_WHEN_SHOWN="1",
               MIRAVEL_GATEWAY_HOST=host)
    env.pop("DISPLAY", None)
    programs = {"ours": [f"{build}/miravel"], "reference": [f"{build}/bench/qt_minimal_window"],
                "reference with a Chinese label": [f"{build}/bench/qt_minimal_window", "--cjk-label"]}

    def run(command):
        start = time.perf_counter()
        child = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        elapsed = time.perf_counter() - start
        if status != 0:
            sys.exit(f"startup.sh: {command[0]} ended with status {status}")
        return elapsed, usage.ru_maxrss

    for command in programs.values():  # page cache, font cache
        run(command)
    times = {name: [] for name in programs}
    rss = {name: [] for name in programs}
    for _ in range(RUNS):
        for name, command in programs.items():
            elapsed, peak = run(command)
            times[name].append(elapsed)
            rss[name].append(peak)
    for name in programs:
        print(f"startup {name}: median {statistics.median(times[name]) * 1000:.1f} ms, "
              f"peak RSS {statistics.median(rss[name])} KiB", file=sys.stderr)
    label = "reference with a Chinese label"
    print(f"startup {label} / reference: time "
          f"{statistics.median(times[label]) / statistics.median(times['reference']):.3f}, peak RSS "
          f"{statistics.median(rss[label]) / statistics.median(rss['reference']):.3f}", file=sys.stderr)
    print(f"ratio startup_window {statistics.median(times['ours']) / statistics.median(times['reference']):.3f}")
    print(f"ratio startup_rss {statistics.median(rss['ours']) / statistics.median(rss['reference']):.3f}")
PY

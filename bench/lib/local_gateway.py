"""The local gateway (tests/services/fake_gateway.py) for whole-program benchmarks."""
import contextlib
import subprocess
import sys


@contextlib.contextmanager
def local_gateway(root):
    """Starts the fake gateway on a free loopback port, yields its "127.0.0.1:PORT",
    and stops it when the block ends."""
    gateway = subprocess.Popen([sys.executable, "-u", f"{root}/tests/services/fake_gateway.py"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        yield "127.0.0.1:" + gateway.stdout.readline().split()[1]
    finally:
        gateway.terminate()
        gateway.wait()

#!/usr/bin/env python3
"""A deliberately hostile HTTP server for robustness tests (loopback only).

usage: hostile_server.py MODE

Binds 127.0.0.1 on a free port, prints "PORT <n>" and answers every request,
whatever its path, with the behaviour MODE names:

  huge-headers      a header block of 1 MiB (filler headers), one Set-Cookie
  many-cookies      10,000 Set-Cookie lines c0=0 .. c9999=9999
  redirect-loop     302 to itself, forever
  endless-body      200 with a body that never ends
  silent            accepts the connection and never answers
  reset-mid-body    announces 100,000 bytes, sends 1,000, then resets
  invalid-utf8      200 with a body of invalid UTF-8 around one "￥AB￥"
  zero-bytes        200 with a body holding zero bytes
  big-cookie        Set-Cookie with a value of 8 KiB
  non-ascii-cookie  Set-Cookie whose value holds bytes above 0x7F

Every answer that sets cookies also sets "fresh=1", so a test can tell that
the answer's cookies were merged.
"""
import socket
import socketserver
import struct
import sys
import time

MODE = sys.argv[1] if len(sys.argv) > 1 else "huge-headers"


def read_head(rfile):
    lines = []
    while True:
        line = rfile.readline(65537)
        if not line or line in (b"\r\n", b"\n"):
            return lines
        lines.append(line)


def answer(status, headers, body=b""):
    head = [f"HTTP/1.1 {status}".encode()]
    head += headers
    head.append(f"Content-Length: {len(body)}".encode())
    return b"\r\n".join(head) + b"\r\n\r\n" + body


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        try:
            while read_head(self.rfile):
                if not self.respond():
                    return
        except (ConnectionError, BrokenPipeError, OSError):
            pass

    def send(self, data):
        self.wfile.write(data)
        self.wfile.flush()

    def respond(self):
        fresh = b"Set-Cookie: fresh=1; Path=/"
        if MODE == "huge-headers":
            filler = [b"X-Filler-%d: %s" % (i, b"f" * 1000) for i in range(1049)]
            self.send(answer("200 OK", filler + [fresh], b"body"))
        elif MODE == "many-cookies":
            # Short lines keep the block under the transport's 300 KiB header limit,
            # so all 10,000 cookies reach the merge.
            cookies = [b"Set-Cookie: c%d=%d" % (i, i) for i in range(10000)]
            self.send(answer("200 OK", cookies + [fresh], b"body"))
        elif MODE == "redirect-loop":
            self.send(answer("302 Found", [b"Location: /again", fresh]))
        elif MODE == "endless-body":
            self.send(b"HTTP/1.1 200 OK\r\n" + fresh + b"\r\nContent-Type: text/plain\r\n\r\n")
            chunk = b"x" * 65536
            while True:
                self.send(chunk)
        elif MODE == "silent":
            time.sleep(3600)
            return False
        elif MODE == "reset-mid-body":
            self.send(b"HTTP/1.1 200 OK\r\n" + fresh + b"\r\nContent-Length: 100000\r\n\r\n" + b"y" * 1000)
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.connection.close()
            return False
        elif MODE == "invalid-utf8":
            body = b"\xff\xfe\xc3(" + "￥AB￥".encode() + b"\xed\xa0\x80\xf8\x88\x80\x80\x80 tail"
            self.send(answer("200 OK", [fresh], body))
        elif MODE == "zero-bytes":
            self.send(answer("200 OK", [fresh], b"head\x00" + "￥AB￥".encode() + b"\x00tail"))
        elif MODE == "big-cookie":
            self.send(answer("200 OK", [b"Set-Cookie: big=" + b"v" * 8192 + b"; Path=/", fresh], b"body"))
        elif MODE == "non-ascii-cookie":
            value = "值".encode("gbk") + "值".encode() + b"\x80\xff"
            self.send(answer("200 OK", [b"Set-Cookie: odd=" + value + b"; Path=/", fresh], b"body"))
        else:
            self.send(answer("500 Unknown Mode", [], MODE.encode()))
        return True


class Server(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = True


def main():
    with Server(("127.0.0.1", 0), Handler) as server:
        print(f"PORT {server.server_address[1]}", flush=True)
        server.serve_forever()


if __name__ == "__main__":
    main()

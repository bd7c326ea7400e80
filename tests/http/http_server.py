#!/usr/bin/env python3
"""Loopback HTTP/1.1 server for the web-request tests and benchmarks.

Binds 127.0.0.1 on a free port and prints "PORT <n>" first. With
"--tls CERT KEY" it speaks https with that (self-signed) certificate.
One request per connection; every answer carries Content-Length and "Connection: close".
The request is read byte for byte, so /echo shows exactly what was sent.

  /echo                 body: the raw request (request line, headers, blank
                        line, body)
  /last                 body: the raw request before this one (not counting
                        requests for /last)
  /respond?h=LINE&...&body=TEXT&status=CODE REASON
                        an answer with the given header lines, in order
  /redirect?to=URL&code=302&h=LINE...
                        a redirect with the given extra header lines, body "moved"
  /loop                 redirects to itself
  /many-cookies?n=N&size=S
                        N Set-Cookie lines c1..cN, each value S bytes long
  /bytes?n=N            a body of N bytes
  /small                a body of 13 bytes
  /stall                Content-Length 1000, a cookie, 10 body bytes, then silence
"""
import socket
import socketserver
import ssl
import sys
import threading
import time
import urllib.parse

BLOCK = b"0123456789abcdef" * 65536  # 1 MiB

last_request = b""
lock = threading.Lock()


def answer(status, lines, body, head_only):
    head = "HTTP/1.1 %s\r\n" % status
    for line in lines:
        head += line + "\r\n"
    head += "Content-Length: %d\r\nConnection: close\r\n\r\n" % len(body)
    data = head.encode("latin-1")
    return data if head_only else data + body


class Handler(socketserver.StreamRequestHandler):
    def read_request(self):
        raw = self.rfile.readline(65537)
        if not raw:
            return None, None, None
        length = 0
        while True:
            line = self.rfile.readline(65537)
            raw += line
            if line in (b"\r\n", b"\n", b""):
                break
            name, _, value = line.decode("latin-1").partition(":")
            if name.strip().lower() == "content-length":
                length = int(value.strip())
        body = self.rfile.read(length) if length else b""
        method, target = raw.split(b" ")[0:2]
        return method.decode(), target.decode("latin-1"), raw + body

    def handle(self):
        global last_request
        method, target, raw = self.read_request()
        if method is None:
            return
        url = urllib.parse.urlsplit(target)
        query = urllib.parse.parse_qs(url.query, keep_blank_values=True)
        head_only = method == "HEAD"
        with lock:
            before = last_request
            if url.path != "/last":
                last_request = raw
        path = url.path
        if path == "/echo":
            out = answer("200 OK", ["Content-Type: text/plain"], raw, head_only)
        elif path == "/last":
            out = answer("200 OK", [], before, head_only)
        elif path == "/respond":
            status = query.get("status", ["200 OK"])[0]
            body = query.get("body", [""])[0].encode("latin-1")
            out = answer(status, query.get("h", []), body, head_only)
        elif path == "/redirect":
            code = query.get("code", ["302"])[0]
            lines = ["Location: " + query["to"][0]] + query.get("h", [])
            out = answer(code + " Found", lines, b"moved", head_only)
        elif path == "/loop":
            out = answer("302 Found", ["Location: /loop"], b"", head_only)
        elif path == "/many-cookies":
            n = int(query["n"][0])
            size = int(query.get("size", ["100"])[0])
            lines = ["Set-Cookie: c%d=%s; Path=/" % (i, "v" * size) for i in range(1, n + 1)]
            out = answer("200 OK", lines, b"many", head_only)
        elif path == "/bytes":
            self.send_bytes(int(query["n"][0]), head_only)
            return
        elif path == "/small":
            out = answer("200 OK", ["Content-Type: text/plain"], b"hello, world\n", head_only)
        elif path == "/stall":
            self.connection.sendall(b"HTTP/1.1 200 OK\r\nSet-Cookie: s=1\r\n"
                                    b"Content-Length: 1000\r\n\r\n0123456789")
            time.sleep(120)
            return
        else:
            out = answer("404 Not Found", [], b"no such path", head_only)
        self.connection.sendall(out)

    def send_bytes(self, n, head_only):
        head = "HTTP/1.1 200 OK\r\nContent-Length: %d\r\nConnection: close\r\n\r\n" % n
        self.connection.sendall(head.encode())
        if head_only:
            return
        view = memoryview(BLOCK)
        while n > 0:
            chunk = min(n, len(BLOCK))
            self.connection.sendall(view[:chunk])
            n -= chunk


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 128


def main():
    server = Server(("127.0.0.1", 0), Handler)
    if len(sys.argv) == 4 and sys.argv[1] == "--tls":
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(sys.argv[2], sys.argv[3])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever(poll_interval=0.05)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""A small HTTP forward proxy on loopback for the proxy tests.

Usage: forward_proxy.py LOG_FILE

Binds 127.0.0.1 on a free port and prints "PORT <n>" first. Every request
line it receives is appended to LOG_FILE. Requests in absolute form
("GET http://127.0.0.1:PORT/path HTTP/1.1") are passed on to their origin,
which must be on loopback, and the answer is relayed unchanged. CONNECT is
logged and refused with 403 (the tests have no TLS origin behind it).
"""
import socket
import socketserver
import sys
import threading
import urllib.parse

LOOPBACK = ("127.0.0.1", "localhost")
log_lock = threading.Lock()


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        request_line = self.rfile.readline(65537)
        if not request_line:
            return
        with log_lock, open(self.server.log_path, "ab") as log:
            log.write(request_line)
        headers = b""
        length = 0
        while True:
            line = self.rfile.readline(65537)
            if line in (b"\r\n", b"\n", b""):
                break
            name, _, value = line.decode("latin-1").partition(":")
            if name.strip().lower() == "content-length":
                length = int(value.strip())
            if name.strip().lower() != "proxy-connection":
                headers += line
        body = self.rfile.read(length) if length else b""
        method, target, version = request_line.decode("latin-1").split(" ", 2)
        url = urllib.parse.urlsplit(target)
        if method == "CONNECT" or url.scheme != "http" or url.hostname not in LOOPBACK:
            self.connection.sendall(b"HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n"
                                    b"Connection: close\r\n\r\n")
            return
        path = url.path or "/"
        if url.query:
            path += "?" + url.query
        with socket.create_connection(("127.0.0.1", url.port or 80)) as origin:
            origin.sendall(("%s %s %s" % (method, path, version)).encode("latin-1") +
                           headers + b"\r\n" + body)
            while True:
                data = origin.recv(65536)
                if not data:
                    break
                self.connection.sendall(data)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    server = Server(("127.0.0.1", 0), Handler)
    server.log_path = sys.argv[1]
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever(poll_interval=0.05)


if __name__ == "__main__":
    main()

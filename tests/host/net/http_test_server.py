#!/usr/bin/env python3
"""Scripted HTTP/1.0 server for the download tests and benchmark.

Listens on 127.0.0.1 (an ephemeral port unless --port is given; TLS with --tls CERT KEY), prints
"PORT <n>" on its first line, and answers each request by its path:

  /file/N                      200, Content-Length N, N pattern bytes (byte i is i % 251)
  /nolength/N                  200 without Content-Length, N pattern bytes
  /short/CLAIMED/SENT          200, Content-Length CLAIMED, SENT bytes, then close
  /zero                        200, Content-Length 0
  /status/CODE                 that status, Content-Length 0
  /redirect/K/REST             K redirects (302, relative Location) that end at /REST
  /redirect-abs/K/REST         the same with absolute Location URLs
  /redirect-content-location/REST  Content-Location line first, then Location /REST
  /redirect-nolocation         302 without a Location line
  /redirect-host/HOST/REST     302 to http://HOST/REST (another host, no port)
  /redirect-https/PORT/REST    302 to https://localhost:PORT/REST
  /loop/ID                     302 to itself, for ever
  /redirect-unusable/ID        302 to "http://127.0.0.1" (no path: the client cannot use it)
  /hits/REST                   body: how many requests /REST has had
  /stall                       reads the request and never answers (until the client goes)
  /stall-body/N                Content-Length 2N, N bytes, then silence
  /second-stalls/ID/N          first request: header only; later ones stall after N bytes
  /close-mid-header            part of a header, then close
  /long-header/N               a header of about N bytes (one long line)
  /slow/N/PIECES/DELAY_MS      Content-Length N, sent in PIECES pieces DELAY_MS apart
  /trickle/N                   header sent one byte at a time, then N bytes
  /drip/N/DELAY_MS             Content-Length N, then one byte every DELAY_MS until the client goes
  /echo                        200, body = the request exactly as received
Requests in proxy form ("GET http://host:port/path") are answered by their path.
"""
import argparse
import re
import signal
import socket
import socketserver
import ssl
import sys
import threading
import time

PATTERN = bytes(range(251)) * 4096  # a whole number of periods, about 1 MB
hits = {}
hits_lock = threading.Lock()


def pattern_bytes(count):
    """Yields the first `count` pattern bytes in pieces of about 1 MB."""
    while count > 0:
        piece = PATTERN[:count] if count < len(PATTERN) else PATTERN
        yield piece
        count -= len(piece)


class Handler(socketserver.BaseRequestHandler):
    def read_request(self):
        data = b""
        self.request.settimeout(30)
        while b"\r\n\r\n" not in data:
            chunk = self.request.recv(4096)
            if not chunk:
                break
            data += chunk
        return data

    def send(self, data):
        try:
            self.request.sendall(data)
            return True
        except OSError:
            return False

    def send_body(self, count):
        for piece in pattern_bytes(count):
            if not self.send(piece):
                return

    def head(self, status, length=None, extra=""):
        text = "HTTP/1.0 %s\r\nServer: test\r\n" % status
        if length is not None:
            text += "Content-Length: %d\r\n" % length
        return (text + extra + "\r\n").encode()

    def wait_for_close(self, seconds=30):
        """Silence until the client closes its end (or the time runs out)."""
        self.request.settimeout(seconds)
        try:
            while self.request.recv(4096):
                pass
        except OSError:
            pass

    def handle(self):
        request = self.read_request()
        match = re.match(rb"GET (\S+) HTTP/1\.[01]\r\n", request)
        if not match:
            return
        target = match.group(1).decode("latin-1")
        path = re.sub(r"^http://[^/]*", "", target)
        with hits_lock:
            hits[path] = hits.get(path, 0) + 1
            count = hits[path]
        parts = path.strip("/").split("/")
        kind, args = parts[0], parts[1:]
        port = self.server.server_address[1]

        if kind == "file":
            n = int(args[0])
            self.send(self.head("200 OK", n, "Content-Type: application/octet-stream\r\n"))
            self.send_body(n)
        elif kind == "nolength":
            self.send(self.head("200 OK"))
            self.send_body(int(args[0]))
        elif kind == "short":
            self.send(self.head("200 OK", int(args[0])))
            self.send_body(int(args[1]))
        elif kind == "zero":
            self.send(self.head("200 OK", 0))
        elif kind == "status":
            self.send(self.head("%s Scripted" % args[0], 0))
        elif kind in ("redirect", "redirect-abs"):
            k, rest = int(args[0]), "/".join(args[1:])
            target = "/redirect/%d/%s" % (k - 1, rest) if k > 1 else "/" + rest
            if kind == "redirect-abs":
                target = "http://127.0.0.1:%d%s" % (port, target.replace("/redirect/", "/redirect-abs/", 1))
            self.send(self.head("302 Found", 0, "Location: %s\r\n" % target))
        elif kind == "redirect-content-location":
            self.send(self.head("301 Moved", 0, "Content-Location: /elsewhere\r\nLocation: /%s\r\n"
                                % "/".join(args)))
        elif kind == "redirect-host":
            self.send(self.head("302 Found", 0, "Location: http://%s/%s\r\n"
                                % (args[0], "/".join(args[1:]))))
        elif kind == "redirect-https":
            self.send(self.head("302 Found", 0, "Location: https://localhost:%s/%s\r\n"
                                % (args[0], "/".join(args[1:]))))
        elif kind == "redirect-nolocation":
            self.send(self.head("302 Found", 0))
        elif kind == "loop":
            self.send(self.head("302 Found", 0, "Location: %s\r\n" % path))
        elif kind == "redirect-unusable":
            self.send(self.head("302 Found", 0, "Location: http://127.0.0.1\r\n"))
        elif kind == "hits":
            with hits_lock:
                body = str(hits.get("/" + "/".join(args), 0)).encode()
            self.send(self.head("200 OK", len(body)) + body)
        elif kind == "stall":
            self.wait_for_close()
        elif kind == "stall-body":
            n = int(args[0])
            self.send(self.head("200 OK", 2 * n))
            self.send_body(n)
            self.wait_for_close()
        elif kind == "second-stalls":
            n = int(args[1])
            self.send(self.head("200 OK", 2 * n))
            if count > 1:
                self.send_body(n)
                self.wait_for_close()
        elif kind == "close-mid-header":
            self.send(b"HTTP/1.0 200 OK\r\nContent-Le")
        elif kind == "long-header":
            filler = "X-Filler: " + "f" * int(args[0]) + "\r\n"
            self.send(self.head("200 OK", 10, filler) + b"0123456789")
        elif kind == "slow":
            n, pieces, delay = int(args[0]), int(args[1]), int(args[2]) / 1000.0
            self.send(self.head("200 OK", n))
            body = b"".join(pattern_bytes(n))
            step = max(1, -(-n // pieces))
            for offset in range(0, n, step):
                time.sleep(delay)
                if not self.send(body[offset:offset + step]):
                    return
        elif kind == "trickle":
            n = int(args[0])
            for byte in self.head("200 OK", n, "X-Odd: abc\r\n"):
                if not self.send(bytes([byte])):
                    return
                time.sleep(0.002)
            self.send_body(n)
        elif kind == "drip":
            n, delay = int(args[0]), int(args[1]) / 1000.0
            self.send(self.head("200 OK", n))
            for piece in pattern_bytes(n):
                for i in range(len(piece)):
                    time.sleep(delay)
                    if not self.send(piece[i:i + 1]):
                        return
        elif kind == "echo":
            self.send(self.head("200 OK", len(request)) + request)
        else:
            self.send(self.head("404 Not Found", 0))


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    options = parser.parse_args()
    server = Server(("127.0.0.1", options.port), Handler)
    if options.tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(*options.tls)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    print("PORT %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever(poll_interval=0.2)
    except (KeyboardInterrupt, SystemExit):
        pass


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Serves one file over HTTP/1.0 on 127.0.0.1 for scripts/screenshots.sh, in steps the script
controls, so that a picture can be taken at each: prints "PORT <n>"; every request waits while
CONTROL/hold exists, then gets the first 40 % of the body in small pieces over about a second (the
launcher moves its bar at most every 200 ms, when data arrives), waits for CONTROL/release and gets
the rest. Each wait ends after 60 s."""
import http.server
import os
import sys
import time


def wait_while(condition):
    for _ in range(600):
        if not condition():
            return
        time.sleep(0.1)


class SteppedHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        control, body = self.server.control, self.server.body
        wait_while(lambda: os.path.exists(os.path.join(control, "hold")))
        try:
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            first, piece = len(body) * 2 // 5, max(1, len(body) // 50)
            for at in range(0, first, piece):
                self.wfile.write(body[at:min(at + piece, first)])
                self.wfile.flush()
                time.sleep(0.05)
            wait_while(lambda: not os.path.exists(os.path.join(control, "release")))
            self.wfile.write(body[first:])
        except OSError:
            pass  # the launcher's size request closes after the headers


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), SteppedHandler)
    server.daemon_threads = True
    server.body = open(sys.argv[1], "rb").read()
    server.control = sys.argv[2]
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()

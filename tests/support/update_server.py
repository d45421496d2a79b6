#!/usr/bin/python3
"""An HTTP server on loopback for the update check's tests.

Serves the files of the folder named as its argument, plus routes that misbehave on purpose:
/status/<code>[/...], /redirect/<path>, /slow/<name> (100 bytes every 100 ms), /stall (answers
nothing), /endless (more than a version file could ever be, without a length), /error-endless
(the same as an error answer), /error-trickle (an error answer whose body never ends, a few
bytes a second), /short (less than the length it announces) and /big-header (headers of
200 KB). Each request
is logged to requests.log in the folder. The first line printed is the port it listens on.
"""
import http.server
import os
import sys
import time

ROOT = sys.argv[1]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        try:
            self.route()
        except (BrokenPipeError, ConnectionResetError):
            pass  # the client gave up, as the tests of cancelling and size limits make it

    def route(self):
        with open(os.path.join(ROOT, "requests.log"), "a") as log:
            log.write("%s via=%s agent=%s cache=%s\n" % (
                self.path, self.headers.get("Via", ""), self.headers.get("User-Agent", ""),
                self.headers.get("Cache-Control", "")))
        route, _, rest = self.path.lstrip("/").partition("/")
        if route == "status":
            self.answer(int(rest.partition("/")[0]), b"<html><body>No version file here.</body></html>")
        elif route == "redirect":
            self.send_response(302)
            self.send_header("Location", "/" + rest)
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif route == "slow":
            self.slow(self.read(rest))
        elif route == "stall":
            time.sleep(3600)
        elif route == "endless":
            self.endless()
        elif route == "error-endless":
            self.endless(500)
        elif route == "error-trickle":
            self.trickle()
        elif route == "short":
            self.short()
        elif route == "big-header":
            self.big_header()
        else:
            body = self.read(self.path.lstrip("/"))
            if body is None:
                self.answer(404, b"Not found")
            else:
                self.answer(200, body)

    def read(self, name):
        path = os.path.join(ROOT, name)
        if not os.path.isfile(path):
            return None
        with open(path, "rb") as file:
            return file.read()

    def answer(self, status, body):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def slow(self, body):
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        for start in range(0, len(body), 100):
            self.wfile.write(body[start:start + 100])
            self.wfile.flush()
            time.sleep(0.1)

    def trickle(self):
        self.send_response(500)
        self.send_header("Connection", "close")
        self.end_headers()
        while True:
            self.wfile.write(b"x")
            self.wfile.flush()
            time.sleep(0.2)

    def short(self):
        self.send_response(200)
        self.send_header("Content-Length", "100")
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(b"[Version]\r\n")
        self.close_connection = True

    def big_header(self):
        self.send_response(200)
        for number in range(200):
            self.send_header("X-Filler-%d" % number, "x" * 1000)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def endless(self, status=200):
        self.send_response(status)
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(b"[Version]\r\nVersion=9.9.9.9\r\n")
        line = b";" + b"x" * 1022 + b"\n"
        for _ in range(4096):
            self.wfile.write(line)
        self.close_connection = True


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True


server = Server(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()

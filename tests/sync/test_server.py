#!/usr/bin/python3
"""HTTP server of the sync tests: a feed with an ETag, and the ways a
calendar server may fail. Listens on 127.0.0.1 on a free port, prints
"PORT <n>" on standard output when it is ready, and serves until killed.

  test_server.py [--tls CERT KEY]
  test_server.py --proxy PORT   forwards every request to 127.0.0.1:PORT
                                 (a CalDAV server) and hides that the
                                 server offers sync-collection

Paths:
  /feed.ics             the feed (ETag, Last-Modified, 304 on a match), or
                        the failure the mode names
  PUT /control/feed     new feed text; its ETag changes
  PUT /control/mode     how /feed.ics answers from now on: "" (well),
                        "status N", "slow-headers S", "slow-body S", "big MB",
                        "big-chunked MB", "cut", "loop", "html"
  GET /control/log      the requests so far as JSON (method, path, headers)
  /auth/feed.ics        the feed, for alice:secret only (Basic)
  /redirect?to=URL      302 to URL
  /loop/<n>             302 to /loop/<n+1>, for ever
  /dav/<name>           a 207 answer of DAV_ANSWERS below, or of 60 MB ("huge")
"""
import base64
import json
import socket
import ssl
import sys
import threading
import time
from email.utils import formatdate
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlparse

FEED = {"text": "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                "BEGIN:VEVENT\r\nUID:a@test\r\nDTSTART;VALUE=DATE:20240101\r\nSUMMARY:New Year\r\nEND:VEVENT\r\n"
                "END:VCALENDAR\r\n",
        "version": 1, "modified": time.time(), "mode": ""}
LOG = []
LOCK = threading.Lock()

MULTISTATUS_HEAD = '<?xml version="1.0" encoding="utf-8"?>\n'
DAV_ANSWERS = {
    "malformed": MULTISTATUS_HEAD + '<d:multistatus xmlns:d="DAV:"><d:response><d:href>/x</d:href>',
    "entities": MULTISTATUS_HEAD
    + '<!DOCTYPE d [<!ENTITY a "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa">'
    + "".join('<!ENTITY %s "&%s;&%s;&%s;&%s;&%s;&%s;&%s;&%s;&%s;&%s;">' % ((chr(98 + i),) + (chr(97 + i),) * 10)
              for i in range(9))
    + ']><d:multistatus xmlns:d="DAV:"><d:response><d:href>/&j;</d:href></d:response></d:multistatus>',
    "notxml": "<html><body>Welcome</body></html>",
}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def record(self):
        with LOCK:
            LOG.append({"method": self.command, "path": self.path,
                        "headers": {k.lower(): v for k, v in self.headers.items()}})

    def body(self):
        length = int(self.headers.get("Content-Length") or 0)
        return self.rfile.read(length) if length else b""

    def answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def feed(self):
        etag = '"v%d"' % FEED["version"]
        modified = formatdate(FEED["modified"], usegmt=True)
        if self.headers.get("If-None-Match") == etag:
            self.answer(304, headers=[("ETag", etag)])
            return
        self.answer(200, FEED["text"].encode(), [("Content-Type", "text/calendar"), ("ETag", etag),
                                                 ("Last-Modified", modified)])

    def stream(self, megabytes, chunked):
        self.send_response(200)
        self.send_header("Content-Type", "text/calendar")
        if chunked:
            self.send_header("Transfer-Encoding", "chunked")
        else:
            self.send_header("Content-Length", str(megabytes * 1000 * 1000))
        self.end_headers()
        block = b"X" * 100000
        try:
            for _ in range(megabytes * 10):
                if chunked:
                    self.wfile.write(b"%x\r\n" % len(block) + block + b"\r\n")
                else:
                    self.wfile.write(block)
            if chunked:
                self.wfile.write(b"0\r\n\r\n")
        except OSError:
            pass

    def failing_feed(self):
        """Answers /feed.ics as the mode says; False when it says nothing."""
        mode, _, value = FEED["mode"].partition(" ")
        if mode == "status":
            self.answer(int(value))
        elif mode == "slow-headers":
            time.sleep(float(value))
            self.feed()
        elif mode == "slow-body":
            self.send_response(200)
            self.send_header("Content-Length", "100000")
            self.end_headers()
            self.wfile.write(b"BEGIN:VCALENDAR\r\n")
            self.wfile.flush()
            time.sleep(float(value))
            self.close_connection = True
        elif mode == "big":
            self.stream(int(value), False)
        elif mode == "big-chunked":
            self.stream(int(value), True)
        elif mode == "cut":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(FEED["text"].encode()[:100])
            self.wfile.flush()
            self.connection.shutdown(socket.SHUT_RDWR)
            self.close_connection = True
        elif mode == "loop":
            self.answer(302, headers=[("Location", "/loop/0")])
        elif mode == "html":
            self.answer(200, b"<html><body>Welcome</body></html>", [("Content-Type", "text/html")])
        else:
            return False
        return True

    def handle_any(self):
        self.record()
        url = urlparse(self.path)
        parts = url.path.strip("/").split("/")
        body = self.body()
        if url.path == "/control/feed" and self.command == "PUT":
            FEED["text"] = body.decode()
            FEED["version"] += 1
            FEED["modified"] = time.time() + FEED["version"]
            self.answer(204)
        elif url.path == "/control/mode" and self.command == "PUT":
            FEED["mode"] = body.decode()
            self.answer(204)
        elif url.path == "/control/log":
            with LOCK:
                self.answer(200, json.dumps(LOG).encode(), [("Content-Type", "application/json")])
        elif url.path == "/feed.ics":
            if not self.failing_feed():
                self.feed()
        elif url.path == "/auth/feed.ics":
            if self.headers.get("Authorization") == "Basic " + base64.b64encode(b"alice:secret").decode():
                self.feed()
            else:
                self.answer(401, headers=[("WWW-Authenticate", 'Basic realm="test"')])
        elif parts[0] == "redirect":
            self.answer(302, headers=[("Location", parse_qs(url.query)["to"][0])])
        elif parts[0] == "loop":
            self.answer(302, headers=[("Location", "/loop/%d" % (int(parts[1]) + 1))])
        elif parts[0] == "dav" and parts[1] in DAV_ANSWERS:
            self.answer(207, DAV_ANSWERS[parts[1]].encode(), [("Content-Type", "application/xml")])
        elif parts[0] == "dav" and parts[1] == "huge":
            self.stream(60, False)
        else:
            self.answer(404)

    do_GET = do_PUT = do_PROPFIND = do_REPORT = do_POST = handle_any


class Proxy(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    target = 0

    def log_message(self, *args):
        pass

    def forward(self):
        import http.client
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else None
        connection = http.client.HTTPConnection("127.0.0.1", self.target, timeout=60)
        headers = {k: v for k, v in self.headers.items() if k.lower() not in ("host", "content-length", "accept-encoding")}
        connection.request(self.command, self.path, body=body, headers=headers)
        reply = connection.getresponse()
        data = reply.read().replace(b"<sync-collection />", b"").replace(b"<sync-collection/>", b"")
        self.send_response(reply.status)
        for name, value in reply.getheaders():
            if name.lower() not in ("content-length", "transfer-encoding", "connection"):
                self.send_header(name, value)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    do_GET = do_PUT = do_PROPFIND = do_REPORT = do_POST = do_DELETE = do_OPTIONS = do_MKCOL = forward


def main():
    handler = Handler
    if len(sys.argv) == 3 and sys.argv[1] == "--proxy":
        Proxy.target = int(sys.argv[2])
        handler = Proxy
    server = ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    if len(sys.argv) == 4 and sys.argv[1] == "--tls":
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(sys.argv[2], sys.argv[3])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()

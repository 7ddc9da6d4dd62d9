#!/usr/bin/python3
"""A static web server for the browser edition's site, as any real one is: Python's own
http.server, plus byte ranges (206 Partial Content), which a media element needs to seek its
streaming music beyond what has arrived, gzip for the files that shrink with it (as a server
configured for the web sends them, so that the benchmark's bytes are those a viewer gets), and
the types of the site's files, and the caching that names by content allow: a file named
NAME.HASH.EXT never changes, so a browser may keep it a year without asking again; index.html
and sw.js are asked for again on every visit.

A slow line of its own, the same for every browser (the loading benchmark's, where a browser has
no network throttling of its own to drive):
  --latency MS               every answer waits MS milliseconds before its headers
  --rate BYTES               every answer's body comes at BYTES bytes a second at most

For the browser tests, two ways to be a bad network while a flag file exists:
  --hold REGEX FLAG          requests whose path matches wait until FLAG is removed
  --break REGEX BYTES FLAG   responses whose path matches stop after BYTES bytes of the file
                             (the connection is cut), and later ones fail at once
Usage: serve.py DIR PORT [--latency MS] [--rate BYTES] [--hold REGEX FLAG] [--break REGEX BYTES FLAG]
       (on 127.0.0.1)"""
import functools
import gzip
import http.server
import io
import os
import re
import sys
import threading
import time

RANGE = re.compile(r"^bytes=(\d*)-(\d*)$")
CONTENT_NAMED = re.compile(r"\.[0-9a-f]{10}\.[^/]+$")
# What a web server compresses: text, and WebAssembly; pictures and music are compressed already.
COMPRESSED = re.compile(r"^(text/|application/(javascript|json|wasm|manifest\+json))")
HOLD = []   # (pattern, flag file)
BREAK = []  # (pattern, bytes, flag file)
LINE = {"latency": 0.0, "rate": 0, "free": 0.0}  # s before each answer; bytes a second (0: no
# limit); when the line is free for the next piece (time.monotonic())
LINE_LOCK = threading.Lock()
PIECE = 16384


class Throttled:
    """A response's output on the one line that every answer shares, as a slow network is: each
    piece of PIECE bytes takes its turn at LINE's rate."""

    def __init__(self, out):
        self.out = out

    def write(self, data):
        for at in range(0, len(data), PIECE):
            piece = data[at:at + PIECE]
            with LINE_LOCK:
                LINE["free"] = max(LINE["free"], time.monotonic()) + len(piece) / LINE["rate"]
                due = LINE["free"]
            time.sleep(max(0.0, due - time.monotonic()))
            self.out.write(piece)
        return len(data)

    def __getattr__(self, name):
        return getattr(self.out, name)


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".webmanifest": "application/manifest+json",
                      ".js": "text/javascript", ".mp3": "audio/mpeg"}

    def log_message(self, *args):
        pass

    def setup(self):
        super().setup()
        if LINE["rate"]:
            self.wfile = Throttled(self.wfile)

    def send_head(self):
        self.ranged = None
        self.cut = None
        time.sleep(LINE["latency"])
        for pattern, flag in HOLD:
            while pattern.search(self.path) and os.path.exists(flag):
                time.sleep(0.05)
        for pattern, count, flag in BREAK:
            if pattern.search(self.path) and os.path.exists(flag):
                self.cut = count
        path = self.translate_path(self.path)
        match = RANGE.match(self.headers.get("Range", "").strip())
        if (not match and self.cut is None and os.path.isfile(path)
                and COMPRESSED.match(self.guess_type(path))
                and "gzip" in self.headers.get("Accept-Encoding", "")):
            with open(path, "rb") as f:
                body = gzip.compress(f.read(), 6, mtime=0)
            self.send_response(200)
            self.send_header("Content-Type", self.guess_type(path))
            self.send_header("Content-Encoding", "gzip")
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Last-Modified", self.date_time_string(os.path.getmtime(path)))
            self.end_headers()
            return io.BytesIO(body)
        if not match or not os.path.isfile(path):
            return super().send_head()
        size = os.path.getsize(path)
        first, last = match.groups()
        if first == "":  # the last n bytes
            start, end = max(0, size - int(last or 0)), size - 1
        else:
            start, end = int(first), min(int(last), size - 1) if last else size - 1
        if start >= size or start > end:
            self.send_response(416)
            self.send_header("Content-Range", f"bytes */{size}")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return None
        if self.cut is not None and start >= self.cut:
            self.close_connection = True  # what a broken line looks like to the browser
            return None
        f = open(path, "rb")
        f.seek(start)
        self.ranged = end - start + 1
        self.send_response(206)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Range", f"bytes {start}-{end}/{size}")
        self.send_header("Content-Length", str(self.ranged))
        self.send_header("Accept-Ranges", "bytes")
        self.end_headers()
        return f

    def copyfile(self, source, outputfile):
        if getattr(self, "ranged", None) is None and self.cut is None:
            return super().copyfile(source, outputfile)
        left = self.ranged if self.ranged is not None else os.fstat(source.fileno()).st_size
        if self.cut is not None:
            left = min(left, max(0, self.cut - source.tell()))
        while left > 0:
            chunk = source.read(min(left, 65536))
            if not chunk:
                break
            outputfile.write(chunk)
            left -= len(chunk)
        if self.cut is not None:
            self.close_connection = True
        return None

    def end_headers(self):
        if getattr(self, "ranged", None) is None and self.command in ("GET", "HEAD"):
            self.send_header("Accept-Ranges", "bytes")
        if self.command in ("GET", "HEAD"):
            named = CONTENT_NAMED.search(self.path.split("?")[0])
            self.send_header("Cache-Control", "public, max-age=31536000, immutable" if named else "no-cache")
        super().end_headers()


def main():
    args = sys.argv[1:]
    if len(args) < 2:
        sys.exit(__doc__.splitlines()[-1])
    site, port, rest = args[0], int(args[1]), args[2:]
    while rest:
        if rest[0] in ("--latency", "--rate") and len(rest) >= 2:
            LINE[rest[0][2:]] = float(rest[1]) / 1000 if rest[0] == "--latency" else int(rest[1])
            rest = rest[2:]
        elif rest[0] == "--hold" and len(rest) >= 3:
            HOLD.append((re.compile(rest[1]), rest[2]))
            rest = rest[3:]
        elif rest[0] == "--break" and len(rest) >= 4:
            BREAK.append((re.compile(rest[1]), int(rest[2]), rest[3]))
            rest = rest[4:]
        else:
            sys.exit(__doc__.splitlines()[-1])
    handler = functools.partial(Handler, directory=site)
    http.server.ThreadingHTTPServer(("127.0.0.1", port), handler).serve_forever()


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Loopback HTTP server for the download, update and announcement tests.

Serves the files of one folder and a set of special paths that misbehave in
the ways a real server or network can:

  /_/ok/N                      200, Content-Length N, N pattern bytes
  /_/status/CODE               CODE with a short body (404, 500, ...)
  /_/notfound                  404
  /_/chunked/N                 200, chunked transfer, no Content-Length
  /_/nolength/N                200, no Content-Length, N bytes, then close
  /_/empty                     200, Content-Length 0
  /_/cut/N/M                   200, Content-Length N, only M bytes, then close
  /_/trickle/N/PIECE/MS        200, Content-Length N, PIECE bytes every MS ms
  /_/stall/N/M/SECONDS         200, Content-Length N, M bytes, a pause of
                               SECONDS, then the rest
  /_/stallclose/N/M/SECONDS    like stall, but closes after the pause
  /_/redirect/CODE/<path>      CODE (301, 302, 303, 307) to /<path>
  /_/huge                      200, Content-Length 4294967296, a few bytes,
                               then close
  /_/length/L/M                200, Content-Length header L (any text), M
                               bytes, then close
  /_/delay/SECONDS/<path>      answers /<path> after SECONDS
  /_/log                       the request log as text (not itself logged)
  /_/log/clear                 empties the request log (not itself logged)

Added for the announcement and network-timer tests:

  /_/fstall/M/SECONDS/<path>   the file /<path> with its full Content-Length,
                               its first M bytes, a pause of SECONDS, then
                               the rest
  routes file "_routes"        in the served folder, read at every request:
                               lines "FROM TO" make the path FROM answer as
                               TO (a special or a file path), so the fixed
                               paths a program asks for can misbehave, e.g.
                               "/myapp/KelvoCalendar/GGList.txt
                               /_/delay/3/list/GGList.txt"; the log shows FROM

Any other path is a file below the served folder (404 when missing). The
pattern byte at offset i is i % 251, so a test can check content without a
copy. Every request is logged as "METHOD PATH" (one per line) to the log
file, flushed at once, and kept in memory for /_/log.

Usage: http_server.py [--root DIR] [--port-file FILE] [--log FILE] [--port N]
The chosen port is printed on stdout and, with --port-file, written to FILE
(atomically, so a reader never sees a half-written number).
"""

import argparse
import os
import shutil
import socket
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

PATTERN_PERIOD = 251
PATTERN = bytes(i % PATTERN_PERIOD for i in range(PATTERN_PERIOD * 64))


def pattern_bytes(offset, count):
    """count pattern bytes starting at offset."""
    out = bytearray()
    while count > 0:
        start = offset % PATTERN_PERIOD
        piece = PATTERN[start:start + count]
        out += piece
        offset += len(piece)
        count -= len(piece)
    return bytes(out)


class RequestLog:
    def __init__(self, path):
        self._lock = threading.Lock()
        self._lines = []
        self._path = path
        if path:
            open(path, "w").close()

    def add(self, line):
        with self._lock:
            self._lines.append(line)
            if self._path:
                with open(self._path, "a") as f:
                    f.write(line + "\n")

    def text(self):
        with self._lock:
            return "".join(line + "\n" for line in self._lines)

    def clear(self):
        with self._lock:
            self._lines.clear()
            if self._path:
                open(self._path, "w").close()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "KelvoTestServer/1.0"

    def log_message(self, fmt, *args):  # quiet: the request log is ours
        pass

    # --- helpers -------------------------------------------------------
    def _head(self, code, length=None, extra=None, close=False):
        self.send_response(code)
        self.send_header("Content-Type", "application/octet-stream")
        if length is not None:
            self.send_header("Content-Length", str(length))
        for name, value in (extra or {}).items():
            self.send_header(name, value)
        if close:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()

    def _write(self, data):
        try:
            if not self._is_head:
                self.wfile.write(data)
                self.wfile.flush()
            return True
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True
            return False

    def _send_pattern(self, offset, count, piece=65536, delay=0.0):
        while count > 0:
            n = min(piece, count)
            if not self._write(pattern_bytes(offset, n)):
                return False
            offset += n
            count -= n
            if delay and count > 0:
                time.sleep(delay)
        return True

    def _hard_close(self):
        """Ends the connection at once, mid-body."""
        self.close_connection = True
        try:
            self.wfile.flush()
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    # --- dispatch ------------------------------------------------------
    def do_HEAD(self):
        self._is_head = True
        self._dispatch()

    def do_GET(self):
        self._is_head = False
        self._dispatch()

    def _dispatch(self):
        path = urllib.parse.urlsplit(self.path).path
        parts = [urllib.parse.unquote(p) for p in path.split("/")[1:]]
        if parts[:2] == ["_", "log"]:
            if parts[2:] == ["clear"]:
                self.server.request_log.clear()
                body = b""
            else:
                body = self.server.request_log.text().encode()
            self._head(200, len(body))
            self._write(body)
            return
        self.server.request_log.add(f"{self.command} {path}")
        routed = self._route(path)
        if routed is not None:
            parts = [urllib.parse.unquote(p) for p in routed.split("/")[1:]]
        try:
            if parts and parts[0] == "_":
                self._special(parts[1:])
            else:
                self._file(parts)
        except (ValueError, IndexError):
            body = b"bad test path\n"
            self._head(400, len(body))
            self._write(body)

    def _route(self, path):
        """The path that `path` answers as, from the routes file; None if none."""
        try:
            with open(os.path.join(self.server.root, "_routes")) as f:
                lines = f.read().splitlines()
        except OSError:
            return None
        for line in lines:
            fields = line.split()
            if len(fields) == 2 and fields[0] == path:
                return fields[1]
        return None

    def _file_stalled(self, first, seconds, parts):
        """A file with its full length, its first bytes, a pause, the rest."""
        root = self.server.root
        full = None
        if parts and not any(x in ("", ".", "..") for x in parts):
            full = os.path.join(root, *parts)
        if not full or not os.path.isfile(full):
            body = b"not found\n"
            self._head(404, len(body))
            self._write(body)
            return
        with open(full, "rb") as f:
            data = f.read()
        self._head(200, len(data))
        if self._write(data[:first]):
            time.sleep(seconds)
            self._write(data[first:])

    def _special(self, p):
        mode = p[0] if p else ""
        if mode == "ok":
            n = int(p[1])
            self._head(200, n)
            self._send_pattern(0, n)
        elif mode == "status":
            code = int(p[1])
            body = f"status {code}\n".encode()
            self._head(code, len(body))
            self._write(body)
        elif mode == "notfound":
            body = b"not found\n"
            self._head(404, len(body))
            self._write(body)
        elif mode == "chunked":
            n = int(p[1])
            self._head(200, None, {"Transfer-Encoding": "chunked"})
            offset = 0
            while offset < n:
                k = min(4096, n - offset)
                self._write(b"%x\r\n" % k + pattern_bytes(offset, k) + b"\r\n")
                offset += k
            self._write(b"0\r\n\r\n")
        elif mode == "nolength":
            n = int(p[1])
            self._head(200, None, close=True)
            self._send_pattern(0, n)
        elif mode == "empty":
            self._head(200, 0)
        elif mode == "cut":
            announced, sent = int(p[1]), int(p[2])
            self._head(200, announced, close=True)
            self._send_pattern(0, sent)
            self._hard_close()
        elif mode == "trickle":
            n, piece, ms = int(p[1]), int(p[2]), int(p[3])
            self._head(200, n)
            self._send_pattern(0, n, piece=max(1, piece), delay=ms / 1000.0)
        elif mode in ("stall", "stallclose"):
            n, first, seconds = int(p[1]), int(p[2]), float(p[3])
            self._head(200, n, close=(mode == "stallclose"))
            if self._send_pattern(0, first):
                time.sleep(seconds)
                if mode == "stall":
                    self._send_pattern(first, n - first)
                else:
                    self._hard_close()
        elif mode == "redirect":
            code = int(p[1])
            target = "/" + "/".join(urllib.parse.quote(x) for x in p[2:])
            body = b"moved\n"
            self._head(code, len(body), {"Location": target})
            self._write(body)
        elif mode == "huge":
            self._head(200, 4 * 1024 * 1024 * 1024, close=True)
            self._send_pattern(0, 1000)
            self._hard_close()
        elif mode == "length":
            header, sent = p[1], int(p[2])
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", header)
            self.send_header("Connection", "close")
            self.close_connection = True
            self.end_headers()
            self._send_pattern(0, sent)
            self._hard_close()
        elif mode == "fstall":
            self._file_stalled(int(p[1]), float(p[2]), p[3:])
        elif mode == "delay":
            time.sleep(float(p[1]))
            rest = p[2:]
            if rest and rest[0] == "_":
                self._special(rest[1:])
            else:
                self._file(rest)
        else:
            body = b"unknown test path\n"
            self._head(404, len(body))
            self._write(body)

    def _file(self, parts):
        root = self.server.root
        if any(x in ("", ".", "..") for x in parts) or not parts:
            full = None
        else:
            full = os.path.join(root, *parts)
        if not full or not os.path.isfile(full):
            body = b"not found\n"
            self._head(404, len(body))
            self._write(body)
            return
        size = os.path.getsize(full)
        self._head(200, size)
        if self._is_head:
            return
        with open(full, "rb") as f:
            try:
                shutil.copyfileobj(f, self.wfile, 256 * 1024)
                self.wfile.flush()
            except (BrokenPipeError, ConnectionResetError):
                self.close_connection = True


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--root", default=".", help="folder of files to serve")
    ap.add_argument("--port-file", help="write the port number here")
    ap.add_argument("--log", help="request log file")
    ap.add_argument("--port", type=int, default=0,
                    help="port to listen on (default: any free one)")
    args = ap.parse_args()

    server = Server(("127.0.0.1", args.port), Handler)
    server.root = os.path.abspath(args.root)
    server.request_log = RequestLog(args.log)
    port = server.server_address[1]
    if args.port_file:
        tmp = args.port_file + ".tmp"
        with open(tmp, "w") as f:
            f.write(f"{port}\n")
        os.replace(tmp, args.port_file)
    print(port, flush=True)
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())

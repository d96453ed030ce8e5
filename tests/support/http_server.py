#!/usr/bin/env python3
"""Loopback HTTP server for the Windows-side tests and the demo site.

  http_server.py --root DIR [--port N] [--port-file FILE]   serves DIR until stopped
  http_server.py [--proxy] -- COMMAND...   runs COMMAND beside a server of a new folder
      (KELVO_TEST_HTTP_ROOT as Wine names it, KELVO_TEST_HTTP_PORT); --proxy also sets
      http_proxy, so WinINet asks this server whatever the host.
A path names a file of the folder. /_/HOW/ARGS/FILE serves FILE as a broken server or
network would: delay/S after S seconds; short/M/S the full length announced, M bytes
sent, S seconds of silence, closed; length/L Content-Length L ("none": no header);
status/C with status C. The folder's _routes maps fixed paths ("FROM TO" lines); every
path asked for is appended to its _requests.log as "GET PATH" (not when serving DIR).
"""

import argparse
import mimetypes
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

ARG_COUNTS = {"delay": 1, "short": 2, "length": 1, "status": 1}


class Handler(BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        root = self.server.root
        path = urllib.parse.urlsplit(self.path).path
        if self.server.logs:
            with open(os.path.join(root, "_requests.log"), "a") as log:
                log.write(f"GET {path}\n")
        if os.path.isfile(os.path.join(root, "_routes")):
            with open(os.path.join(root, "_routes")) as routes:
                path = dict(line.split() for line in routes if line.strip()).get(path, path)
        parts = path.strip("/").split("/")
        how, args = None, []
        if parts[0] == "_" and len(parts) > 1 and parts[1] in ARG_COUNTS:
            how, args = parts[1], parts[2:2 + ARG_COUNTS[parts[1]]]
            parts = parts[2 + len(args):]
        file = os.path.join(root, *parts)
        if how == "delay":
            time.sleep(float(args[0]))
        if ".." in parts or not os.path.isfile(file):
            return self.send_error(404)
        with open(file, "rb") as f:
            body = f.read()
        self.send_response(int(args[0]) if how == "status" else 200)
        self.send_header("Content-Type", mimetypes.guess_type(file)[0] or "text/plain")
        length = args[0] if how == "length" else str(len(body))
        if length != "none":
            self.send_header("Content-Length", length)
        self.end_headers()
        try:
            self.wfile.write(body[:int(args[0])] if how == "short" else body)
            self.wfile.flush()
            time.sleep(float(args[1]) if how == "short" else 0)
        except OSError:
            pass


def start_server(root, port, logs=False):
    server = ThreadingHTTPServer(("127.0.0.1", port), Handler)
    server.daemon_threads, server.root, server.logs = True, os.path.abspath(root), logs
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def main():
    ap = argparse.ArgumentParser(usage=__doc__)
    ap.add_argument("--root", default=".")
    ap.add_argument("--port-file")
    ap.add_argument("--port", type=int, default=0)
    ap.add_argument("--proxy", action="store_true")
    ap.add_argument("command", nargs=argparse.REMAINDER)
    args = ap.parse_args()
    command = [word for word in args.command[:1] if word != "--"] + args.command[1:]
    if not command:
        port = start_server(args.root, args.port)
        if args.port_file:
            with open(args.port_file + ".tmp", "w") as f:
                f.write(f"{port}\n")
            os.replace(args.port_file + ".tmp", args.port_file)
        print(port, flush=True)
        threading.Event().wait()
    root = tempfile.mkdtemp(prefix="kelvo-http.")
    port = start_server(root, 0, logs=True)
    env = dict(os.environ, KELVO_TEST_HTTP_PORT=str(port),
               KELVO_TEST_HTTP_ROOT="Z:" + root.replace("/", "\\"))
    if args.proxy:
        env["http_proxy"] = f"http://127.0.0.1:{port}"
    try:
        return subprocess.call(command, env=env)
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""A local stand-in for the maker's home page, for the update tests.

usage: update_server.py MODE PORTFILE LOGFILE [PAGE]
MODE page: answers every request with PAGE; hold: reads the request and never answers.
The chosen loopback port is written to PORTFILE; each request adds a line to LOGFILE.
"""
import http.server
import os
import sys
import time

mode, port_file, log_file = sys.argv[1], sys.argv[2], sys.argv[3]
page = sys.argv[4].encode("latin-1") if len(sys.argv) > 4 else b""

class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        with open(log_file, "a") as log:
            log.write(f"GET {self.path}\n")
        if mode == "hold":
            time.sleep(3600)
            return
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(page)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(page)

    def log_message(self, *args):
        pass

server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
with open(port_file + ".tmp", "w") as f:
    f.write(str(server.server_address[1]))
os.replace(port_file + ".tmp", port_file)
server.serve_forever()

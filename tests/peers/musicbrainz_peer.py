#!/usr/bin/python3
"""A MusicBrainz web service stand-in for tests, on 127.0.0.1.

Replies come from a JSON routes file read at every request: {"<disc id>": reply, "toc=<toc>":
reply}, where a reply is {"status": 200, "body": "<text>", "retry_after": 5, "delay": 2.0}.
A disc id lookup uses its id, a fuzzy lookup ("/ws/2/discid/-?toc=...") the "toc=" key;
anything else is answered 404 in the service's shape. Prints "HTTP <port>" once listening and
appends "<monotonic seconds> <request line>" and "User-Agent: <value>" to the transcript.
"""
import argparse
import http.server
import json
import sys
import threading
import time
import urllib.parse

LOCK = threading.Lock()
ARGS = None


def record(line):
    with LOCK, open(ARGS.transcript, "a", encoding="utf-8") as f:
        f.write(line + "\n")


def routes():
    try:
        with open(ARGS.routes, "r", encoding="utf-8") as f:
            return json.load(f)
    except (OSError, ValueError):
        return {}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        record("%.6f %s" % (time.monotonic(), self.requestline))
        record("User-Agent: %s" % self.headers.get("User-Agent", ""))
        url = urllib.parse.urlsplit(self.path)
        # "+" separates the service's words, so the query is read without taking it as a space.
        query = dict(urllib.parse.unquote(item).partition("=")[::2]
                     for item in url.query.split("&"))
        parts = url.path.split("/")
        reply = None
        if len(parts) == 5 and parts[1:4] == ["ws", "2", "discid"]:
            key = parts[4]
            if key == "-":
                key = "toc=" + query.get("toc", "")
            reply = routes().get(key)
        if reply is None:
            reply = {"status": 404, "body": json.dumps({"error": "Not Found"})}
        time.sleep(float(reply.get("delay", 0)))
        body = reply.get("body", "").encode("utf-8")
        self.send_response(int(reply.get("status", 200)))
        self.send_header("Content-Type", "application/json; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        if "retry_after" in reply:
            self.send_header("Retry-After", str(reply["retry_after"]))
        self.end_headers()
        try:
            self.wfile.write(body)
        except OSError:
            pass


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--routes", required=True)
    parser.add_argument("--transcript", required=True)
    ARGS = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print("HTTP %d" % server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()  # ends when the test closes our input
    server.shutdown()


if __name__ == "__main__":
    main()

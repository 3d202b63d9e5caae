#!/usr/bin/python3
"""A cover picture service stand-in for tests, on 127.0.0.1.

"/release/<id>/front-250" answers with the picture file given for a release id that has one
("--picture ID=FILE"), with a 307 redirect to "/images/<id>.jpg" for an id starting with
"moved-" (the picture of the id without that prefix), and 404 otherwise; "--elsewhere URL"
makes the redirect point there instead. Prints "HTTP <port>" once listening and appends each
request line to the transcript.
"""
import argparse
import http.server
import sys
import threading

ARGS = None
LOCK = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def reply(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def picture(self, release):
        path = ARGS.pictures.get(release)
        if not path:
            return None
        with open(path, "rb") as f:
            return f.read()

    def do_GET(self):
        with LOCK, open(ARGS.transcript, "a", encoding="utf-8") as f:
            f.write(self.requestline + "\n")
        parts = self.path.split("/")
        if len(parts) == 4 and parts[1] == "release" and parts[3] == "front-250":
            release = parts[2]
            if release.startswith("moved-"):
                target = ARGS.elsewhere or "/images/%s.jpg" % release[len("moved-"):]
                return self.reply(307, headers=[("Location", target)])
            data = self.picture(release)
        elif len(parts) == 3 and parts[1] == "images" and parts[2].endswith(".jpg"):
            data = self.picture(parts[2][:-len(".jpg")])
        else:
            data = None
        if data is None:
            return self.reply(404, b"Not Found", [("Content-Type", "text/plain")])
        self.reply(200, data, [("Content-Type", "image/jpeg")])


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--picture", action="append", default=[])
    parser.add_argument("--elsewhere", default="")
    parser.add_argument("--transcript", required=True)
    ARGS = parser.parse_args()
    ARGS.pictures = dict(item.split("=", 1) for item in ARGS.picture)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print("HTTP %d" % server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()
    server.shutdown()


if __name__ == "__main__":
    main()

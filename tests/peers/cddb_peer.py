#!/usr/bin/python3
"""A small CDDB server for tests: CDDBP on one port, CDDB over HTTP on another.

Entries come from a folder of category folders holding xmcd files named by disc id. A file
"inexact/<discid>" lists possible matches ("category discid artist / title" per line) that are
offered with 211 when no exact entry exists. Prints "CDDBP <port>" and "HTTP <port>" on stdout
once listening, and appends every command it receives to the transcript file.
"""
import argparse
import os
import socket
import socketserver
import ssl
import sys
import threading
import urllib.parse

LOCK = threading.Lock()
SUBMIT_PATH = "/~cddb/submit.cgi"
ARGS = None
PORTS = {}
CATEGORIES = ("blues", "classical", "country", "data", "folk", "jazz", "misc", "newage",
              "reggae", "rock", "soundtrack")


def record(line):
    if not ARGS.transcript:
        return
    with LOCK, open(ARGS.transcript, "a", encoding="utf-8") as f:
        f.write(line + "\n")


def entry_path(category, discid):
    return os.path.join(ARGS.db, category, discid.lower())


def exact_matches(discid):
    found = []
    for category in CATEGORIES:
        path = entry_path(category, discid)
        if os.path.isfile(path):
            found.append((category, path))
    return found


def entry_title(path):
    title = []
    with open(path, "r", encoding="utf-8", errors="replace") as f:
        for line in f:
            if line.upper().startswith("DTITLE="):
                title.append(line.rstrip("\r\n")[7:])
    return "".join(title) or "Unknown"


def fault(name):
    return name in ARGS.fault


def listing(status, lines):
    return [status] + lines + ["."]


def custom_sites():
    """The reply to "sites" when the test chose the site lines or a refusal."""
    if ARGS.sites_status != 210:
        return ["%d No site information available." % ARGS.sites_status]
    with open(ARGS.sites_file, encoding="utf-8") as f:
        lines = [l.rstrip("\r\n") for l in f]
    return listing("210 OK, site information follows (until terminating `.')", lines)


def run_command(line):
    """Returns (response lines, close afterwards, cut entry)."""
    words = line.split()
    if not words:
        return ["500 Unrecognized command."], False
    cmd = words[0].lower()
    if fault("garbage") and cmd != "quit":
        return ["garbage here, no status"], False
    if cmd == "quit":
        return ["230 Closing connection.  Goodbye."], True
    if cmd == "proto":
        return ["200 CDDB protocol level: current 1, supported 6"], False
    if cmd == "sites" and (ARGS.sites_file or ARGS.sites_status != 210):
        return custom_sites(), False
    if cmd == "sites":
        return listing("210 OK, site information follows (until terminating `.')",
                       ["127.0.0.1 cddbp 888 /~cddb/cddb.cgi N000.00 W000.00 Test peer"]), False
    if cmd == "motd":
        if ARGS.motd_status != 210:
            return ["%d No message of the day" % ARGS.motd_status], False
        return listing("210 Last modified: %s MOTD follows (until terminating `.')"
                       % ARGS.motd_date, ARGS.motd.split("|")), False
    if cmd == "cddb" and len(words) >= 2:
        sub = words[1].lower()
        if sub == "hello":
            if ARGS.hello_status != 200:
                return ["%d Handshake not successful, closing connection." % ARGS.hello_status], False
            return ["200 Hello and welcome %s@%s running %s."
                    % (words[2] if len(words) > 2 else "", words[3] if len(words) > 3 else "",
                       " ".join(words[4:]))], False
        if sub == "query" and len(words) >= 3:
            if fault("silence-query"):
                return None, False
            discid = words[2].lower()
            found = exact_matches(discid)
            if len(found) == 1:
                category, path = found[0]
                return ["200 %s %s %s" % (category, discid, entry_title(path))], False
            if len(found) > 1:
                return listing("210 Found exact matches, list follows (until terminating `.')",
                               ["%s %s %s" % (c, discid, entry_title(p)) for c, p in found]), False
            inexact = os.path.join(ARGS.db, "inexact", discid)
            if os.path.isfile(inexact):
                with open(inexact, encoding="utf-8") as f:
                    matches = [l.rstrip("\r\n") for l in f if l.strip()]
                return listing("211 Found inexact matches, list follows (until terminating `.')",
                               matches), False
            return ["202 No match for disc ID %s." % discid], False
        if sub == "read" and len(words) >= 4:
            category, discid = words[2].lower(), words[3].lower()
            path = entry_path(category, discid)
            if category not in CATEGORIES or not os.path.isfile(path):
                return ["401 %s %s No such CD entry in database." % (category, discid)], False
            with open(path, encoding="utf-8", errors="replace") as f:
                body = [l.rstrip("\r\n") for l in f]
            if fault("big"):
                body += ["EXTT0=" + "x" * 70] * 600
            return listing("210 %s %s CD database entry follows (until terminating `.')"
                           % (category, discid), body), False
    return ["500 Unrecognized command."], False


def encode(lines, cut=False):
    end = "\n" if fault("lf") else "\r\n"
    text = end.join(lines) + end
    data = text.encode("utf-8")
    if cut and len(lines) > 2:
        data = data[: len(data) // 2]
    return data


class CddbpHandler(socketserver.StreamRequestHandler):
    def handle(self):
        record("CONNECT cddbp")
        if fault("silence"):
            self.rfile.readline()
            return
        greeting = {200: "200 test CDDBP server v1 ready", 201: "201 test CDDBP server v1 ready (read only)",
                    432: "432 No connections allowed: permission denied",
                    433: "433 No connections allowed: X users allowed, Y currently active",
                    434: "434 No connections allowed: system load too high"}
        self.wfile.write(encode([greeting.get(ARGS.greeting, "%d hmm" % ARGS.greeting)]))
        while True:
            raw = self.rfile.readline()
            if not raw:
                record("CLOSED")
                return
            line = raw.decode("utf-8", "replace").rstrip("\r\n")
            record(line)
            response, close = run_command(line)
            if response is None:
                continue
            cut = fault("cut") and line.lower().startswith("cddb read") and len(response) > 2
            self.wfile.write(encode(response, cut))
            self.wfile.flush()
            if cut:
                record("CUT")
                self.connection.shutdown(socket.SHUT_RDWR)
                return
            if close:
                return


class HttpHandler(socketserver.StreamRequestHandler):
    def handle(self):
        request = self.rfile.readline().decode("latin-1").rstrip("\r\n")
        if not request:
            return
        method, target = request.split(" ")[:2]
        length = 0
        headers = {}
        while True:
            header = self.rfile.readline().decode("latin-1").rstrip("\r\n")
            if not header:
                break
            name, _, value = header.partition(":")
            headers[name.strip().lower()] = value.strip()
            if name.strip().lower() == "content-length":
                length = int(value.strip())
        path, _, query = target.partition("?")
        if path == SUBMIT_PATH:
            self.submit(method, headers, self.rfile.read(length))
            return
        if method == "POST":
            query = self.rfile.read(length).decode("latin-1").rstrip("\r\n")
        record("%s %s %s" % (method, path, query))
        # "/hop/N" sends the client on to "/hop/N-1", and "/hop/0" to the real path;
        # "/away/SCHEME" sends it to the real path under another scheme.
        parts = path.split("/")
        if len(parts) == 3 and parts[1] == "hop" and parts[2].isdigit():
            hops = int(parts[2])
            target = "/hop/%d" % (hops - 1) if hops > 0 else "/~cddb/cddb.cgi"
            self.redirect(target)
            return
        if len(parts) == 3 and parts[1] == "away":
            scheme = parts[2]
            port = PORTS.get(scheme, PORTS["http"])
            host = "localhost" if scheme == "https" else "127.0.0.1"
            self.redirect("%s://%s:%d/~cddb/cddb.cgi" % (scheme, host, port))
            return
        if path != "/~cddb/cddb.cgi":
            self.wfile.write(b"HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n")
            return
        form = urllib.parse.parse_qs(query)
        command = form.get("cmd", [""])[0]
        if fault("http-motd-fail") and command == "motd":
            self.wfile.write(b"HTTP/1.0 500 Broken\r\nContent-Length: 0\r\n\r\n")
            return
        if fault("silence"):
            self.rfile.read(1)
            return
        response, _ = run_command(command)
        body = encode(response or [])
        cut = fault("cut") and command.lower().startswith("cddb read")
        head = ("HTTP/1.0 200 OK\r\nConnection: close\r\nContent-Type: text/plain\r\n"
                "Content-Length: %d\r\n\r\n" % len(body))
        if cut:
            body = body[: len(body) // 2]
        # Sent in pieces so a client that reads a single block sees only the first.
        self.wfile.write(head.encode("latin-1"))
        self.wfile.flush()
        for i in range(0, len(body), 1000):
            self.wfile.write(body[i:i + 1000])
            self.wfile.flush()


    def submit(self, method, headers, body):
        """Takes an entry posted to the submit script: "200" when it is one, else "500"."""
        names = ("category", "discid", "user-email", "submit-mode", "charset")
        record("SUBMIT %s %s" % (method, " ".join("%s=%s" % (n, headers.get(n, "")) for n in names)))
        category, discid = headers.get("category", ""), headers.get("discid", "")
        text = body.decode("utf-8", "replace")
        if fault("submit-refuse"):
            answer = "501 Entry rejected: the test peer refuses every entry."
        elif method != "POST" or any(not headers.get(n) for n in names):
            answer = "500 Missing required header information."
        elif category not in CATEGORIES or len(discid) != 8:
            answer = "500 Invalid category or disc id."
        elif headers["submit-mode"] not in ("test", "submit"):
            answer = "500 Invalid submit mode."
        elif not text.startswith("# xmcd") or ("DISCID=" + discid) not in text:
            answer = "500 Invalid entry."
        else:
            folder = os.path.join(ARGS.db, "submitted", category)
            os.makedirs(folder, exist_ok=True)
            with open(os.path.join(folder, discid), "wb") as f:
                f.write(body)
            answer = "200 OK, submission has been sent."
        data = (answer + "\r\n").encode("utf-8")
        self.wfile.write(("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: %d\r\n\r\n"
                          % len(data)).encode("latin-1") + data)

    def redirect(self, target):
        # 307 keeps the method and the form body.
        self.wfile.write(("HTTP/1.0 307 Temporary Redirect\r\nConnection: close\r\nLocation: %s\r\n"
                          "Content-Length: 0\r\n\r\n" % target).encode("latin-1"))


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--db", required=True)
    parser.add_argument("--transcript")
    parser.add_argument("--greeting", type=int, default=200)
    parser.add_argument("--hello-status", type=int, default=200)
    parser.add_argument("--motd-status", type=int, default=210)
    parser.add_argument("--motd", default="Welcome to the test CDDB server.|It answers from a folder.")
    parser.add_argument("--motd-date", default="05/31/96 06:31:14")
    parser.add_argument("--fault", action="append", default=[])
    parser.add_argument("--sites-file", help="site lines to send in reply to sites")
    parser.add_argument("--sites-status", type=int, default=210)
    parser.add_argument("--tls-cert", help="also serve HTTPS with this certificate")
    parser.add_argument("--tls-key")
    ARGS = parser.parse_args()
    cddbp = Server(("127.0.0.1", 0), CddbpHandler)
    http = Server(("127.0.0.1", 0), HttpHandler)
    servers = [cddbp, http]
    if ARGS.tls_cert:
        https = Server(("127.0.0.1", 0), HttpHandler)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(ARGS.tls_cert, ARGS.tls_key)
        https.socket = context.wrap_socket(https.socket, server_side=True)
        servers.append(https)
    PORTS["http"] = http.server_address[1]
    PORTS["ftp"] = http.server_address[1]
    if ARGS.tls_cert:
        PORTS["https"] = servers[2].server_address[1]
    for server in servers:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    print("CDDBP %d" % cddbp.server_address[1])
    print("HTTP %d" % http.server_address[1], flush=True)
    if ARGS.tls_cert:
        print("HTTPS %d" % servers[2].server_address[1], flush=True)
    sys.stdin.read()


if __name__ == "__main__":
    main()

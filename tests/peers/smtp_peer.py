#!/usr/bin/python3
"""A small SMTP server for tests of the mail client's reply handling.

--mode multiline: the greeting and every reply come as several "250-" lines, in pieces.
--mode refuse-rcpt: RCPT TO is answered "550 5.1.1 Mailbox unavailable".
--mode silence: the connection is accepted and nothing is ever sent.
--mode endless: the greeting is a "220-" line that never ends.
Prints "SMTP <port>" once listening; writes every line it receives to the transcript file.
"""
import argparse
import socketserver
import sys
import threading
import time

ARGS = None


def record(line):
    if ARGS.transcript:
        with open(ARGS.transcript, "a", encoding="utf-8") as f:
            f.write(line + "\n")


class Handler(socketserver.StreamRequestHandler):
    def send(self, lines):
        data = "".join(l + "\r\n" for l in lines).encode("utf-8")
        if ARGS.mode == "multiline":
            # In pieces that end inside and between lines.
            for i in range(0, len(data), 7):
                self.wfile.write(data[i:i + 7])
                self.wfile.flush()
                time.sleep(0.001)
        else:
            self.wfile.write(data)
            self.wfile.flush()

    def reply(self, code, text):
        if ARGS.mode == "multiline":
            self.send(["%d-%s" % (code, text), "%d-more of the same" % code,
                       "%d %s done" % (code, code)])
        else:
            self.send(["%d %s" % (code, text)])

    def handle(self):
        try:
            self.converse()
        except OSError:
            # A client that gives up resets the connection; that ends the conversation.
            pass

    def converse(self):
        if ARGS.mode == "silence":
            self.rfile.read()
            return
        if ARGS.mode == "endless":
            while True:
                self.send(["220-" + "x" * 1000])
        self.reply(220, "test peer ready")
        in_data = False
        while True:
            raw = self.rfile.readline()
            if not raw:
                return
            line = raw.decode("utf-8", "replace").rstrip("\r\n")
            record(line)
            if in_data:
                if line == ".":
                    in_data = False
                    self.reply(250, "queued")
                continue
            verb = line.split(" ")[0].split(":")[0].upper()
            if verb == "RCPT" and ARGS.mode == "refuse-rcpt":
                self.send(["550 5.1.1 Mailbox unavailable"])
            elif verb == "DATA":
                in_data = True
                self.send(["354 End data with <CR><LF>.<CR><LF>"])
            elif verb == "QUIT":
                self.reply(221, "bye")
                return
            else:
                self.reply(250, "ok")


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", default="plain")
    parser.add_argument("--transcript")
    ARGS = parser.parse_args()
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print("SMTP %d" % server.server_address[1], flush=True)
    sys.stdin.read()


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""A SOCKS 4 proxy stand-in that refuses: answers every CONNECT request with the reply code
given (91, 92, 93, or anything else), or with a short reply, then closes. Prints "SOCKS <port>"
once listening and appends each request it saw to the transcript file."""
import argparse
import socket
import socketserver
import sys
import threading


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        data = b""
        while b"\0" not in data[8:]:
            chunk = self.request.recv(256)
            if not chunk:
                return
            data += chunk
        if ARGS.transcript:
            port = int.from_bytes(data[2:4], "big")
            ip = socket.inet_ntoa(data[4:8])
            user = data[8:data.index(b"\0", 8)].decode("latin-1")
            with open(ARGS.transcript, "a") as f:
                f.write("%d %d %s:%d %s\n" % (data[0], data[1], ip, port, user))
        reply = bytes([0, ARGS.reply, 0, 0, 0, 0, 0, 0])
        self.request.sendall(reply[:3] if ARGS.short else reply)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True


parser = argparse.ArgumentParser()
parser.add_argument("--reply", type=int, default=91)
parser.add_argument("--short", action="store_true")
parser.add_argument("--transcript")
ARGS = parser.parse_args()
server = Server(("127.0.0.1", 0), Handler)
threading.Thread(target=server.serve_forever, daemon=True).start()
print("SOCKS %d" % server.server_address[1], flush=True)
sys.stdin.read()

#!/usr/bin/env python3
"""The local HTTP server of win32_network_test (started by tests/win32/run_all.sh).

Listens on 127.0.0.1 (plain), 127.0.0.2 (plain, where a correct client never
connects over http; its connections are counted) and 127.0.0.1 over TLS with
the self-signed certificate given. Prints "PLAIN OTHER TLS CLOSED" (CLOSED: a
port nobody listens on) and serves until it is killed.

  /echo...       200; the request body as the body, the method, path and each
                 request header as X-Eco-Method, X-Eco-Path, X-Eco-<Name>
  /auth          the Basic credentials decoded as the body; 401 without them
  /status/NNN    status NNN, Location: /echo
  /slow/N        waits N seconds before answering
  /trickle       announces 100 bytes and sends one every 0.2 s
  /cut           announces 1000 bytes, sends 10 and closes the connection
  /count         how many connections the 127.0.0.2 listener has had
"""

import base64
import http.server
import socket
import ssl
import sys
import threading
import time

other_connections = 0
lock = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def serve(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        path = self.path
        if path.startswith("/echo"):
            headers = [("X-Eco-Method", self.command), ("X-Eco-Path", path)]
            headers += [("X-Eco-" + name, value) for name, value in self.headers.items()]
            headers += [("X-Mixed-Case", "Sim"), ("X-Repetido", "primeiro"), ("X-Repetido", "segundo")]
            self.answer(200, body, headers)
        elif path == "/auth":
            kind, _, token = self.headers.get("Authorization", "").partition(" ")
            if kind != "Basic":
                self.answer(401, b"", [("WWW-Authenticate", 'Basic realm="eco"')])
            else:
                self.answer(200, base64.b64decode(token, validate=True))
        elif path.startswith("/status/"):
            self.answer(int(path[8:]), b"status " + path[8:].encode(), [("Location", "/echo")])
        elif path.startswith("/slow/"):
            time.sleep(float(path[6:]))
            self.answer(200, b"tarde")
        elif path == "/trickle":
            self.send_response(200)
            self.send_header("Content-Length", "100")
            self.end_headers()
            for _ in range(100):
                self.wfile.write(b"x")
                self.wfile.flush()
                time.sleep(0.2)
        elif path == "/cut":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"0123456789")
            self.wfile.flush()
            self.connection.shutdown(socket.SHUT_RDWR)
            self.close_connection = True
        elif path == "/count":
            with lock:
                self.answer(200, str(other_connections).encode())
        else:
            self.answer(404)

    do_GET = do_PUT = do_DELETE = do_POST = do_PROPFIND = do_REPORT = do_MKCALENDAR = serve


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def process_request(self, request, client_address):
        global other_connections
        if self.server_address[0] == "127.0.0.2":
            with lock:
                other_connections += 1
        super().process_request(request, client_address)

    def handle_error(self, request, client_address):
        pass  # clients that give up (the time-out cases) are expected


def main():
    cert, key = sys.argv[1], sys.argv[2]
    plain = Server(("127.0.0.1", 0), Handler)
    other = Server(("127.0.0.2", 0), Handler)
    tls = Server(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    tls.socket = context.wrap_socket(tls.socket, server_side=True)
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    closed = probe.getsockname()[1]
    probe.close()
    for server in (plain, other, tls):
        threading.Thread(target=server.serve_forever, daemon=True).start()
    print(plain.server_address[1], other.server_address[1], tls.server_address[1], closed, flush=True)
    threading.Event().wait()


if __name__ == "__main__":
    main()

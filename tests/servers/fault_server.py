#!/usr/bin/env python3
"""A lookup server that misbehaves on purpose, for the fetch client's tests.

Serves plain HTTP on ADDRESS:80 and ADDRESS:8080 and, given the certificates that
scripts/test_certs.sh makes, HTTPS on ADDRESS:443 and 8443 (www.ombrix.example, from the
test CA), 8444 (from a CA nobody trusts), 8445 (expired) and 8446 (another name); with a
second ADDRESS, an IPv6 one, plain HTTP on its port 8080 too. The request path picks the
behaviour (see CASES and the special paths in Handler), whatever the port. /lvn.php, the
path of the lookup URL the tests give, answers what the file answer.txt beside the log
says at that moment, so a test can change the address or cause an outage: the file's
bytes as a 200 answer, or "!down" for a 503, or "!trickle" for an answer that takes about
6.5 s; "!slow" before the bytes answers them after 0.3 s; "!loop" redirects to itself for
ever; "!hop" before the bytes answers them after one redirect. /cached answers another
address each time, with a head that lets any cache keep it for an hour. "/" asked by the
name of a public lookup service (api.ipify.org, checkip.amazonaws.com) answers as /lvn.php
does; so does a proxy's request for any .../lvn.php. Every request is appended to the log as
one tab-separated line: request line, Host, User-Agent, Referer, and the scheme and port it
came in on ("https 8443"). /lvn2.php, a second lookup page, answers answer2.txt as /lvn.php
answers answer.txt. Paths under /u/ speak the update targets' services and are recorded
whole in updates.jsonl beside the log (see update_paths.py).

    fault_server.py ADDRESS LOG_FILE [CERT_DIR [IPV6_ADDRESS]]
"""
import os
import socket
import socketserver
import ssl
import sys
import threading
import time

import update_paths

LOG_LOCK = threading.Lock()
PUBLIC_HOSTS = ("api.ipify.org", "checkip.amazonaws.com")

# path -> (status line, body)
CASES = {
    "/": ("200 OK", b"[198.51.100.7]"),
    "/ok": ("200 OK", b"[198.51.100.7]"),
    "/nine": ("200 OK", b"[1.2.3.4]"),
    "/ten": ("200 OK", b"[1.2.3.45]"),
    "/huge": ("200 OK", b"".join(b"%04d|" % i for i in range(1000))),
    "/nul": ("200 OK", b"[1.2.\x003.4]    padding"),
    "/nf": ("404 Not Found", b"[203.0.113.1] not found"),
    "/err": ("500 Internal Server Error", b"[203.0.113.2] server error"),
    "/missing": ("200 OK", b"no markers at all here"),
    "/reversed": ("200 OK", b"x]y[203.0.113.9]"),
    "/touching": ("200 OK", b"[]          "),
    "/long": ("200 OK", b"[" + b"abcdefghij" * 3 + b"]"),
    "/marked": ("200 OK", b"IP=[203.0.113.9] ok"),
    "/ipv6": ("200 OK", b"[2001:db8:85a3:1234:5678:8a2e:370:7334]"),
    "/padded": ("200 OK", b"[ 198.51.100.7\t]\r\n"),
}


def head_for(status, body, extra="", cache="no-store"):
    return (
        "HTTP/1.1 %s\r\nContent-Type: text/plain\r\nContent-Length: %d\r\n"
        "Cache-Control: %s\r\nConnection: close\r\n%s\r\n" % (status, len(body), cache, extra)
    ).encode("ascii")


def send_redirect(sock, location, status="302 Found"):
    body = b"[192.0.2.99] moved"
    sock.sendall(head_for(status, body, "Location: %s\r\n" % location) + body)


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        sock = self.request
        sock.settimeout(30)
        if self.server.tls is not None:
            try:
                sock = self.server.tls.wrap_socket(sock, server_side=True)
            except (OSError, ssl.SSLError):
                return  # the client turned the certificate down, or spoke no TLS
        data = b""
        try:
            while b"\r\n\r\n" not in data and len(data) < 65536:
                chunk = sock.recv(4096)
                if not chunk:
                    return
                data += chunk
        except OSError:
            return
        lines = data.split(b"\r\n\r\n", 1)[0].decode("latin-1").split("\r\n")
        headers = {}
        for line in lines[1:]:
            name, _, value = line.partition(":")
            headers[name.strip().lower()] = value.strip()
        with LOG_LOCK, open(self.server.log_file, "a", encoding="latin-1") as log:
            log.write("\t".join([lines[0], headers.get("host", ""),
                                 headers.get("user-agent", ""), headers.get("referer", ""),
                                 self.server.came_in_on]) + "\n")
        parts = lines[0].split(" ")
        # The last segment picks the behaviour, so tests may put any folders before it.
        path = "/" + parts[1].split("?", 1)[0].rsplit("/", 1)[-1] if len(parts) > 1 else ""
        # The public lookup services a first start asks answer as /lvn.php does.
        if headers.get("host", "").split(":")[0].lower() in PUBLIC_HOSTS and path == "/":
            path = "/lvn.php"
        target = parts[1] if len(parts) > 1 else ""
        try:
            if update_paths.is_update_path(target):
                body = update_paths.read_body(sock, data.split(b"\r\n\r\n", 1)[1], headers)
                update_paths.answer_update(sock, parts[0], target, headers, body,
                                           os.path.dirname(self.server.log_file),
                                           self.server.came_in_on)
                return
            self.respond(sock, path, target)
        except OSError:
            pass

    def respond(self, sock, path, target):
        # Redirects: to the very same target; after one hop to /ok; an absolute https URL
        # with a port; an https host without a path; a plain http URL with a port; the same
        # path with another query; chainN: N hops, then /ok's answer.
        if path == "/loop":
            send_redirect(sock, target)
            return
        if path == "/hop":
            send_redirect(sock, "/dir/ok", "301 Moved Permanently")
            return
        if path == "/hopabs":
            send_redirect(sock, "https://www.ombrix.example:8443/ok", "307 Temporary Redirect")
            return
        if path == "/hophost":
            send_redirect(sock, "https://www.ombrix.example")
            return
        if path == "/tohttp":
            send_redirect(sock, "http://www.ombrix.example:8080/ok")
            return
        if path == "/hopquery":
            if "hopped" not in target:
                send_redirect(sock, "?hopped")
                return
            path = "/ok"
        if path.startswith("/chain") and path[6:].isdigit():
            hops = int(path[6:])
            if hops > 0:
                send_redirect(sock, "chain%d" % (hops - 1))
                return
            path = "/ok"
        if path in ("/lvn.php", "/lvn2.php"):
            answer_file = self.server.answer_file
            if path == "/lvn2.php":
                answer_file = os.path.join(os.path.dirname(answer_file), "answer2.txt")
            try:
                with open(answer_file, "rb") as f:
                    answer = f.read()
            except OSError:
                answer = b"!down"
            if answer.startswith(b"!down"):
                sock.sendall(head_for("503 Service Unavailable", b"[0.0.0.0] down") + b"[0.0.0.0] down")
                return
            if answer.startswith(b"!loop"):
                send_redirect(sock, target)
                return
            if answer.startswith(b"!hop"):
                if "hopped" not in target:
                    send_redirect(sock, "/lvn.php?hopped")
                    return
                answer = answer[len(b"!hop"):]
            if answer.startswith(b"!slow"):
                # The rest of the file, after a pause a person can see.
                time.sleep(0.3)
                answer = answer[len(b"!slow"):]
            if answer.startswith(b"!headdrip"):
                path = "/headdrip"
            elif answer.startswith(b"!trickle"):
                path = "/trickle"
            else:
                sock.sendall(head_for("200 OK", answer) + answer)
                return
        if path == "/cached":
            # Another address at each request, in an answer any cache may keep for an hour.
            with LOG_LOCK:
                self.server.cached_count = getattr(self.server, "cached_count", 0) + 1
                body = b"[203.0.113.%d]" % self.server.cached_count
            sock.sendall(head_for("200 OK", body, "Last-Modified: Mon, 01 Jan 2024 00:00:00 GMT\r\n",
                                  "public, max-age=3600") + body)
            return
        if path == "/stall":
            # Accepts and never answers; waits for the client to give up.
            try:
                while sock.recv(4096):
                    pass
            except OSError:
                pass
            return
        if path == "/headdrip":
            # Header lines without end, each within the client's receive time-out; the
            # server gives up after a minute.
            try:
                sock.sendall(b"HTTP/1.1 200 OK\r\n")
                for i in range(150):
                    sock.sendall(b"X-Drip-%d: x\r\n" % i)
                    time.sleep(0.4)
            except OSError:
                pass
            return
        if path == "/trickle":
            # The head arrives a little at a time, each piece within the client's receive
            # time-out, so that the send step as a whole takes about 6.5 s.
            body = b"[198.51.100.7]"
            head = head_for("200 OK", body)
            step = max(1, len(head) // 16)
            for i in range(0, len(head), step):
                sock.sendall(head[i:i + step])
                time.sleep(0.4)
            sock.sendall(body)
            return
        if path in ("/drip", "/dripnf"):
            # The head and the body's first line at once, then the rest of its 1000 bytes
            # one at a time, each well within the client's receive time-out: about 6.5
            # minutes in all.
            status = "200 OK" if path == "/drip" else "404 Not Found"
            first = b"[203.0.113.7]\r\n"
            body = first + b"." * (1000 - len(first))
            sock.sendall(head_for(status, body) + first)
            for i in range(len(first), len(body)):
                time.sleep(0.4)
                sock.sendall(body[i:i + 1])
            return
        if path == "/garbled":
            # No status line at all.
            sock.sendall(b"[198.51.100.7] and no HTTP head\r\n\r\n")
            return
        status, body = CASES.get(path, ("404 Not Found", b"unknown test path"))
        sock.sendall(head_for(status, body) + body)


class Server(socketserver.ThreadingTCPServer):
    allow_reuse_address = True
    daemon_threads = True


class Server6(Server):
    address_family = socket.AF_INET6


def tls_context(cert_dir, cert):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(cert_dir, cert), os.path.join(cert_dir, "server.key"))
    return context


def main():
    address, log_file = sys.argv[1], sys.argv[2]
    cert_dir = sys.argv[3] if len(sys.argv) > 3 else None
    listeners = [(Server, address, 80, None), (Server, address, 8080, None)]
    if cert_dir:
        for port, cert in ((443, "good.pem"), (8443, "good.pem"), (8444, "other-ca.pem"),
                           (8445, "expired.pem"), (8446, "wrong-name.pem")):
            listeners.append((Server, address, port, tls_context(cert_dir, cert)))
    if len(sys.argv) > 4:
        listeners.append((Server6, sys.argv[4], 8080, None))
    servers = []
    for kind, host, port, tls in listeners:
        server = kind((host, port), Handler)
        server.log_file = log_file
        server.answer_file = os.path.join(os.path.dirname(log_file), "answer.txt")
        server.tls = tls
        server.came_in_on = "%s %d" % ("https" if tls else "http", port)
        servers.append(server)
    for server in servers[1:]:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    servers[0].serve_forever()


if __name__ == "__main__":
    main()

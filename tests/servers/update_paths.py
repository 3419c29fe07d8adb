"""The update targets' side of the fault server: paths under /u/ answer as each kind's
service does, and every request to them is recorded whole for the tests to read.

    /u/nic/update             dyndns2: 200 "good <myip>"
    /u/duckdns/update         duckdns: 200 "OK"
    /u/dynv6/api/update       dynv6: 200 "addresses updated"
    /u/ntfy/<topic>           ntfy: 200 with the message as JSON
    /u/discord/<id>/<token>   a Discord webhook: 204, no body
    /u/slack/<a>/<b>          a Slack webhook: 200 "ok"
    /u/hook                   the url kind: 200 "ok"
    anything else under /u/   404

While update_answer.txt exists beside the log, it is the answer of every /u/ path:
"<status> <body>" ("200 badauth", "200 911", "503 " for an empty 503); a 3xx status takes
the rest as its Location ("302 /u/elsewhere").

Each /u/ request is appended to updates.tsv beside the log, before it is answered, as one
line of five tab-separated fields: the method, the target (the path with its query, as
sent), the scheme it came in on, the headers ("lower-case name: value", one a line) and the
body (as UTF-8, bytes that are none replaced); in each, "%", tab, CR and LF are written
%25, %09, %0D and %0A.
"""
import http
import json
import os
import threading
from urllib.parse import parse_qs, urlsplit

RECORD_LOCK = threading.Lock()
MAX_BODY = 1 << 20


def is_update_path(target):
    return target.startswith("/u/")


def read_body(sock, received, headers):
    """The request's body: what came after the head, and the rest its Content-Length names."""
    try:
        length = min(int(headers.get("content-length", "0")), MAX_BODY)
    except ValueError:
        length = 0
    body = received
    try:
        while len(body) < length:
            chunk = sock.recv(65536)
            if not chunk:
                break
            body += chunk
    except OSError:
        pass
    return body[:length]


def kind_answer(path, query):
    """(status, body, content type) of the kind's service for a path under /u/."""
    if path == "/u/nic/update":
        return 200, "good " + query.get("myip", [""])[0], "text/plain"
    if path == "/u/duckdns/update":
        return 200, "OK", "text/plain"
    if path == "/u/dynv6/api/update":
        return 200, "addresses updated", "text/plain"
    if path.startswith("/u/ntfy/"):
        return 200, json.dumps({"id": "lvn1", "event": "message", "topic": path[8:]}), \
            "application/json"
    if path.startswith("/u/discord/"):
        return 204, "", "text/plain"
    if path.startswith("/u/slack/"):
        return 200, "ok", "text/plain"
    if path == "/u/hook":
        return 200, "ok", "text/plain"
    return 404, "no such update path", "text/plain"


def set_answer(folder):
    """update_answer.txt's (status, body), or None while there is none."""
    try:
        with open(os.path.join(folder, "update_answer.txt"), "rb") as f:
            text = f.read().decode("utf-8", "replace").strip("\r\n")
    except OSError:
        return None
    status, _, body = text.partition(" ")
    return (int(status), body) if status.isdigit() else (500, "unreadable update_answer.txt")


def answer_update(sock, method, target, headers, body, folder, came_in_on):
    scheme = came_in_on.partition(" ")[0]
    fields = [method, target, scheme,
              "\n".join("%s: %s" % (name, value) for name, value in headers.items()),
              body.decode("utf-8", "replace")]
    line = "\t".join(f.replace("%", "%25").replace("\t", "%09").replace("\r", "%0D")
                     .replace("\n", "%0A") for f in fields)
    with RECORD_LOCK, open(os.path.join(folder, "updates.tsv"), "a", encoding="utf-8") as log:
        log.write(line + "\n")
    parts = urlsplit(target)
    status, text, content_type = kind_answer(parts.path, parse_qs(parts.query))
    extra = ""
    chosen = set_answer(folder)
    if chosen is not None:
        status, text = chosen
        content_type = "text/plain"
        if 300 <= status < 400:
            extra, text = "Location: %s\r\n" % text, "moved"
    try:
        reason = http.HTTPStatus(status).phrase
    except ValueError:
        reason = "Status"
    data = text.encode("utf-8")
    # A 204 carries no length, as HTTP says.
    length = "" if status == 204 else "Content-Length: %d\r\n" % len(data)
    head = ("HTTP/1.1 %d %s\r\nContent-Type: %s\r\n%sConnection: close\r\n%s\r\n"
            % (status, reason, content_type, length, extra)).encode("ascii")
    sock.sendall(head + (b"" if status == 204 else data))

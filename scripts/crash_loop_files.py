#!/usr/bin/env python3
"""The files of scripts/crash_loop.sh.
  crash_loop_files.py history PATH COUNT
      writes a history of COUNT records whose keys start at 1000, so that the program's
      first reload renumbers every record
  crash_loop_files.py check BEFORE LOG INI OLD_IP NEW_IP
      prints one word for a killed run: WHOLE (with what the run got done: rewritten,
      appended, saved), BROKEN or LOST, and why"""
import re
import sys

RECORD = re.compile(rb"^-?\d+,(0|1|2|11|12|20),[^,\r\n]*,[^,\r\n]*,[^\r\n]*$")


def write_history(path, count):
    with open(path, "wb") as f:
        for i in range(count):
            f.write(b"%d,20,2019/07/04,09:05:03,10.%d.%d.%d\r\n" % (1000 + i, i >> 16, (i >> 8) & 255, i & 255))


def records(path):
    data = open(path, "rb").read()
    if data and not data.endswith(b"\r\n"):
        return None, "log.csv ends in a torn line"
    lines = data.split(b"\r\n")[:-1]
    for line in lines:
        if not RECORD.match(line):
            return None, "log.csv holds a broken line: %r" % line[:80]
    return lines, None


def verdict(before_path, log_path, ini_path, old_ip, new_ip):
    before, _ = records(before_path)
    after, problem = records(log_path)
    if problem:
        return "BROKEN " + problem
    renumbered = bool(after) and after[0].startswith(b"0,")
    before = [line.split(b",", 1)[1] for line in before]
    after = [line.split(b",", 1)[1] for line in after]
    if after[:len(before)] != before:
        return "LOST records of the history are missing or changed"
    extra = after[len(before):]
    if any(not re.match(rb"^(1|2|0|11|12|20),", e) for e in extra):
        return "BROKEN unexpected records appended"
    try:
        ini = open(ini_path, "rb").read()
    except OSError:
        return "BROKEN lvn.ini is missing"
    if not ini.startswith(b"[Value]\r\n") or b"\r\nIpUrl=http://127.0.0.2/lvn.php\r\n" not in ini:
        return "BROKEN lvn.ini lost its settings: %r" % ini[:120]
    ip = re.search(rb"\r\nIpHoz=([^\r\n]*)\r\n", ini)
    if not ip or ip.group(1).decode() not in (old_ip, new_ip):
        return "BROKEN lvn.ini holds an address it never had"
    changed = any(e.startswith(b"20,") for e in extra)
    return " ".join(["WHOLE", "rewritten" if renumbered else "", "appended" if changed else "",
                     "saved" if ip.group(1).decode() == new_ip else ""])


def main(argv):
    if len(argv) == 3 and argv[0] == "history":
        write_history(argv[1], int(argv[2]))
    elif len(argv) == 6 and argv[0] == "check":
        print(verdict(*argv[1:]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])

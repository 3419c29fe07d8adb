#!/usr/bin/env python3
"""Checks of tests/release/release_test.sh on the release's files; each says why when it
fails, and exits 1.
  release_checks.py zip ZIP TOP         the zip holds Lorvane/ with the exe, readme.txt,
                                        lvn.ini and TOP's help/ and server/, as they are
  release_checks.py readme ZIP VERSION  readme.txt and the portable lvn.ini are Shift-JIS
                                        with CR LF; readme.txt names what it must
  release_checks.py shortcut LNK PATH   the shortcut LNK names the full path PATH"""
import os
import sys
import zipfile


def zip_listing(path, top):
    with zipfile.ZipFile(path) as z:
        names = set(z.namelist())
        expected = {"Lorvane/", "Lorvane/lorvane.exe", "Lorvane/readme.txt", "Lorvane/lvn.ini"}
        for folder in ("help", "server"):
            for root, _, files in os.walk(os.path.join(top, folder)):
                rel = os.path.relpath(root, top)
                expected.add("Lorvane/" + rel + "/")
                expected.update("Lorvane/" + rel + "/" + f for f in files)
        if names != expected:
            return "unexpected: %s missing: %s" % (sorted(names - expected), sorted(expected - names))
        for folder in ("help", "server"):
            for name in names:
                if name.startswith("Lorvane/" + folder + "/") and not name.endswith("/"):
                    with open(os.path.join(top, name[len("Lorvane/"):]), "rb") as f:
                        if z.read(name) != f.read():
                            return "differs from the source: " + name
    return None


def readme(path, version):
    data = zipfile.ZipFile(path).read("Lorvane/readme.txt")
    text = data.decode("cp932")
    try:
        data.decode("utf-8")
        return "readme.txt is UTF-8"
    except UnicodeDecodeError:
        pass
    if data.count(b"\n") != data.count(b"\r\n") or not data.endswith(b"\r\n"):
        return "readme.txt has a line end other than CR LF"
    for needed in (version, "lorvane.exe", "%APPDATA%\\Lorvane", "アンインストール"):
        if needed not in text:
            return "readme.txt does not say " + needed
    # The portable copy's lvn.ini: comments only, in the settings file's own form.
    ini = zipfile.ZipFile(path).read("Lorvane/lvn.ini")
    lines = ini.decode("cp932").split("\r\n")
    if ini.count(b"\n") != ini.count(b"\r\n") or lines[-1] != "" or \
            not all(line.startswith(";") for line in lines[:-1]):
        return "lvn.ini is not Shift-JIS comment lines with CR LF"
    return None


def shortcut(path, target):
    if not os.path.isfile(path):
        return "no shortcut " + path
    data = open(path, "rb").read()
    if target.encode("ascii") in data or target.encode("utf-16-le") in data:
        return None
    return "the shortcut does not name " + target


CHECKS = {"zip": zip_listing, "readme": readme, "shortcut": shortcut}

if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in CHECKS:
        sys.exit(__doc__)
    problem = CHECKS[sys.argv[1]](*sys.argv[2:])
    if problem:
        print("  " + problem)
    sys.exit(1 if problem else 0)

#!/usr/bin/env python3
"""Checks the includes of every file under src/ against the layer table of docs/CONVENTIONS.md:
an include "folder/..." must go to the file's own folder or to one its folder may use, and
a core file (no "_win" at the end of its name, compiled natively) must include nothing of
Windows. Prints one line per offence and exits 1; on success prints a one-line summary.
  scripts/check_layers.py [SRC_DIR]"""
import os
import re
import sys

CONVENTIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "docs",
                           "CONVENTIONS.md")
TICKED = re.compile(r"`([^`]+)`")


def read_layers(path):
    """The layer table of docs/CONVENTIONS.md, its one source: each folder with the folders
    it may include besides itself, and the core folders. A new folder goes there first."""
    allowed, core = {}, []
    with open(path, encoding="utf-8") as f:
        lines = [line.strip() for line in f]
    start = lines.index("| Folder | Layer | May include |") + 2
    end = next(i for i in range(start, len(lines)) if not lines[i].startswith("|"))
    for row in lines[start:end]:
        folders, layer, may = [cell.strip() for cell in row.strip("|").split("|")]
        names = TICKED.findall(folders)
        if layer == "core":
            core += names
        if may == "all of the above":
            uses = list(allowed)
        else:
            uses = (list(core) if "the core folders" in may else []) + TICKED.findall(may)
        for name in names:
            allowed[name] = uses
    return allowed


ALLOWED = read_layers(CONVENTIONS)

# Headers only Windows has; any <win*.h> counts too.
WINDOWS_HEADERS = {
    "commctrl.h", "commdlg.h", "dbghelp.h", "direct.h", "dwmapi.h", "imm.h", "intsafe.h",
    "io.h", "iphlpapi.h", "knownfolders.h", "mmsystem.h", "objbase.h", "objidl.h", "ole2.h",
    "oleacc.h", "process.h", "psapi.h", "richedit.h", "sddl.h", "shellapi.h", "shlobj.h",
    "shlwapi.h", "strsafe.h", "tchar.h", "tlhelp32.h", "userenv.h", "uxtheme.h",
    "versionhelpers.h", "ws2tcpip.h",
}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def layer_of(path):
    """The layer a path relative to src/ lies in, or None for a folder the table lacks."""
    parts = path.split("/")
    if len(parts) < 2:
        return None
    name = "/".join(parts[:2]) if parts[0] == "windows" and len(parts) > 2 else parts[0]
    return name if name in ALLOWED else None


def is_windows_header(name):
    base = name.lower().rsplit("/", 1)[-1]
    return base in WINDOWS_HEADERS or (base.startswith("win") and base.endswith(".h"))


def rules_broken(layer, core, quote, name):
    """What an include of name (between quote and its mate) breaks in a file of layer."""
    if quote == "<":
        return ["a core file includes a Windows header"] if core and is_windows_header(name) else []
    broken = ["a core file includes a _win header"] if core and name.endswith("_win.h") else []
    if "/" not in name or layer is None:
        return broken
    if ".." in name.split("/"):
        return broken + ["a path with '..': name the folder under src/"]
    target = layer_of(name)
    if target is None:
        broken.append("a folder the layer table does not know")
    elif target != layer and target not in ALLOWED[layer]:
        broken.append("%s may include only %s" % (layer, ", ".join([layer] + ALLOWED[layer])))
    return broken


def check(src):
    offences = []
    checked = 0
    for root, dirs, files in os.walk(src):
        dirs.sort()
        for file in sorted(f for f in files if f.endswith((".h", ".cpp"))):
            full = os.path.join(root, file)
            shown = os.path.relpath(full, os.path.dirname(src)).replace(os.sep, "/")
            layer = layer_of(os.path.relpath(full, src).replace(os.sep, "/"))
            core = not file.endswith(("_win.cpp", "_win.h"))
            if layer is None:
                offences.append("%s: in a folder the layer table does not know" % shown)
            with open(full, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    checked += 1
                    quote, name = match.groups()
                    close = ">" if quote == "<" else '"'
                    for rule in rules_broken(layer, core, quote, name):
                        offences.append("%s:%d: #include %s%s%s: %s" %
                                        (shown, number, quote, name, close, rule))
    return checked, offences


def main():
    top = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    src = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(top, "src"))
    checked, offences = check(src)
    for offence in offences:
        print(offence)
    print("layers: %d includes checked, %d offences" % (checked, len(offences)))
    return 1 if offences else 0


if __name__ == "__main__":
    sys.exit(main())

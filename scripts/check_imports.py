#!/usr/bin/env python3
"""Checks that a Windows program calls no function that takes or returns text in the
system's code page, whose texts would read wrong wherever that code page is not the one
they were written in. Lists the functions the program imports (its import and delay-import
tables) and those it binds by name at run time (the GetProcAddress names among its
read-only data); an `...A` function, or one that stands for the system's code page, is an
offence unless ALLOWED names it. Allowed functions are those the MinGW runtime brings in:
when objects of the program's own are given, any of them that refers to one is an offence
too. Prints each offence and exits 1; on success prints a one-line summary.
  scripts/check_imports.py EXE [OBJECT_OR_ARCHIVE...]"""
import re
import struct
import subprocess
import sys

# Imported by the MinGW runtime, never with the program's text.
ALLOWED = {
    "GetStartupInfoA": "the C runtime's start-up reads only the window's show state from it",
    "CreateEventA": "winpthreads makes its unnamed events with it",
    "CreateSemaphoreA": "winpthreads makes its unnamed semaphores with it",
    "OutputDebugStringA": "winpthreads writes its own ASCII debug messages with it",
    "FormatMessageA": "libstdc++'s std::system_error texts; the program's come from FormatMessageW",
}

# Functions without an A in their name that still stand for the system's code page.
SYSTEM_CODE_PAGE = {
    "GetACP": "the system's code page itself",
    "GetOEMCP": "the OEM code page itself",
    "IsDBCSLeadByte": "lead bytes of the system's code page (IsDBCSLeadByteEx names its own)",
    "AreFileApisANSI": "whether file names go in the system's code page",
    "SetFileApisToANSI": "file names in the system's code page",
    "SetFileApisToOEM": "file names in the OEM code page",
    "_getmbcp": "the C runtime's multibyte code page",
    "_setmbcp": "the C runtime's multibyte code page",
}
# The C runtime's narrow path and environment functions, imported only (their names are
# common words in read-only data).
CRT_NARROW = {
    "fopen", "freopen", "_open", "_sopen", "_access", "_stat", "_stat32", "_stat64",
    "_stati64", "_mkdir", "_rmdir", "_chdir", "_getcwd", "_fullpath", "remove", "rename",
    "_unlink", "system", "_popen", "getenv", "_putenv", "_findfirst", "_findfirst64",
    "_findnext", "_findnext64", "_spawnv", "_spawnvp", "_execv", "_execvp",
}

ANSI_NAME = re.compile(r"[a-z0-9]A$")
# A NUL-terminated identifier in read-only data, as GetProcAddress is given.
BOUND_NAME = re.compile(rb"(?<![A-Za-z0-9_])([A-Za-z_][A-Za-z0-9_]*[a-z0-9]A|"
                        + b"|".join(n.encode() for n in SYSTEM_CODE_PAGE) + rb")\0")


def offence(name, imported):
    """Why name takes text in the system's code page, or None."""
    if name in SYSTEM_CODE_PAGE:
        return SYSTEM_CODE_PAGE[name]
    if imported and name in CRT_NARROW:
        return "the C runtime reads its text in the system's code page"
    if ANSI_NAME.search(name):
        return "an A function: text in the system's code page"
    return None


class Image:
    def __init__(self, data):
        if data[:2] != b"MZ":
            raise ValueError("not a PE image")
        at = struct.unpack_from("<I", data, 0x3C)[0]
        if data[at:at + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        sections, optional_size = struct.unpack_from("<H12xH", data, at + 6)
        optional = at + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        if magic not in (0x10B, 0x20B):
            raise ValueError("unknown optional header %#x" % magic)
        self.wide = magic == 0x20B
        directories = optional + (112 if self.wide else 96)
        count = struct.unpack_from("<I", data, directories - 4)[0]
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i)
                            for i in range(count)]
        self.sections = []
        for i in range(sections):
            header = optional + optional_size + 40 * i
            name, size, rva, raw_size, raw = struct.unpack_from("<8sIIII", data, header)
            self.sections.append((name.rstrip(b"\0").decode("ascii", "replace"), rva,
                                  max(size, raw_size), raw, raw_size))
        self.data = data

    def offset(self, rva):
        for _, start, size, raw, _ in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("address %#x lies in no section" % rva)

    def text(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii", "replace")

    def thunks(self, rva):
        size, high = (8, 1 << 63) if self.wide else (4, 1 << 31)
        at = self.offset(rva)
        while True:
            value = int.from_bytes(self.data[at:at + size], "little")
            if value == 0:
                return
            if not value & high:
                yield self.text(value + 2)  # past the hint
            at += size

    def imports(self):
        """(dll, function) for every function imported by name."""
        found = []
        for index, entry_size, fields in ((1, 20, "<IIIII"), (13, 32, "<IIIIIIII")):
            if index >= len(self.directories) or self.directories[index][0] == 0:
                continue
            at = self.offset(self.directories[index][0])
            while True:
                entry = struct.unpack_from(fields, self.data, at)
                if not any(entry):
                    break
                if index == 1:
                    names, dll = entry[0] or entry[4], entry[3]
                else:
                    dll, names = entry[1], entry[4]
                found += [(self.text(dll), name) for name in self.thunks(names)]
                at += entry_size
        return found

    def bound_names(self):
        """Function-like names among the read-only data."""
        names = set()
        for name, _, _, raw, raw_size in self.sections:
            if name.startswith(".rdata"):
                for match in BOUND_NAME.finditer(self.data[raw:raw + raw_size]):
                    names.add(match.group(1).decode("ascii"))
        return names


def referred_by(objects):
    """Function name -> the first of the program's own objects that refers to it."""
    nm = subprocess.run(["x86_64-w64-mingw32-nm", "-A", "-u"] + objects,
                        capture_output=True, text=True, check=True)
    refs = {}
    for line in nm.stdout.splitlines():
        where, _, symbol = line.rpartition(" ")
        refs.setdefault(symbol.removeprefix("__imp_"), where.split(" ")[0].rstrip(":"))
    return refs


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__)
    exe = argv[1]
    with open(exe, "rb") as f:
        image = Image(f.read())
    imports = image.imports()
    if not imports:
        print("%s: no imported function found; the import table was not read" % exe)
        return 1
    bound = image.bound_names() - {name for _, name in imports}
    refs = referred_by(argv[2:]) if len(argv) > 2 else {}

    offences = []
    for dll, name in sorted(imports, key=lambda i: (i[0].lower(), i[1])):
        why = offence(name, True)
        if why and name not in ALLOWED:
            offences.append("%s %s: %s" % (dll, name, why))
    for name in sorted(bound):
        why = offence(name, False)
        if why and name not in ALLOWED:
            offences.append("%s (bound by name at run time): %s" % (name, why))
    for name in sorted(ALLOWED):
        if name in refs:
            offences.append("%s: allowed for the runtime only, but %s refers to it"
                            % (name, refs[name]))
    for line in offences:
        print("%s: %s" % (exe, line))
    allowed = sorted(n for n in ALLOWED if n in {name for _, name in imports} | bound)
    summary = "%d imported functions" % len(imports)
    if offences:
        print("%s: %s; %d take or return text in the system's code page (listed above)"
              % (exe, summary, len(offences)))
        return 1
    print("%s: %s; none takes text in the system's code page (allowed for the runtime: %s)"
          % (exe, summary, ", ".join(allowed) or "none"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/python3
"""Writes the two repair payloads that the program carries as resources.

Writes, beside the sources of the repair module:
  src/repair/drive_open_payload   the batch script that strips and deletes AUTORUN.INF on
                                  every drive letter from C: to Z: (ASCII, CR LF, 195 bytes);
  src/repair/show_hidden_payload  the registry script that restores the settings for showing
                                  hidden files (UTF-16LE with FF FE, CR LF, 2842 bytes).

Run with Debian's /usr/bin/python3:
    /usr/bin/python3 scripts/make_payloads.py
"""

import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REPAIR_DIR = os.path.join(ROOT, "src", "repair")

DRIVE_OPEN_LINES = [
    "@echo off",
    "",
    "FOR %%a IN ( C: D: E: F: G: H: I: J: K: L: M: N: O: P: Q: R: S: T: U: V: W: X: Y: Z: ) DO  "
    "ATTRIB -R -H -S -A %%a\\AUTORUN.INF & DEL /F /Q /A -R -H -S -A %%a\\AUTORUN.INF",
    "",
    "DEL %0",
    "",
]

FOLDER_HIDDEN = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\Folder\\Hidden"
ADVANCED_USER = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced"
ADVANCED_PATH = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced"

# Key blocks in file order: (key, [(value name, kind, data)]).
# Kinds: "sz" string, "expand_sz" expandable string, "dword" 32-bit integer.
SHOW_HIDDEN_BLOCKS = [
    (FOLDER_HIDDEN, [
        ("Text", "sz", "@shell32.dll,-30499"),
        ("Type", "sz", "group"),
        ("Bitmap", "expand_sz", "%SystemRoot%\\system32\\shell32.dll,4"),
        ("HelpID", "sz", "shell.hlp#51131"),
    ]),
    (FOLDER_HIDDEN + "\\NOHIDDEN", [
        ("RegPath", "sz", ADVANCED_PATH),
        ("Text", "sz", "@shell32.dll,-30501"),
        ("Type", "sz", "radio"),
        ("CheckedValue", "dword", 2),
        ("ValueName", "sz", "Hidden"),
        ("DefaultValue", "dword", 2),
        ("HKeyRoot", "dword", 0x80000001),
        ("HelpID", "sz", "shell.hlp#51104"),
    ]),
    (FOLDER_HIDDEN + "\\SHOWALL", [
        ("RegPath", "sz", ADVANCED_PATH),
        ("Text", "sz", "@shell32.dll,-30500"),
        ("Type", "sz", "radio"),
        ("CheckedValue", "dword", 1),
        ("ValueName", "sz", "Hidden"),
        ("DefaultValue", "dword", 2),
        ("HKeyRoot", "dword", 0x80000001),
        ("HelpID", "sz", "shell.hlp#51105"),
    ]),
    (ADVANCED_USER, [("ShowSuperHidden", "dword", 1)]),
    (ADVANCED_USER, [("Hidden", "dword", 1)]),
]

# Pairs on each line of a wrapped hex(2) value: 21 after the value name, then 25, 25 and the rest.
HEX_LINE_PAIRS = [21, 25, 25]


def hex_expand_lines(name, text):
    """The lines of an expandable string written as hex(2): UTF-16LE bytes and two zero bytes."""
    data = (text.encode("utf-16-le") + b"\0\0")
    pairs = ["%02x" % b for b in data]
    lines = []
    start = 0
    for count in HEX_LINE_PAIRS:
        if start + count >= len(pairs):
            break
        lines.append(",".join(pairs[start:start + count]) + ",\\")
        start += count
    lines.append(",".join(pairs[start:]))
    lines[0] = '"%s"=hex(2):' % name + lines[0]
    return [lines[0]] + ["  " + line for line in lines[1:]]


def value_lines(name, kind, data):
    if kind == "sz":
        return ['"%s"="%s"' % (name, data.replace("\\", "\\\\"))]
    if kind == "dword":
        return ['"%s"=dword:%08x' % (name, data)]
    if kind == "expand_sz":
        return hex_expand_lines(name, data)
    raise ValueError(kind)


def drive_open_payload():
    return "".join(line + "\r\n" for line in DRIVE_OPEN_LINES).encode("ascii")


def show_hidden_payload():
    lines = ["Windows Registry Editor Version 5.00", ""]
    for index, (key, values) in enumerate(SHOW_HIDDEN_BLOCKS):
        if index:
            lines.append("")
        lines.append("[%s]" % key)
        for name, kind, data in values:
            lines.extend(value_lines(name, kind, data))
    return b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le")


def write(name, data, expected_size):
    if len(data) != expected_size:
        sys.exit("%s: %d bytes, expected %d" % (name, len(data), expected_size))
    with open(os.path.join(REPAIR_DIR, name), "wb") as out:
        out.write(data)
    print("%s: %d bytes" % (name, len(data)))


def main():
    write("drive_open_payload", drive_open_payload(), 195)
    write("show_hidden_payload", show_hidden_payload(), 2842)


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Waits until every named X selection has an owner on $DISPLAY.

Tray, window and compositing managers announce themselves by owning a
selection (_NET_SYSTEM_TRAY_S0, WM_S0, _NET_WM_CM_S0), so an owner means the
manager is ready. Uses libX11 through ctypes to need no extra package.

Usage: x-wait-selection.py TIMEOUT_SECONDS SELECTION[:PID]...
Exits 0 when all are owned, 1 on timeout or when the process PID that should
own a selection has ended, 2 when the display cannot be opened.
"""

import ctypes
import ctypes.util
import sys
import time


def running(pid):
    """True while process `pid` exists and is no zombie."""
    try:
        with open("/proc/%d/stat" % pid, encoding="ascii", errors="replace") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except (OSError, IndexError):
        return False


def main():
    if len(sys.argv) < 3:
        sys.stderr.write("usage: x-wait-selection.py TIMEOUT SELECTION[:PID]...\n")
        return 2
    deadline = time.monotonic() + float(sys.argv[1])
    xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XGetSelectionOwner.restype = ctypes.c_ulong
    xlib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = xlib.XOpenDisplay(None)
    if not display:
        sys.stderr.write("x-wait-selection: cannot open the display\n")
        return 2
    owners = {}
    for arg in sys.argv[2:]:
        name, _, pid = arg.partition(":")
        owners[name] = int(pid) if pid else None
    atoms = {name: xlib.XInternAtom(display, name.encode(), 0) for name in owners}
    missing = list(atoms)
    while True:
        missing = [name for name in missing if xlib.XGetSelectionOwner(display, atoms[name]) == 0]
        ended = [name for name in missing if owners[name] and not running(owners[name])]
        if not missing or ended or time.monotonic() > deadline:
            break
        time.sleep(0.01)
    xlib.XCloseDisplay(display)
    if missing:
        sys.stderr.write("x-wait-selection: no owner for " + " ".join(missing) + "\n")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

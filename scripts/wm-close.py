#!/usr/bin/python3
"""Asks the window manager way to close every top-level window of a process:
sends WM_PROTOCOLS/WM_DELETE_WINDOW as a ClientMessage (what a close button
does), unlike destroying the window.  Usage: wm-close.py PID [TITLE]"""
import sys

from Xlib import X, display, protocol


def windows_of(disp, pid, title):
    root = disp.screen().root
    pid_atom = disp.intern_atom("_NET_WM_PID")
    stack = [root]
    found = []
    while stack:
        win = stack.pop()
        try:
            prop = win.get_full_property(pid_atom, X.AnyPropertyType)
            name = win.get_wm_name()
            children = win.query_tree().children
        except Exception:
            continue
        if prop and prop.value and prop.value[0] == pid and (title is None or name == title):
            found.append(win)
        stack.extend(children)
    return found


def main():
    pid = int(sys.argv[1])
    title = sys.argv[2] if len(sys.argv) > 2 else None
    disp = display.Display()
    protocols = disp.intern_atom("WM_PROTOCOLS")
    delete = disp.intern_atom("WM_DELETE_WINDOW")
    wins = windows_of(disp, pid, title)
    for win in wins:
        event = protocol.event.ClientMessage(
            window=win, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        win.send_event(event)
    disp.flush()
    return 0 if wins else 1


if __name__ == "__main__":
    sys.exit(main())

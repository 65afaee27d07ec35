#!/usr/bin/python3
"""Drives the widgets of a running GTK+ 2 program from outside, through the
accessibility bus, the way a user would: nothing of the program is linked.

The program must run with GTK_MODULES=gail:atk-bridge in a D-Bus session
that can activate the accessibility bus (scripts/testenv.sh --dbus), and
this script must run with the Debian python (/usr/bin/python3, pyatspi).

    a11y_driver.py [--pid PID] [--timeout SECONDS] [--output FILE] COMMAND ARGS...

    click WINDOW NAME     activates the button (push, toggle or check box)
                          named NAME in the window titled WINDOW
    select WINDOW ENTRY   makes ENTRY the chosen entry of the first
                          drop-down list of WINDOW that offers it
    label WINDOW [INDEX]  prints the text of the INDEX-th label (0, in
                          widget order) of WINDOW
    wait WINDOW           returns once a window titled WINDOW exists
    tree [WINDOW]         prints the widget tree (for writing tests)

--pid takes only windows of that process; --output writes what a command
prints into FILE instead of standard output (which the toolkit's libraries
may share with their warnings). Each command retries until its
widget exists or the timeout (10 s) has passed. Exit status: 0 done, 1 the
widget did not turn up or refused the action (a message on standard
error), 2 wrong usage.
"""

import argparse
import sys
import time

import pyatspi

BUTTON_ROLES = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
                pyatspi.ROLE_RADIO_BUTTON)
WINDOW_ROLES = (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT, pyatspi.ROLE_WINDOW)


class NotFound(Exception):
    pass


def children(accessible):
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        if child is not None:
            yield child


def descendants(accessible):
    """Every accessible below `accessible`, depth first in widget order."""
    for child in children(accessible):
        yield child
        yield from descendants(child)


def windows(title, pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for application in children(desktop):
        try:
            if pid is not None and application.get_process_id() != pid:
                continue
            for window in children(application):
                if window.getRole() in WINDOW_ROLES and (title is None or window.name == title):
                    yield window
        except Exception:  # an application that ended while it was walked
            continue


def find_in_windows(title, pid, match, what):
    for window in windows(title, pid):
        for accessible in descendants(window):
            if match(accessible):
                return accessible
    raise NotFound(what)


def retry(timeout, action):
    """Runs `action` until it stops raising NotFound or `timeout` passes."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            return action()
        except NotFound:
            if time.monotonic() >= deadline:
                raise
        except Exception:  # widgets going away under the walk
            if time.monotonic() >= deadline:
                raise
        time.sleep(0.05)


def click(args):
    def action():
        button = find_in_windows(
            args.window, args.pid,
            lambda a: a.getRole() in BUTTON_ROLES and a.name == args.name,
            f'no button "{args.name}" in a window "{args.window}"')
        actions = button.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        if not actions.doAction(names.index("click") if "click" in names else 0):
            raise NotFound(f'the button "{args.name}" refused the click')
    retry(args.timeout, action)


def select(args):
    def action():
        for window in windows(args.window, args.pid):
            for combo in descendants(window):
                if combo.getRole() != pyatspi.ROLE_COMBO_BOX:
                    continue
                # A GtkComboBox lists its entries as the items of its menu;
                # choosing child i through the selection interface makes
                # entry i the active one without popping the menu up.
                for menu in children(combo):
                    entries = [item.name for item in children(menu)]
                    if args.entry in entries:
                        if not combo.querySelection().selectChild(entries.index(args.entry)):
                            raise NotFound(f'the list refused "{args.entry}"')
                        return
        raise NotFound(f'no list offering "{args.entry}" in a window "{args.window}"')

    retry(args.timeout, action)
    # The toolkit applies the choice from its own loop; wait until the list
    # shows it so that a following command sees the new state.
    def shown():
        find_in_windows(args.window, args.pid,
                        lambda a: a.getRole() == pyatspi.ROLE_COMBO_BOX and a.name == args.entry,
                        f'the list does not show "{args.entry}"')
    retry(args.timeout, shown)


def label(args):
    def action():
        for window in windows(args.window, args.pid):
            labels = [a for a in descendants(window) if a.getRole() == pyatspi.ROLE_LABEL]
            if args.index < len(labels):
                return labels[args.index].queryText().getText(0, -1)
        raise NotFound(f'no label {args.index} in a window "{args.window}"')
    args.output.write(retry(args.timeout, action) + "\n")


def wait(args):
    def action():
        for _ in windows(args.window, args.pid):
            return
        raise NotFound(f'no window "{args.window}"')
    retry(args.timeout, action)


def tree(args):
    def show(accessible, depth):
        args.output.write("  " * depth + f"{accessible.getRoleName()} {accessible.name!r}\n")
        for child in children(accessible):
            show(child, depth + 1)
    for window in windows(args.window, args.pid):
        show(window, 0)


def main():
    parser = argparse.ArgumentParser(description="Drives a GTK+ 2 program's widgets.")
    parser.add_argument("--pid", type=int)
    parser.add_argument("--timeout", type=float, default=10.0)
    parser.add_argument("--output", type=argparse.FileType("w", encoding="utf-8"),
                        default=sys.stdout)
    commands = parser.add_subparsers(dest="command", required=True)
    command = commands.add_parser("click")
    command.add_argument("window")
    command.add_argument("name")
    command.set_defaults(run=click)
    command = commands.add_parser("select")
    command.add_argument("window")
    command.add_argument("entry")
    command.set_defaults(run=select)
    command = commands.add_parser("label")
    command.add_argument("window")
    command.add_argument("index", type=int, nargs="?", default=0)
    command.set_defaults(run=label)
    command = commands.add_parser("wait")
    command.add_argument("window")
    command.set_defaults(run=wait)
    command = commands.add_parser("tree")
    command.add_argument("window", nargs="?")
    command.set_defaults(run=tree)
    args = parser.parse_args()
    try:
        args.run(args)
    except NotFound as problem:
        print(f"a11y_driver: {problem}", file=sys.stderr)
        return 1
    except Exception as problem:  # a broken bus connection, say
        print(f"a11y_driver: {type(problem).__name__}: {problem}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

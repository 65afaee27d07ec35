#!/usr/bin/python3
"""Desktop notification server that records instead of drawing.

Owns org.freedesktop.Notifications on the session bus and appends one JSON
object per line to the log file for every Notify and CloseNotification call,
so tests can check exactly what a program asked the desktop to show. Like a
real server it reports a bubble closed (NotificationClosed) when it is
closed by a call or when its expire timeout has passed.

Usage: notify-recorder.py LOG_FILE [READY_FILE] [--capabilities LIST] [--replace]
READY_FILE is created once the bus name is owned. --capabilities gives the
comma-separated list GetCapabilities answers ("body" by default; servers that
parse markup in bodies announce "body-markup"). --replace takes the name over
from a recorder already running, which then ends with status 0.
"""

import argparse
import json
import sys

from gi.repository import Gio, GLib

BUS_NAME = "org.freedesktop.Notifications"
OBJECT_PATH = "/org/freedesktop/Notifications"

INTROSPECTION = """
<node>
  <interface name="org.freedesktop.Notifications">
    <method name="GetServerInformation">
      <arg direction="out" type="s" name="name"/>
      <arg direction="out" type="s" name="vendor"/>
      <arg direction="out" type="s" name="version"/>
      <arg direction="out" type="s" name="protocol_version"/>
    </method>
    <method name="GetCapabilities">
      <arg direction="out" type="as" name="capabilities"/>
    </method>
    <method name="Notify">
      <arg direction="in" type="s" name="app_name"/>
      <arg direction="in" type="u" name="replaces_id"/>
      <arg direction="in" type="s" name="app_icon"/>
      <arg direction="in" type="s" name="summary"/>
      <arg direction="in" type="s" name="body"/>
      <arg direction="in" type="as" name="actions"/>
      <arg direction="in" type="a{sv}" name="hints"/>
      <arg direction="in" type="i" name="expire_timeout"/>
      <arg direction="out" type="u" name="id"/>
    </method>
    <method name="CloseNotification">
      <arg direction="in" type="u" name="id"/>
    </method>
    <signal name="NotificationClosed">
      <arg type="u" name="id"/>
      <arg type="u" name="reason"/>
    </signal>
    <signal name="ActionInvoked">
      <arg type="u" name="id"/>
      <arg type="s" name="action_key"/>
    </signal>
  </interface>
</node>
"""

# Reason codes of NotificationClosed.
EXPIRED = 1
CLOSED_BY_CALL = 3


class Recorder:
    def __init__(self, log_path, capabilities):
        self.log = open(log_path, "a", encoding="utf-8")
        self.capabilities = capabilities
        self.last_id = 0
        self.open_ids = set()

    def write(self, record):
        self.log.write(json.dumps(record, ensure_ascii=False) + "\n")
        self.log.flush()

    def notify(self, app_name, replaces_id, icon, summary, body, hints, expire_timeout):
        if replaces_id != 0 and replaces_id in self.open_ids:
            new_id = replaces_id
        else:
            self.last_id += 1
            new_id = self.last_id
        self.open_ids.add(new_id)
        urgency = hints.get("urgency")
        self.write({
            "method": "Notify",
            "app_name": app_name,
            "replaces_id": replaces_id,
            "icon": icon,
            "summary": summary,
            "body": body,
            "urgency": int(urgency) if urgency is not None else None,
            "expire_timeout": expire_timeout,
            "id": new_id,
        })
        return new_id

    def closed(self, connection, notification_id, reason):
        if notification_id in self.open_ids:
            self.open_ids.discard(notification_id)
            connection.emit_signal(None, OBJECT_PATH, BUS_NAME, "NotificationClosed",
                                   GLib.Variant("(uu)", (notification_id, reason)))

    def close(self, connection, notification_id):
        self.write({"method": "CloseNotification", "id": notification_id})
        self.closed(connection, notification_id, CLOSED_BY_CALL)

    def expire_later(self, connection, notification_id, expire_timeout):
        if expire_timeout > 0:
            GLib.timeout_add(expire_timeout,
                             lambda: self.closed(connection, notification_id, EXPIRED) or False)

    def on_method_call(self, connection, _sender, _path, _interface, method, params, invocation):
        if method == "GetServerInformation":
            invocation.return_value(
                GLib.Variant("(ssss)", ("orvo-notify-recorder", "Orvo M tests", "1.0", "1.2")))
        elif method == "GetCapabilities":
            invocation.return_value(GLib.Variant("(as)", (self.capabilities,)))
        elif method == "Notify":
            (app_name, replaces_id, icon, summary, body, _actions, hints,
             expire_timeout) = params.unpack()
            new_id = self.notify(app_name, replaces_id, icon, summary, body, hints,
                                 expire_timeout)
            invocation.return_value(GLib.Variant("(u)", (new_id,)))
            self.expire_later(connection, new_id, expire_timeout)
        elif method == "CloseNotification":
            (notification_id,) = params.unpack()
            self.close(connection, notification_id)
            invocation.return_value(None)
        else:
            invocation.return_dbus_error("org.freedesktop.DBus.Error.UnknownMethod",
                                         "no method " + method)


def main():
    parser = argparse.ArgumentParser(prog="notify-recorder.py")
    parser.add_argument("log_file")
    parser.add_argument("ready_file", nargs="?")
    parser.add_argument("--capabilities", default="body")
    parser.add_argument("--replace", action="store_true")
    args = parser.parse_args()
    recorder = Recorder(args.log_file, [c for c in args.capabilities.split(",") if c])
    ready_file = args.ready_file
    loop = GLib.MainLoop()
    status = {"code": 0, "owned": False}

    connection = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    node = Gio.DBusNodeInfo.new_for_xml(INTROSPECTION)
    connection.register_object(OBJECT_PATH, node.interfaces[0], recorder.on_method_call,
                               None, None)

    def on_acquired(_connection, _name):
        status["owned"] = True
        if ready_file:
            with open(ready_file, "w", encoding="utf-8") as ready:
                ready.write("ready\n")

    def on_lost(_connection, _name):
        if not status["owned"]:  # once owned, the name was handed to a --replace recorder
            sys.stderr.write("notify-recorder: could not own " + BUS_NAME + "\n")
            status["code"] = 1
        loop.quit()

    flags = Gio.BusNameOwnerFlags.DO_NOT_QUEUE | Gio.BusNameOwnerFlags.ALLOW_REPLACEMENT
    if args.replace:
        flags |= Gio.BusNameOwnerFlags.REPLACE
    Gio.bus_own_name_on_connection(connection, BUS_NAME, flags, on_acquired, on_lost)
    for signum in (2, 15):  # SIGINT, SIGTERM: leave the loop so the log is closed cleanly
        GLib.unix_signal_add(GLib.PRIORITY_HIGH, signum, lambda *_: loop.quit() or False)
    loop.run()
    recorder.log.close()
    return status["code"]


if __name__ == "__main__":
    sys.exit(main())

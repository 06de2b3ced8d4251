#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
"""The desktop portal's settings, as far as the viewer reads them, on the session bus.

    portal_double.py SCHEME

Owns org.freedesktop.portal.Desktop and offers org.freedesktop.portal.Settings with Read,
ReadOne and the SettingChanged signal for one setting, org.freedesktop.appearance color-scheme
(0 no preference, 1 dark, 2 light), starting as SCHEME. Prints "ready" once it owns the name;
each line read then is a new scheme, set and announced; "reads" prints how often it was read.
"""

import sys
import threading

import gi
gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

INTERFACE = """
<node><interface name="org.freedesktop.portal.Settings">
  <method name="Read"><arg type="s" direction="in"/><arg type="s" direction="in"/>
    <arg type="v" direction="out"/></method>
  <method name="ReadOne"><arg type="s" direction="in"/><arg type="s" direction="in"/>
    <arg type="v" direction="out"/></method>
  <signal name="SettingChanged"><arg type="s"/><arg type="s"/><arg type="v"/></signal>
</interface></node>"""
PATH = "/org/freedesktop/portal/desktop"
SETTING = ("org.freedesktop.appearance", "color-scheme")


def main():
    scheme = [int(sys.argv[1])]
    reads = [0]
    loop = GLib.MainLoop()
    info = Gio.DBusNodeInfo.new_for_xml(INTERFACE).interfaces[0]

    def call(connection, sender, path, interface, method, parameters, invocation):
        if tuple(parameters.unpack()) != SETTING:
            invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound", "no such key")
            return
        reads[0] += 1
        value = GLib.Variant("u", scheme[0])
        # Read, of the first version, wraps the value once more, as the real portal does.
        if method == "Read":
            value = GLib.Variant("v", value)
        invocation.return_value(GLib.Variant("(v)", (value,)))

    def announce(connection, line):
        if line.strip() == "reads":
            print(reads[0], flush=True)
            return
        scheme[0] = int(line)
        connection.emit_signal(None, PATH, info.name, "SettingChanged", GLib.Variant(
            "(ssv)", SETTING + (GLib.Variant("u", scheme[0]),)))
        connection.flush_sync(None)
        print("announced", scheme[0], flush=True)

    def commands(connection):
        for line in sys.stdin:
            GLib.idle_add(announce, connection, line)
        GLib.idle_add(loop.quit)

    def acquired(connection, name):
        print("ready", flush=True)
        threading.Thread(target=commands, args=(connection,), daemon=True).start()

    def bus(connection, name):
        connection.register_object(PATH, info, call, None, None)

    Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.portal.Desktop",
                     Gio.BusNameOwnerFlags.NONE, bus, acquired, lambda *_: loop.quit())
    loop.run()


if __name__ == "__main__":
    main()

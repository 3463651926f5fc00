#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""A desktop portal backend for the test desktop of scripts/wayland-session.

xdg-desktop-portal exports its Screenshot portal only when some backend implements the
Access dialog, which xdg-desktop-portal-wlr does not: this one does, and grants every
request as a user would who clicks "allow". With the mode "refuse" or "silent" it is also
the Screenshot backend: it answers every request as cancelled (a user closing the dialog),
or never answers it.

Usage: portal_stub.py wlr|refuse|silent"""
import signal
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

BUS_NAME = "org.freedesktop.impl.portal.desktop.pelmora"
OBJECT_PATH = "/org/freedesktop/portal/desktop"
ACCESS = "org.freedesktop.impl.portal.Access"
SCREENSHOT = "org.freedesktop.impl.portal.Screenshot"
GRANTED, CANCELLED = 0, 1


class Backend(dbus.service.Object):
    def __init__(self, bus, mode):
        super().__init__(bus, OBJECT_PATH)
        self.mode = mode
        self.unanswered = []  # the silent mode's requests, kept so that they stay open

    @dbus.service.method(ACCESS, in_signature="osssssa{sv}", out_signature="ua{sv}")
    def AccessDialog(self, handle, app_id, parent_window, title, subtitle, body, options):
        return GRANTED, dbus.Dictionary({}, signature="sv")

    @dbus.service.method(SCREENSHOT, in_signature="ossa{sv}", out_signature="ua{sv}",
                         async_callbacks=("reply", "error"))
    def Screenshot(self, handle, app_id, parent_window, options, reply, error):
        self.answer(reply, error)

    @dbus.service.method(SCREENSHOT, in_signature="ossa{sv}", out_signature="ua{sv}",
                         async_callbacks=("reply", "error"))
    def PickColor(self, handle, app_id, parent_window, options, reply, error):
        self.answer(reply, error)

    def answer(self, reply, error):
        if self.mode == "silent":
            self.unanswered.append((reply, error))
        else:
            reply(CANCELLED, dbus.Dictionary({}, signature="sv"))


def main():
    mode = sys.argv[1] if len(sys.argv) == 2 else ""
    if mode not in ("wlr", "refuse", "silent"):
        sys.exit("usage: portal_stub.py wlr|refuse|silent")
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    Backend(bus, mode)  # the connection keeps the exported object
    # The name last, once the object answers: whoever sees the name can call it.
    name = dbus.service.BusName(BUS_NAME, bus, do_not_queue=True)  # held while the loop runs
    loop = GLib.MainLoop()
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, loop.quit)  # SIGTERM: leave quietly
    loop.run()


if __name__ == "__main__":
    main()

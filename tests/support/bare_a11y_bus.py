#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The accessibility bus of a desktop whose launcher has no screen-reader
# switch: a private bus with the accessibility configuration (the registry
# is started on it by activation, as the real launcher's bus does), and on
# the session bus the name org.a11y.Bus answering GetAddress, with the
# org.a11y.Status interface holding IsEnabled only (no ScreenReaderEnabled).
# Runs until killed. Usage: bare_a11y_bus.py LOG_DIR
import subprocess
import sys

import gi
gi.require_version('Gio', '2.0')
from gi.repository import Gio, GLib

INTERFACES = '''
<node>
  <interface name="org.a11y.Bus">
    <method name="GetAddress"><arg type="s" name="address" direction="out"/></method>
  </interface>
  <interface name="org.a11y.Status">
    <property name="IsEnabled" type="b" access="readwrite"/>
  </interface>
</node>
'''

log_dir = sys.argv[1]
daemon = subprocess.Popen(['dbus-daemon', '--config-file=/usr/share/defaults/at-spi2/accessibility.conf',
                           '--nofork', '--print-address'], stdout=subprocess.PIPE,
                          stderr=open(log_dir + '/bare_bus.log', 'w'), text=True)
address = daemon.stdout.readline().strip()
state = {'IsEnabled': True}


def call(connection, sender, path, interface, method, parameters, invocation):
    invocation.return_value(GLib.Variant('(s)', (address,)))


def get(connection, sender, path, interface, name):
    return GLib.Variant('b', state[name])


def set_(connection, sender, path, interface, name, value):
    state[name] = value.unpack()
    connection.emit_signal(None, path, 'org.freedesktop.DBus.Properties', 'PropertiesChanged',
                           GLib.Variant('(sa{sv}as)', (interface, {name: value}, [])))
    return True


def acquired(connection, name):
    info = Gio.DBusNodeInfo.new_for_xml(INTERFACES)
    for interface in info.interfaces:
        connection.register_object('/org/a11y/bus', interface, call, get, set_)


Gio.bus_own_name(Gio.BusType.SESSION, 'org.a11y.Bus', Gio.BusNameOwnerFlags.NONE, acquired, None, None)
try:
    GLib.MainLoop().run()
finally:
    daemon.terminate()

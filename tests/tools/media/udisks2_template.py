"""udisks2 for the tests, on their own system bus: its object manager with
the block devices and drives a test describes. Parameters: {"objects":
JSON of {path: {interface: {property: [signature, value]}}}}, a
byte-array property's value given as text (JSON, as D-Bus cannot carry
lists of mixed types)."""

import json

import dbus
from dbusmock.mockobject import get_object

BUS_NAME = "org.freedesktop.UDisks2"
MAIN_OBJ = "/org/freedesktop/UDisks2"
MAIN_IFACE = "org.freedesktop.UDisks2.Manager"
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True


def _bytes(text):
    return dbus.Array([dbus.Byte(b) for b in text.encode() + b"\0"], signature="y")


def _value(signature, value):
    if signature == "ay":
        return _bytes(value)
    if signature == "aay":
        return dbus.Array([_bytes(item) for item in value], signature="ay")
    if signature == "b":
        return dbus.Boolean(value)
    if signature == "o":
        return dbus.ObjectPath(value)
    return dbus.String(value)


def load(mock, parameters):
    for path, interfaces in json.loads(parameters.get("objects", "{}")).items():
        added = None
        for interface, properties in interfaces.items():
            values = {name: _value(*typed) for name, typed in properties.items()}
            if added is None:
                mock.AddObject(path, interface, values, [])
                added = path
            else:
                get_object(path).AddProperties(interface, values)

"""What udisks2 knows of the block devices, asked through busctl (the
desktop's D-Bus tool) so that no D-Bus library is needed; None where
udisks2 does not run."""

import json
import subprocess

BLOCK = "org.freedesktop.UDisks2.Block"
DRIVE = "org.freedesktop.UDisks2.Drive"
# The buses of drives a user plugs in and takes away.
PLUGGED_BUSES = ("usb", "sdio")


def _value(properties: dict, name: str, default=None):
    entry = properties.get(name)
    return entry["data"] if isinstance(entry, dict) and "data" in entry else default


def _path_of(byte_values) -> bytes:
    return bytes(byte_values or []).rstrip(b"\0")


def managed_objects(timeout: float = 5.0):
    """udisks2's objects as {path: {interface: {property: {type, data}}}},
    or None when it cannot be asked."""
    command = ["busctl", "--system", "--json=short", "--auto-start=no", "--timeout=%d" % timeout, "call",
               "org.freedesktop.UDisks2",
               "/org/freedesktop/UDisks2", "org.freedesktop.DBus.ObjectManager", "GetManagedObjects"]
    try:
        done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout + 1,
                              check=False)
        reply = json.loads(done.stdout) if done.returncode == 0 else None
        objects = reply["data"][0] if reply else None
        return objects if isinstance(objects, dict) and all(isinstance(v, dict) for v in objects.values()) else None
    except (OSError, ValueError, KeyError, IndexError, TypeError, subprocess.TimeoutExpired):
        return None


class UDisks:
    def __init__(self, objects: dict):
        self.objects = objects
        self.blocks = {}
        for interfaces in objects.values():
            block = interfaces.get(BLOCK)
            if block is None:
                continue
            names = [_path_of(_value(block, "Device"))]
            names += [_path_of(link) for link in _value(block, "Symlinks", [])]
            for name in names:
                if name:
                    self.blocks[name] = block

    def knows(self, device: bytes) -> bool:
        return device in self.blocks

    def offers(self, device: bytes) -> bool:
        """A device udisks2 neither hides nor counts as the system's, on a
        drive that is removable, takes removable media, or is plugged into
        a USB or SD bus; an encrypted one is judged by the device under it."""
        block = self.blocks[device]
        for _ in range(4):
            if _value(block, "HintIgnore", False) or _value(block, "HintSystem", False):
                return False
            backing = self.objects.get(_value(block, "CryptoBackingDevice", "/"), {}).get(BLOCK)
            if backing is None:
                break
            block = backing
        drive = self.objects.get(_value(block, "Drive", "/"), {}).get(DRIVE)
        if drive is None:
            return False
        return bool(_value(drive, "Removable", False) or _value(drive, "MediaRemovable", False)
                    or _value(drive, "ConnectionBus", "") in PLUGGED_BUSES)

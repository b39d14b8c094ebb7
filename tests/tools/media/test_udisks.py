"""Which media the launcher offers where udisks2 runs: its hints and its
drives' removable flags and buses decide over sysfs, and the disks the
system runs from are never offered all the same. udisks2 is played by a
mock on the test's own system bus."""

import json
import os
import subprocess
import tempfile
import unittest

import dbusmock

from fakesystem import FakeSystem
from mediarun import offered

TEMPLATE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "udisks2_template.py")
BLOCKS = "/org/freedesktop/UDisks2/block_devices/"
DRIVES = "/org/freedesktop/UDisks2/drives/"


def block(name, drive="/", hint_system=False, hint_ignore=False, symlinks=(), backing="/"):
    return {"org.freedesktop.UDisks2.Block": {
        "Device": ["ay", "/dev/" + name], "Symlinks": ["aay", list(symlinks)],
        "Drive": ["o", DRIVES + drive if drive != "/" else "/"], "HintSystem": ["b", hint_system],
        "HintIgnore": ["b", hint_ignore], "CryptoBackingDevice": ["o", BLOCKS + backing if backing != "/" else "/"],
    }}


def drive(removable=False, media_removable=False, bus=""):
    return {"org.freedesktop.UDisks2.Drive": {
        "Removable": ["b", removable], "MediaRemovable": ["b", media_removable], "ConnectionBus": ["s", bus],
    }}


class UDisksMediaTest(dbusmock.DBusTestCase):
    @classmethod
    def setUpClass(cls):
        cls.start_system_bus()

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.machine = FakeSystem(self.folder.name)
        self.udisks = None

    def tearDown(self):
        if self.udisks:
            self.udisks.terminate()
            self.udisks.wait()
        self.folder.cleanup()

    def start_udisks(self, objects):
        self.udisks, _ = self.spawn_server_template(TEMPLATE, {"objects": json.dumps(objects)}, stdout=subprocess.DEVNULL)

    def offered(self):
        return offered(self.machine.environment(), os.environ["DBUS_SYSTEM_BUS_ADDRESS"])

    def test_udisks_decides_over_sysfs_and_the_system_disks_stay_out(self):
        m = self.machine
        m.disk("sda", "sata", parts=["sda1"])
        m.disk("sdb", "sata", removable=0, parts=["sdb1"])   # sysfs: fixed; udisks: on USB
        m.disk("sdc", "usb", removable=1, parts=["sdc1"])    # udisks: to be ignored
        m.disk("sdd", "usb", removable=1, parts=["sdd1"])    # udisks: the system's
        m.disk("sdh", "usb", removable=1, parts=["sdh1"])    # udisks: an internal disk
        m.disk("sde", "usb", removable=1, parts=["sde1"])    # the live system's stick
        m.loop("loop0", "/run/live/medium/live/filesystem.squashfs")
        m.disk("sdf", "usb", removable=1, parts=["sdf1"])    # an encrypted stick
        m.mapped("dm-3", ["sdf1"], dm_name="luks-abc")
        m.disk("sdg", "usb", removable=1, parts=["sdg1"])    # unknown to udisks
        m.write_mounts([
            "/dev/sde1 /run/live/medium iso9660 ro 0 0", "/dev/loop0 /run/live/rootfs squashfs ro 0 0",
            "overlay / overlay rw,lowerdir=/run/live/rootfs,upperdir=/run/overlay/rw 0 0",
            "/dev/sda1 /srv ext4 rw 0 0", "/dev/sdb1 /media/user/EXT ext4 rw 0 0",
            "/dev/sdc1 /media/user/HIDDEN vfat rw 0 0", "/dev/sdd1 /media/user/SYS vfat rw 0 0",
            "/dev/sdh1 /media/user/INTERNAL ext4 rw 0 0", "/dev/mapper/luks-abc /media/user/SECRET ext4 rw 0 0",
            "/dev/sdg1 /media/user/PLAIN vfat rw 0 0",
        ])
        objects = {
            BLOCKS + "sda1": block("sda1", "internal", hint_system=True), DRIVES + "internal": drive(bus=""),
            BLOCKS + "sdb1": block("sdb1", "ext"), DRIVES + "ext": drive(bus="usb"),
            BLOCKS + "sdc1": block("sdc1", "stick", hint_ignore=True), DRIVES + "stick": drive(True, True, "usb"),
            BLOCKS + "sdd1": block("sdd1", "sysstick", hint_system=True), DRIVES + "sysstick": drive(True, True, "usb"),
            BLOCKS + "sdh1": block("sdh1", "ata"), DRIVES + "ata": drive(False, False, "ata"),
            BLOCKS + "sde1": block("sde1", "live"), DRIVES + "live": drive(True, True, "usb"),
            BLOCKS + "sdf1": block("sdf1", "secret"), DRIVES + "secret": drive(True, True, "usb"),
            BLOCKS + "dm_2d3": block("dm-3", symlinks=["/dev/mapper/luks-abc"], backing="sdf1"),
        }
        self.start_udisks(objects)
        self.assertEqual({b"/media/user/EXT", b"/media/user/SECRET", b"/media/user/PLAIN"}, self.offered())

    def test_without_udisks_on_the_bus_sysfs_decides(self):
        m = self.machine
        m.disk("sda", "sata", parts=["sda1"])
        m.disk("sdb", "sata", removable=0, parts=["sdb1"])
        m.disk("sdc", "usb", removable=1, parts=["sdc1"])
        m.write_mounts(["/dev/sda1 / ext4 rw 0 0", "/dev/sdb1 /media/user/EXT ext4 rw 0 0",
                        "/dev/sdc1 /media/user/HIDDEN vfat rw 0 0"])
        self.assertEqual({b"/media/user/HIDDEN"}, self.offered())


if __name__ == "__main__":
    unittest.main()

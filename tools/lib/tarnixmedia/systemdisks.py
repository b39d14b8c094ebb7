"""The disks the system runs from, which are never offered: every disk
holding a part of the system's own file systems or its swap, followed
through encryption, LVM and RAID to the physical disks, and through an
overlay root (a live system) to the medium of its layers."""

import os

from .mounttable import mount_holding

# Where the system's own file systems are mounted.
SYSTEM_POINTS = (b"/", b"/boot", b"/boot/efi", b"/boot/firmware", b"/efi", b"/usr", b"/var", b"/home")


def read_swaps(path: str) -> list:
    """The devices and files /proc/swaps lists."""
    try:
        with open(path, "rb") as table:
            lines = table.read().split(b"\n")[1:]
    except OSError:
        return []
    return [line.split()[0] for line in lines if line.split()]


class SystemDisks:
    def __init__(self, blocks, mounts: list, swaps: list):
        self.blocks = blocks
        self.mounts = mounts
        self.disks = set()
        for point in SYSTEM_POINTS:
            for mount in mounts:
                if mount.point == point:
                    self._add_mount(mount)
        for swap in swaps:
            self._add_device(swap) or self._add_path(swap)

    def __contains__(self, disk: bytes) -> bool:
        return disk in self.disks

    def _add_mount(self, mount, depth: int = 0):
        if depth > 8:
            return
        if self._add_device(mount.device):
            return
        # Never a network file system's point: a server gone would hang it.
        if mount.device.startswith(b"/dev/") and self._add_by_number(mount.point):
            return
        # An overlay (a live system's root): the media of its layers.
        for option in (b"lowerdir", b"upperdir"):
            value = mount.option(option)
            for layer in (value or b"").split(b":"):
                if layer:
                    self._add_path(layer, depth + 1)

    def _add_device(self, device: bytes) -> bool:
        name = self.blocks.name_of(device)
        if name is None or self.blocks.disk_of(name) is None:
            return False
        self.disks |= self.blocks.physical_disks(name, self.device_holding)
        return True

    # A table that names the device as the kernel booted it ("/dev/root",
    # as boards booted from an SD card have it): the mounted file system's
    # device number tells which device it is.
    def _add_by_number(self, point: bytes) -> bool:
        try:
            name = self.blocks.name_by_number(os.stat(point).st_dev)
        except OSError:
            return False
        return name is not None and self._add_device(b"/dev/" + name)

    def _add_path(self, path: bytes, depth: int = 0):
        mount = mount_holding(path, self.mounts)
        if mount is not None:
            self._add_mount(mount, depth)

    def device_holding(self, path: bytes):
        """The block device name of the file system a path lies on."""
        mount = mount_holding(path, self.mounts)
        return self.blocks.name_of(mount.device) if mount is not None else None

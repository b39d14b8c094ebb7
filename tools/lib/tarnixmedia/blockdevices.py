"""Block devices as sysfs describes them: a partition's disk, the disks
under a device-mapper or RAID device, and the file behind a loop device."""

import os


class BlockDevices:
    def __init__(self, sysfs: str, dev: str = "/dev"):
        self.sysfs = os.fsencode(sysfs)
        self.dev = os.fsencode(dev)   # where the device nodes and udev's links are

    def _block(self, *parts: bytes) -> bytes:
        return os.path.join(self.sysfs, b"block", *parts)

    def name_of(self, device: bytes):
        """The kernel's name of a device node (/dev/sdb1: sdb1), following
        the symbolic links udev makes and device-mapper's names; None when
        it is no block device sysfs knows."""
        if not device.startswith(b"/dev/"):
            return None
        node = self.dev + device[len(b"/dev"):]
        if os.path.islink(node):
            device = os.path.realpath(node)
        name = os.path.basename(device)
        if device.startswith(b"/dev/mapper/"):
            return self._mapped(name) or name
        return name

    def name_by_number(self, number: int):
        """The kernel's name of the block device with that device number
        (a file system's st_dev), or None."""
        link = os.path.join(self.sysfs, b"dev", b"block", b"%d:%d" % (os.major(number), os.minor(number)))
        return os.path.basename(os.path.realpath(link)) if os.path.exists(link) else None

    def _mapped(self, name: bytes):
        for candidate in self._disk_names():
            if self._read(self._block(candidate, b"dm", b"name")) == name:
                return candidate
        return None

    def _disk_names(self):
        try:
            return sorted(os.listdir(self._block()))
        except OSError:
            return []

    @staticmethod
    def _read(path: bytes) -> bytes:
        try:
            with open(path, "rb") as f:
                return f.read().strip()
        except OSError:
            return b""

    def disk_of(self, name: bytes):
        """The whole disk a device name belongs to: sdb for sdb1, mmcblk0
        for mmcblk0p1, the disk itself for a disk; None when unknown."""
        if os.path.isdir(self._block(name)):
            return name
        for disk in self._disk_names():
            if os.path.isdir(self._block(disk, name)):
                return disk
        return None

    def physical_disks(self, name: bytes, file_holder, seen=None) -> set:
        """The disks a device's data lies on: through device-mapper and RAID
        to their members, and through a loop device to the disk holding
        its file (file_holder(path) gives that file's device name)."""
        seen = set() if seen is None else seen
        disk = self.disk_of(name)
        if disk is None or disk in seen:
            return set()
        seen.add(disk)
        found = set()
        slaves = self._slaves(name) | (self._slaves(disk) if disk != name else set())
        for slave in slaves:
            found |= self.physical_disks(slave, file_holder, seen)
        backing = self._read(self._block(disk, b"loop", b"backing_file"))
        if backing:
            holder = file_holder(backing)
            if holder:
                found |= self.physical_disks(holder, file_holder, seen)
        return found or ({disk} if not slaves and not backing else set())

    def _slaves(self, name: bytes) -> set:
        disk = self.disk_of(name)
        if disk is None:
            return set()
        path = self._block(disk) if disk == name else self._block(disk, name)
        try:
            return set(os.listdir(os.path.join(path, b"slaves")))
        except OSError:
            return set()

    def is_removable(self, disk: bytes) -> bool:
        """Removable as the kernel reports it: the disk's removable flag, a
        disk on a USB bus, or a memory card on an MMC bus (USB hard disks
        and card readers often clear the flag; built-in eMMC storage is a
        fixed disk on that bus)."""
        path = self._block(disk)
        if self._read(os.path.join(path, b"removable")) == b"1":
            return True
        real = os.path.realpath(path)
        parts = real.split(b"/")
        if any(part.startswith(b"usb") and part[3:4].isdigit() for part in parts):
            return True
        on_mmc = b"mmc_host" in parts or any(part.startswith(b"mmc") and part[3:4].isdigit() for part in parts)
        return on_mmc and self._read(os.path.join(path, b"device", b"type")) == b"SD"

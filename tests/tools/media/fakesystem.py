"""A made-up machine for the media discovery: a sysfs tree of block
devices as the kernel lays it out, a mount table and a swap table."""

import os

BUS_PATHS = {
    "sata": "devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block",
    "nvme": "devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0",
    "usb": "devices/pci0000:00/0000:00:14.0/usb2/2-%d/2-%d:1.0/host6/target6:0:0/6:0:0:0/block",
    "mmc": "devices/platform/fe340000.mmc/mmc_host/mmc0/mmc0:aaaa/block",
    "virtual": "devices/virtual/block",
}


class FakeSystem:
    def __init__(self, root: str):
        self.root = root
        self.sys = os.path.join(root, "sys")
        self.mounts_path = os.path.join(root, "mounts")
        self.swaps_path = os.path.join(root, "swaps")
        self.dev = os.path.join(root, "dev")
        os.makedirs(self.dev)
        self.usb_ports = 0
        os.makedirs(os.path.join(self.sys, "block"))
        self.write_swaps([])
        self.write_mounts([])

    def _device_dir(self, bus: str, name: str) -> str:
        path = BUS_PATHS[bus]
        if bus == "usb":
            self.usb_ports += 1
            path = path % (self.usb_ports, self.usb_ports)
        return os.path.join(path, name)

    def disk(self, name: str, bus: str, removable: int = 0, parts=(), card_type: str = None):
        """A disk with its partitions; card_type "SD" or "MMC" on the MMC bus."""
        device = self._device_dir(bus, name)
        full = os.path.join(self.sys, device)
        os.makedirs(full)
        self._write(os.path.join(full, "removable"), "%d\n" % removable)
        if card_type:
            self._write(os.path.join(full, "..", "..", "type"), card_type + "\n")
        os.symlink("../..", os.path.join(full, "device"))
        for part in parts:
            os.makedirs(os.path.join(full, part))
        os.symlink(os.path.join("..", device), os.path.join(self.sys, "block", name))

    def mapped(self, name: str, slaves, dm_name: str = None, raid: bool = False):
        """A device-mapper (dm-N, with its name) or RAID (mdN) device over
        the given devices."""
        self.disk(name, "virtual")
        full = os.path.join(self.sys, "block", name)
        if dm_name:
            os.makedirs(os.path.join(full, "dm"))
            self._write(os.path.join(full, "dm", "name"), dm_name + "\n")
        os.makedirs(os.path.join(full, "slaves"))
        for slave in slaves:
            os.makedirs(os.path.join(full, "slaves", slave))

    def device_number(self, number: int, disk: str, part: str):
        """The device number a mounted file system reports, as leading to
        that partition."""
        os.makedirs(os.path.join(self.sys, "dev", "block"), exist_ok=True)
        target = os.path.join("..", "..", "block", disk, part)
        os.symlink(target, os.path.join(self.sys, "dev", "block", "%d:%d" % (os.major(number), os.minor(number))))

    def loop(self, name: str, backing_file: str):
        self.disk(name, "virtual")
        os.makedirs(os.path.join(self.sys, "block", name, "loop"))
        self._write(os.path.join(self.sys, "block", name, "loop", "backing_file"), backing_file + "\n")

    def write_mounts(self, lines):
        self._write(self.mounts_path, "".join(line + "\n" for line in lines))

    def write_swaps(self, devices):
        lines = ["Filename\tType\tSize\tUsed\tPriority"]
        lines += ["%s\tpartition\t8388604\t0\t-2" % device for device in devices]
        self._write(self.swaps_path, "\n".join(lines) + "\n")

    def environment(self) -> dict:
        return {"TARNIX_SYSFS": self.sys, "TARNIX_DEV": self.dev, "TARNIX_MOUNTS": self.mounts_path,
                "TARNIX_SWAPS": self.swaps_path}

    @staticmethod
    def _write(path: str, text: str):
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)

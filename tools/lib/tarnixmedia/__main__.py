"""tarnix-media: prints every mount of the table as three fields, each
ended by a NUL byte: "removable" (offered as a drive) or "other", "ro" or
"rw", and the mount point as it is.

The environment may name other places, as the tests do: TARNIX_SYSFS
(default /sys), TARNIX_MOUNTS (/proc/self/mounts), TARNIX_SWAPS
(/proc/swaps). udisks2 is asked on the system bus when it runs there."""

import os
import sys

from .blockdevices import BlockDevices
from .mounttable import read_mounts
from .offered import judge_mounts
from .systemdisks import read_swaps
from .udisks import UDisks, managed_objects


def main() -> int:
    mounts = read_mounts(os.environ.get("TARNIX_MOUNTS") or "/proc/self/mounts")
    blocks = BlockDevices(os.environ.get("TARNIX_SYSFS") or "/sys")
    swaps = read_swaps(os.environ.get("TARNIX_SWAPS") or "/proc/swaps")
    objects = managed_objects()
    udisks = UDisks(objects) if objects is not None else None
    out = sys.stdout.buffer
    for mount, offered in judge_mounts(mounts, blocks, swaps, udisks):
        out.write(b"removable\0" if offered else b"other\0")
        out.write(b"ro\0" if mount.read_only else b"rw\0")
        out.write(mount.point + b"\0")
    out.flush()
    return 0


sys.exit(main())

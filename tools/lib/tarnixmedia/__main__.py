"""tarnix-media: prints every mount of the table as three fields, each
ended by a NUL byte: "removable" (offered as a drive) or "other", "ro" or
"rw", and the mount point as it is.

tarnix-media watch PREFIX WINE HELPER WINE-BUS LAUNCHER: while the
program runs, keeps the drive letters of the Wine prefix with the media
(watch.py) until the launcher (its process id) is gone; Wine runs HELPER
(tarnix-drives.exe) with WINE-BUS as its system bus. What goes wrong is
written to PREFIX/watch.log.

The environment may name other places, as the tests do: TARNIX_SYSFS
(default /sys), TARNIX_DEV (/dev), TARNIX_MOUNTS (/proc/self/mounts),
TARNIX_SWAPS (/proc/swaps). udisks2 is asked on the system bus when it runs there."""

import os
import sys

from .blockdevices import BlockDevices
from .mounttable import parse_mounts
from .offered import judge_mounts
from .systemdisks import read_swaps
from .udisks import UDisks, managed_objects
from .watch import DriveWatch

MOUNTS = os.environ.get("TARNIX_MOUNTS") or "/proc/self/mounts"


def judged(mounts: list) -> list:
    """(mount, offered) for every mount, in the table's order."""
    blocks = BlockDevices(os.environ.get("TARNIX_SYSFS") or "/sys", os.environ.get("TARNIX_DEV") or "/dev")
    swaps = read_swaps(os.environ.get("TARNIX_SWAPS") or "/proc/swaps")
    objects = managed_objects()
    udisks = UDisks(objects) if objects is not None else None
    return judge_mounts(mounts, blocks, swaps, udisks)


def offered_points(mounts: list) -> list:
    points = []
    for mount, offered in judged(mounts):
        if offered and mount.point not in points:
            points.append(mount.point)
    return points


def list_mounts() -> int:
    """1, and nothing listed, when the table cannot be read: no table is
    not "no media"."""
    try:
        with open(MOUNTS, "rb") as table:
            mounts = parse_mounts(table.read())
    except OSError as error:
        sys.stderr.write("tarnix-media: cannot read the mount table %s: %s\n" % (MOUNTS, error.strerror))
        return 1
    out = sys.stdout.buffer
    for mount, offered in judged(mounts):
        out.write(b"removable\0" if offered else b"other\0")
        out.write(b"ro\0" if mount.read_only else b"rw\0")
        out.write(mount.point + b"\0")
    out.flush()
    return 0


def watch(prefix: str, wine: str, helper: str, wine_bus: str, launcher: str) -> int:
    wine_env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=wine_bus)
    with open(os.path.join(prefix, "watch.log"), "a", encoding="utf-8", errors="backslashreplace") as log:
        DriveWatch(os.fsencode(prefix), wine, helper, wine_env, offered_points, log).run(MOUNTS, int(launcher))
    return 0


def main(argv: list) -> int:
    if not argv:
        return list_mounts()
    if len(argv) == 6 and argv[0] == "watch" and argv[5].isascii() and argv[5].isdigit():
        return watch(*argv[1:])
    sys.stderr.write("usage: tarnix-media [watch PREFIX WINE HELPER WINE-BUS LAUNCHER-PID]\n")
    return 2


sys.exit(main(sys.argv[1:]))

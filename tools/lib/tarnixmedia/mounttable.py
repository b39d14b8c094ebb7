"""The mount table as the kernel writes it (/proc/self/mounts)."""

import re
from dataclasses import dataclass

_ESCAPE = re.compile(rb"\\([0-7]{3})")


def unescape(field: bytes) -> bytes:
    """Blanks, tabs, newlines and backslashes are written as octal escapes."""
    return _ESCAPE.sub(lambda m: bytes([int(m.group(1), 8)]), field)


@dataclass
class Mount:
    device: bytes
    point: bytes
    fstype: bytes
    options: list

    @property
    def read_only(self) -> bool:
        return b"ro" in self.options

    def option(self, name: bytes):
        """The value of a NAME=VALUE option, or None."""
        for option in self.options:
            if option.startswith(name + b"="):
                return option[len(name) + 1:]
        return None


def parse_mounts(table: bytes) -> list:
    """Every mount in table order; lines that are not mounts are skipped.
    Fields are parted by blanks alone (the kernel escapes blanks, tabs,
    newlines and backslashes, but not other control characters). Paths stay
    bytes: a Linux name need not be text."""
    mounts = []
    for line in table.split(b"\n"):
        fields = [field for field in line.split(b" ") if field]
        if len(fields) >= 4:
            mounts.append(Mount(unescape(fields[0]), unescape(fields[1]), fields[2], fields[3].split(b",")))
    return mounts


def mount_holding(path: bytes, mounts: list):
    """The last mount whose point holds path, the longest when several do."""
    best = None
    for mount in mounts:
        point = mount.point.rstrip(b"/") or b"/"
        if point == b"/" or path == point or path.startswith(point + b"/"):
            if best is None or len(point) >= len(best.point.rstrip(b"/") or b"/"):
                best = mount
    return best

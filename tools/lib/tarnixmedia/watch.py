"""While the program runs, its drive letters follow the media: a letter
whose medium is unmounted stops leading anywhere at once (else it would
lead into the folder underneath the mount point, on the fixed disk), and
a medium mounted meanwhile gets a letter of removable type, never one a
medium gone in this run had while another is free. Letters are
defined and taken away in the running Wine's own device manager by
tarnix-drives.exe; the launcher's record of its letters is kept up."""

import os
import subprocess
import time

from .drivestate import DriveState, free_letter

# How often the mount table is looked at.
LOOK_SECONDS = 0.25


class DriveWatch:
    def __init__(self, prefix: bytes, wine: str, helper: str, wine_bus: str, judge):
        self.prefix = prefix
        self.dosdevices = os.path.join(prefix, b"dosdevices")
        self.state = DriveState(os.path.join(prefix, b".tarnix-drives"))
        self.wine = wine
        self.helper = helper
        self.wine_env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=wine_bus)
        self.judge = judge   # () -> the offered mount points, in table order
        # Letters taken away in this run: a folder the program chose on a
        # medium gone must not lead onto another medium now.
        self.retired = set()

    def run(self, mounts_path: str):
        """Until the launcher that started the watch is gone."""
        launcher = os.getppid()
        seen = None
        while os.getppid() == launcher:
            table = _read(mounts_path)
            if table != seen:
                seen = table
                self.follow(self.judge())
            time.sleep(LOOK_SECONDS)

    def follow(self, offered: list):
        letters = self.state.read()
        for letter, point in list(letters.items()):
            if point not in offered:
                self._take_away(letter, point)
                self.retired.add(letter)
                del letters[letter]
        given = set(letters.values())
        for point in offered:
            if point not in given:
                letter = free_letter(self.dosdevices, self.retired) or free_letter(self.dosdevices)
                if letter and self._wine_drive(b"define", letter, point):
                    letters[letter] = point
        self.state.write(letters)

    def _take_away(self, letter: bytes, point: bytes):
        """A letter someone pointed elsewhere meanwhile is theirs, and stays."""
        link = os.path.join(self.dosdevices, letter + b":")
        if os.path.islink(link):
            if os.readlink(link) != point:
                return
            os.unlink(link)
        self._wine_drive(b"remove", letter)

    def _wine_drive(self, *words: bytes) -> bool:
        command = [self.wine, self.helper] + [os.fsdecode(word) for word in words]
        try:
            done = subprocess.run(command, env=self.wine_env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, timeout=30, check=False)
            return done.returncode == 0
        except (OSError, subprocess.TimeoutExpired):
            return False


def _read(path: str) -> bytes:
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""

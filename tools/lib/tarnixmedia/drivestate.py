"""The launcher's record of the drive letters it gave: a letter and a
mount point, each ended by a NUL byte."""

import os

LETTERS = b"defghijklmnopqrstuvwxy"


class DriveState:
    def __init__(self, path: bytes):
        self.path = path

    def read(self) -> dict:
        """{letter: mount point}; records that are no letter the launcher
        gives and an absolute path are left out."""
        try:
            with open(self.path, "rb") as f:
                fields = f.read().split(b"\0")
        except OSError:
            return {}
        letters = {}
        for letter, point in zip(fields[0::2], fields[1::2]):
            if len(letter) == 1 and letter in LETTERS and point.startswith(b"/"):
                letters[letter] = point
        return letters

    def write(self, letters: dict):
        temporary = self.path + b".new"
        with open(temporary, "wb") as f:
            for letter, point in sorted(letters.items()):
                f.write(letter + b"\0" + point + b"\0")
        os.replace(temporary, self.path)


def free_letter(dosdevices: bytes, avoided=frozenset()):
    """The first letter from D: to Y: that leads nowhere yet and is not
    to be avoided, or None."""
    for code in LETTERS:
        letter = bytes([code])
        if letter not in avoided and not os.path.lexists(os.path.join(dosdevices, letter + b":")):
            return letter
    return None

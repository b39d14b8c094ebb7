"""While the program runs, its drive letters follow the media: a letter
whose medium is unmounted stops leading anywhere at once (else it would
lead into the folder underneath the mount point, on the fixed disk), and
a medium mounted meanwhile gets a letter of removable type, never one a
medium gone in this run had while another is free. Letters are defined
and taken away in the running Wine's own device manager by
tarnix-drives.exe; the launcher's record of its letters is kept up."""

import os
import signal
import subprocess
import time

from .drivestate import DriveState, free_letter
from .mounttable import parse_mounts

# How often the mount table is looked at.
LOOK_SECONDS = 0.25


class DriveWatch:
    def __init__(self, prefix: bytes, wine: str, helper: str, wine_env: dict, judge, log=None):
        self.dosdevices = os.path.join(prefix, b"dosdevices")
        self.state = DriveState(os.path.join(prefix, b".tarnix-drives"))
        self.wine = wine
        self.helper = helper
        self.wine_env = wine_env
        self.judge = judge   # (mounts) -> the offered mount points, in table order
        self.log = log
        # Letters taken away in this run: a folder the program chose on a
        # medium gone must not lead onto another medium now.
        self.retired = set()
        self.stopping = False
        self.last_note = None

    def run(self, mounts_path: str, launcher: int):
        """Until the launcher (its parent, by process id) is gone or asks it
        to stop; a step under way is finished first. A step that failed is
        tried again with the next look."""
        signal.signal(signal.SIGTERM, self._stop)
        seen = None
        while not self.stopping and os.getppid() == launcher:
            table = _read(mounts_path)
            if table is not None and table != seen and self._step(parse_mounts(table)):
                seen = table
            time.sleep(LOOK_SECONDS)

    def _stop(self, *_):
        self.stopping = True

    def _step(self, mounts: list) -> bool:
        try:
            self.follow(mounts)
            return True
        except (OSError, ValueError, LookupError, TypeError, AttributeError) as error:
            self._note(str(error))
            return False

    def _note(self, text: str):
        """What went wrong, each text once in a row; a log that cannot be
        written is let be."""
        if self.log is None or text == self.last_note:
            return
        self.last_note = text
        try:
            self.log.write("tarnix-media watch: %s\n" % text)
            self.log.flush()
        except OSError:
            pass

    def follow(self, mounts: list):
        """A letter goes only when its medium is no longer mounted, before
        anything else is asked; new media are judged after."""
        letters = self.state.read()
        mounted = {mount.point for mount in mounts}
        for letter, point in list(letters.items()):
            if point not in mounted:
                self._take_away(letter, point)
                self.retired.add(letter)
                del letters[letter]
        self.state.write(letters)
        given = set(letters.values())
        for point in self.judge(mounts):
            if point in given or self.stopping:
                continue
            letter = free_letter(self.dosdevices, self.retired) or free_letter(self.dosdevices)
            if letter is None:
                break
            # Recorded first: a letter Wine made is never left unrecorded.
            letters[letter] = point
            self.state.write(letters)
            if not self._define(letter, point):
                del letters[letter]
                self.state.write(letters)

    def _define(self, letter: bytes, point: bytes) -> bool:
        link = os.path.join(self.dosdevices, letter + b":")
        self._wine_drive(b"define", letter, point)
        if os.path.islink(link) and os.readlink(link) == point:
            return True
        # Wine could not take the folder's name as it is: nothing is left.
        if os.path.lexists(link):
            self._wine_drive(b"remove", letter)
        return False

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


def _read(path: str):
    """The table's bytes; None when it cannot be read this time."""
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None

"""The drive letters following the media while the program runs, with a
stand-in for Wine that does what the device manager does with a letter:
a medium gone loses its letter at once, and a medium come gets a free
one, never one a medium gone in this run had."""

import os
import stat
import sys
import tempfile
import unittest

from mediarun import CHECKOUT

sys.path.insert(0, os.path.join(CHECKOUT, "tools", "lib"))
from tarnixmedia.drivestate import DriveState  # noqa: E402  pylint: disable=wrong-import-position
from tarnixmedia.mounttable import Mount  # noqa: E402  pylint: disable=wrong-import-position
from tarnixmedia.watch import DriveWatch  # noqa: E402  pylint: disable=wrong-import-position

FAKE_WINE = """#!/bin/sh
# HELPER define LETTER FOLDER | remove LETTER, as Wine's device manager does
# it; a folder named "mangled" it links under another name, as Wine does
# with a name it cannot read. The record is copied as it stands then.
echo "$2 $3 $4" >>"$WATCH_TEST_LOG"
case $2 in
define)
    cp "$WATCH_TEST_DOSDEVICES/../.tarnix-drives" "$WATCH_TEST_LOG.record" 2>/dev/null
    target=$4
    [ "${4##*/}" != mangled ] || target=$4-changed
    ln -s "$target" "$WATCH_TEST_DOSDEVICES/$3:" ;;
remove) rm -f "$WATCH_TEST_DOSDEVICES/$3:" ;;
esac
"""


def mounted(*points):
    """The mounts of a table holding those points, every one of them offered."""
    return [Mount(b"/dev/sdx1", point, b"vfat", [b"rw"]) for point in points]


class DriveWatchTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        root = self.folder.name.encode()
        self.prefix = os.path.join(root, b"prefix")
        self.dosdevices = os.path.join(self.prefix, b"dosdevices")
        os.makedirs(self.dosdevices)
        self.log = os.path.join(root, b"log")
        wine = os.path.join(root, b"wine")
        with open(wine, "w", encoding="utf-8") as f:
            f.write(FAKE_WINE)
        os.chmod(wine, stat.S_IRWXU)
        env = dict(os.environ, WATCH_TEST_LOG=os.fsdecode(self.log), WATCH_TEST_DOSDEVICES=os.fsdecode(self.dosdevices))
        self.watch = DriveWatch(self.prefix, os.fsdecode(wine), "tarnix-drives.exe", env,
                                lambda mounts: [mount.point for mount in mounts])
        self.state = DriveState(os.path.join(self.prefix, b".tarnix-drives"))

    def tearDown(self):
        self.folder.cleanup()

    def give(self, letter: bytes, point: bytes):
        os.symlink(point, os.path.join(self.dosdevices, letter + b":"))

    def link(self, letter: bytes):
        path = os.path.join(self.dosdevices, letter + b":")
        return os.readlink(path) if os.path.islink(path) else None

    def calls(self):
        with open(self.log, "rb") as f:
            return f.read().split(b"\n")[:-1]

    def test_a_medium_gone_loses_its_letter_and_one_come_gets_a_new_letter(self):
        self.give(b"d", b"/media/stick")
        self.give(b"e", b"/media/card")
        self.state.write({b"d": b"/media/stick", b"e": b"/media/card"})
        self.watch.follow(mounted(b"/media/stick", b"/media/late"))
        self.assertIsNone(self.link(b"e"))
        self.assertEqual(b"/media/late", self.link(b"f"), "not the letter of the card just gone")
        self.assertEqual({b"d": b"/media/stick", b"f": b"/media/late"}, self.state.read())
        self.assertEqual([b"remove e ", b"define f /media/late"], self.calls())

    def test_a_letter_the_user_pointed_elsewhere_is_left_to_the_user(self):
        self.give(b"e", b"/home/user/elsewhere")
        self.state.write({b"e": b"/media/card"})
        self.watch.follow(mounted())
        self.assertEqual(b"/home/user/elsewhere", self.link(b"e"))
        self.assertEqual({}, self.state.read())

    def test_a_folder_wine_cannot_name_leaves_no_letter_and_no_record(self):
        self.watch.follow(mounted(b"/media/mangled"))
        self.assertIsNone(self.link(b"d"))
        self.assertEqual({}, self.state.read())

    def test_a_letter_is_recorded_before_wine_makes_it(self):
        self.watch.follow(mounted(b"/media/stick"))
        with open(self.log + b".record", "rb") as f:
            self.assertEqual(b"d\0/media/stick\0", f.read())

    def test_a_medium_still_mounted_keeps_its_letter_whatever_the_judgement(self):
        self.give(b"d", b"/media/stick")
        self.state.write({b"d": b"/media/stick"})
        self.watch.judge = lambda mounts: []
        self.watch.follow(mounted(b"/media/stick"))
        self.assertEqual(b"/media/stick", self.link(b"d"))
        self.assertEqual({b"d": b"/media/stick"}, self.state.read())

    def test_odd_names_and_malformed_records(self):
        odd = b"/media/tab\tnew\nline \\ \xff"
        with open(os.path.join(self.prefix, b".tarnix-drives"), "wb") as f:
            f.write(b"../../evil\0/nowhere\0d\0relative\0")
        self.watch.follow(mounted(odd))
        self.assertEqual(odd, self.link(b"d"))
        self.assertEqual({b"d": odd}, self.state.read())


if __name__ == "__main__":
    unittest.main()

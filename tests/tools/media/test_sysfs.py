"""Which media the launcher offers as removable drives where udisks2 does
not run: judged from made-up sysfs trees of machines whose system runs
from disks that look removable, and ordinary ones."""

import os
import tempfile
import unittest

from fakesystem import FakeSystem
from mediarun import judged_mounts, offered


class SysfsMediaTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.machine = FakeSystem(self.folder.name)
        # A user's stick, which every machine here should offer.
        self.machine.disk("sdz", "usb", removable=1, parts=["sdz1"])
        self.stick = "/dev/sdz1 /media/user/STICK vfat rw,nosuid,nodev 0 0"

    def tearDown(self):
        self.folder.cleanup()

    def offered(self):
        return offered(self.machine.environment())

    def test_an_ordinary_laptop_offers_sticks_and_cards_only(self):
        m = self.machine
        m.disk("nvme0n1", "nvme", parts=["nvme0n1p1", "nvme0n1p2"])
        m.disk("mmcblk0", "mmc", parts=["mmcblk0p1"], card_type="SD")
        m.disk("sdc", "usb", removable=0, parts=["sdc1"])
        m.disk("loop3", "virtual")
        m.write_mounts([
            "/dev/nvme0n1p2 / ext4 rw 0 0", "/dev/nvme0n1p1 /boot/efi vfat rw 0 0", "proc /proc proc rw 0 0",
            self.stick, "/dev/mmcblk0p1 /media/user/CARD exfat rw 0 0", "/dev/sdc1 /media/user/DISK ext4 ro 0 0",
            "/dev/loop3 /snap/core/1 squashfs ro 0 0", "tmpfs /run tmpfs rw 0 0",
        ])
        self.assertEqual({b"/media/user/STICK", b"/media/user/CARD", b"/media/user/DISK"}, self.offered())
        self.assertEqual((True, "ro"), judged_mounts(m.environment())[b"/media/user/DISK"])

    def test_a_system_on_luks_over_lvm_on_a_usb_disk_is_never_offered(self):
        m = self.machine
        m.disk("sdb", "usb", removable=0, parts=["sdb1", "sdb2", "sdb3"])
        m.mapped("dm-0", ["sdb3"], dm_name="vg-root_crypt")   # the logical volume
        m.mapped("dm-1", ["dm-0"], dm_name="root")            # LUKS inside it
        m.write_mounts([
            "/dev/mapper/root / ext4 rw 0 0", "/dev/sdb2 /boot ext4 rw 0 0", "/dev/sdb1 /boot/efi vfat rw 0 0",
            self.stick,
        ])
        self.assertEqual({b"/media/user/STICK"}, self.offered())

    def test_a_system_on_luks_on_a_usb_disk_is_never_offered(self):
        m = self.machine
        m.disk("sdb", "usb", removable=1, parts=["sdb1", "sdb2", "sdb3"])
        m.mapped("dm-0", ["sdb3"], dm_name="luks-1234")
        m.write_mounts([
            "/dev/dm-0 / ext4 rw 0 0", "/dev/sdb1 /boot/efi vfat rw 0 0", "/dev/sdb2 /media/user/DATA ext4 rw 0 0",
            self.stick,
        ])
        self.assertEqual({b"/media/user/STICK"}, self.offered())

    def test_a_live_usb_system_with_an_overlay_root_is_never_offered(self):
        m = self.machine
        m.disk("sdb", "usb", removable=1, parts=["sdb1", "sdb2"])
        m.loop("loop0", "/run/live/medium/live/filesystem.squashfs")
        m.write_mounts([
            "/dev/sdb1 /run/live/medium iso9660 ro 0 0",
            "/dev/loop0 /run/live/rootfs/filesystem.squashfs squashfs ro 0 0",
            "/dev/sdb2 /run/live/persistence/sdb2 ext4 rw 0 0",
            "overlay / overlay rw,lowerdir=/run/live/rootfs/filesystem.squashfs,"
            "upperdir=/run/live/persistence/sdb2/rw,workdir=/run/live/persistence/sdb2/work 0 0",
            self.stick,
        ])
        self.assertEqual({b"/media/user/STICK"}, self.offered())

    def test_a_board_booted_from_its_sd_card_never_offers_the_card(self):
        m = self.machine
        m.disk("mmcblk0", "mmc", parts=["mmcblk0p1", "mmcblk0p2"], card_type="SD")
        m.write_mounts(["/dev/mmcblk0p2 / ext4 rw 0 0", "/dev/mmcblk0p1 /boot/firmware vfat rw 0 0", self.stick])
        self.assertEqual({b"/media/user/STICK"}, self.offered())

    def test_a_board_whose_table_names_its_root_dev_root_never_offers_its_card(self):
        m = self.machine
        m.disk("mmcblk0", "mmc", parts=["mmcblk0p1", "mmcblk0p2"], card_type="SD")
        m.device_number(os.stat("/").st_dev, "mmcblk0", "mmcblk0p2")
        m.write_mounts(["/dev/root / ext4 rw 0 0", "/dev/mmcblk0p1 /media/firmware vfat rw 0 0", self.stick])
        self.assertEqual({b"/media/user/STICK"}, self.offered())

    def test_a_system_on_raid1_of_usb_disks_is_never_offered(self):
        m = self.machine
        m.disk("sda", "usb", removable=0, parts=["sda1", "sda2"])
        m.disk("sdb", "usb", removable=0, parts=["sdb1", "sdb2"])
        m.mapped("md0", ["sda1", "sdb1"], raid=True)
        m.write_mounts(["/dev/md0 / ext4 rw 0 0", "/dev/sdb2 /srv/backup ext4 rw 0 0", self.stick])
        self.assertEqual({b"/media/user/STICK"}, self.offered())

    def test_a_disk_holding_swap_or_a_system_folder_is_never_offered(self):
        m = self.machine
        m.disk("sda", "sata", parts=["sda1"])
        m.disk("sdb", "usb", removable=1, parts=["sdb1", "sdb2"])
        m.disk("sdc", "usb", removable=1, parts=["sdc1", "sdc2"])
        m.write_swaps(["/dev/sdb2"])
        m.write_mounts([
            "/dev/sda1 / ext4 rw 0 0", "/dev/sdb1 /media/user/SWAPPY vfat rw 0 0", "/dev/sdc1 /home ext4 rw 0 0",
            "/dev/sdc2 /media/user/HOMEDISK vfat rw 0 0", self.stick,
        ])
        self.assertEqual({b"/media/user/STICK"}, self.offered())

    def test_modules_in_the_current_folder_are_never_taken_for_its_own(self):
        m = self.machine
        m.disk("sda", "sata", parts=["sda1"])
        m.write_mounts(["/dev/sda1 / ext4 rw 0 0", self.stick])
        planted = os.path.join(self.folder.name, "content")
        os.makedirs(os.path.join(planted, "tarnixmedia"))
        for module in ("json.py", "subprocess.py", os.path.join("tarnixmedia", "__init__.py")):
            with open(os.path.join(planted, module), "w", encoding="utf-8") as f:
                f.write("raise SystemExit('planted')\n")
        self.assertEqual((True, "rw"), judged_mounts(m.environment(), folder=planted)[b"/media/user/STICK"])

    def test_mount_points_with_blanks_tabs_newlines_and_backslashes_are_read_whole(self):
        m = self.machine
        m.disk("sda", "sata", parts=["sda1"])
        m.disk("sdb", "usb", removable=1, parts=["sdb1"])
        m.disk("sdc", "usb", removable=1, parts=["sdc1"])
        m.write_mounts([
            "/dev/sda1 / ext4 rw 0 0", r"/dev/sdb1 /media/a\040b\011c\012d vfat rw 0 0",
            r"/dev/sdc1 /media/back\134slash vfat ro 0 0", "/dev/sdb1 /media/carriage\rreturn vfat rw 0 0",
        ])
        judged = judged_mounts(m.environment())
        self.assertEqual((True, "rw"), judged[b"/media/a b\tc\nd"])
        self.assertEqual((True, "ro"), judged[b"/media/back\\slash"])
        self.assertEqual((True, "rw"), judged[b"/media/carriage\rreturn"], "a control character the kernel leaves")


if __name__ == "__main__":
    unittest.main()

#!/usr/bin/env bash
# The Linux launcher with real Wine, against made-up block devices and mount
# tables: which media become removable drives, how paths reach the program,
# the errors a user meets, and that ~/.wine is never touched. A probe stands
# in for the program and prints what it was given.
#   LauncherTest.sh WORK-FOLDER BUILD-FOLDER PROBE-PROGRAM
set -uo pipefail

work=$1
launcher=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/tools/tarnix
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd -P)

export HOME=$work/home XDG_DATA_HOME=$work/data
export TARNIX_BUILD=$2 TARNIX_PROGRAM=$3 TARNIX_LANG=zh_TW
export TARNIX_SYSFS=$work/sys TARNIX_MOUNTS=$work/mounts
unset TARNIX_PREFIX TARNIX_WINE TARNIX_DESKTOP TARNIX_RAPI_ENDPOINT
mkdir -p "$HOME"
prefix=$XDG_DATA_HOME/tarnix/prefix

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# Runs the launcher; its output in $out, its errors in $err, its status in $rc.
launch() {
    out=$("$launcher" "$@" 2>"$work/stderr")
    rc=$?
    out=${out//$'\r'/}   # the probe's lines end as a Windows console ends them
    err=$(cat "$work/stderr")
}

expect_line() {  # what, line expected in $out
    grep -qxF -- "$2" <<<"$out" || fail "$1: no line '$2' in:"$'\n'"$out"$'\n'"$err"
}

expect_no_line() {  # what, line not expected in $out
    ! grep -qxF -- "$2" <<<"$out" || fail "$1: a line '$2'"
}

expect_error() {  # what, text the one error line holds
    [ "$rc" -ne 0 ] || fail "$1: exit status 0"
    [ "$(wc -l <<<"$err")" -eq 1 ] || fail "$1: not one line of error:"$'\n'"$err"
    [[ $err == "tarnix: "*"$2"* ]] || fail "$1: error '$err' does not say '$2'"
    [ -z "$out" ] || fail "$1: the program was started"
}

# add_disk NAME REMOVABLE-FLAG BUS [PARTITION...]: a block device in the
# made-up sysfs, linked from block/ as the kernel links it; on the MMC bus
# "mmc" is a memory card, "emmc" built-in storage.
add_disk() {
    local name=$1 removable=$2 bus=$3 device
    shift 3
    case $bus in
    sata) device=devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/$name ;;
    nvme) device=devices/pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0/$name ;;
    usb) device=devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/$name ;;
    mmc | emmc) device=devices/pci0000:00/0000:00:14.5/mmc_host/$bus/$bus:aaaa/block/$name ;;
    virtual) device=devices/virtual/block/$name ;;
    esac
    mkdir -p "$TARNIX_SYSFS/$device" "$TARNIX_SYSFS/block"
    echo "$removable" >"$TARNIX_SYSFS/$device/removable"
    case $bus in
    mmc) echo SD >"$TARNIX_SYSFS/$device/../../type" ;;
    emmc) echo MMC >"$TARNIX_SYSFS/$device/../../type" ;;
    esac
    ln -s ../.. "$TARNIX_SYSFS/$device/device"
    for part in "$@"; do mkdir -p "$TARNIX_SYSFS/$device/$part"; done
    ln -s "../$device" "$TARNIX_SYSFS/block/$name"
}

add_disk sda 0 sata sda1
add_disk nvme0n1 0 nvme nvme0n1p1 nvme0n1p2
add_disk sdb 1 usb sdb1
add_disk mmcblk0 0 mmc mmcblk0p1
add_disk sdc 0 usb sdc1
add_disk loop0 0 virtual
add_disk mmcblk1 0 emmc mmcblk1p1
media=$work/media
mkdir -p "$media/MY STICK" "$media/card" "$media/usbdisk" "$media/nvme" "$media/snap" "$media/other" "$media/emmc"
write_mounts() {  # includes the card unless told "no card"
    {
        echo "/dev/sda1 / ext4 rw,relatime 0 0"
        echo "proc /proc proc rw,nosuid 0 0"
        echo "/dev/nvme0n1p2 $media/nvme ext4 rw 0 0"
        echo "/dev/sdb1 ${media// /\\040}/MY\\040STICK vfat rw,nosuid,nodev 0 0"
        [ "${1:-}" = "no card" ] || echo "/dev/mmcblk0p1 $media/card exfat rw,nosuid 0 0"
        echo "/dev/sdc1 $media/usbdisk ext4 ro,relatime 0 0"
        echo "/dev/loop0 $media/snap squashfs ro 0 0"
        echo "tmpfs $media/other tmpfs rw 0 0"
        echo "/dev/mmcblk1p1 $media/emmc ext4 rw 0 0"
    } >"$TARNIX_MOUNTS"
}
write_mounts

content=$work/content
mkdir -p "$content" "$media/MY STICK/dicts 2" "$media/card/sub"

# ---- the first run makes the prefix and maps the removable media ---------------
launch "$content"
[ "$rc" -eq 0 ] || fail "first run: exit status $rc: $err"
[ -f "$prefix/system.reg" ] || fail "first run: no prefix in $prefix"
expect_line "media" "drive D: removable"
expect_line "a removable flag cleared on a memory card" "drive E: removable"
expect_line "a USB disk, read-only" "drive F: removable"
expect_no_line "fixed disks, built-in storage and loops" "drive G: removable"
for letter in "$prefix"/dosdevices/[a-y]:; do
    case $(readlink "$letter") in
    / | "$media/nvme" | "$media/snap" | "$media/other" | "$media/emmc")
        fail "${letter##*/} maps a medium that is not removable" ;;
    esac
done
[ "$(readlink "$prefix/dosdevices/d:")" = "$media/MY STICK" ] || fail "d: is not the stick"
[ "$(readlink "$prefix/dosdevices/e:")" = "$media/card" ] || fail "e: is not the card"
expect_line "content on Z:, the first writable medium opened" "command line: [Z:${content//\//\\},,D:\\]"
expect_line "the language set's code page" "code page: 950"
expect_line "no handheld asked for" "endpoint: []"
cmp -s "$TARNIX_BUILD/platform/rapi/rapi.dll" "$prefix/drive_c/windows/system32/rapi.dll" ||
    fail "the stand-in is not in the prefix"

# ---- paths on media, with blanks, and in Chinese ---------------------------------
launch "$media/MY STICK/dicts 2" "$media/card/sub/"
expect_line "paths on media" "command line: [D:\\dicts 2,,E:\\sub]"
launch "$content" "$media/card/not yet/there"
expect_line "a destination still to be made" "command line: [Z:${content//\//\\},,E:\\not yet\\there]"

mkdir -p "$work/字典" "$work/汉字"
launch "$work/字典"
expected=$(printf 'command line: [Z:%s,,D:\\]' "${work//\//\\}\\字典" | iconv -f UTF-8 -t CP950)
expect_line "a traditional-Chinese folder, in code page 950" "$expected"
launch "$work/汉字"
expect_error "a simplified-only name under the traditional set" "code page 950 cannot show"
TARNIX_LANG=zh_CN launch "$work/汉字"
expected=$(printf 'command line: [Z:%s,,D:\\]' "${work//\//\\}\\汉字" | iconv -f UTF-8 -t CP936)
expect_line "a simplified-Chinese folder, in code page 936" "$expected"
expect_line "the simplified set's code page" "code page: 936"

# ---- media come and go; letters stay with their media -----------------------------
ln -s "$work" "$prefix/dosdevices/g:"
write_mounts "no card"
launch "$content"
expect_no_line "a medium gone" "drive E: removable"
[ ! -e "$prefix/dosdevices/e:" ] && [ ! -L "$prefix/dosdevices/e:" ] || fail "e: outlived its card"
expect_line "the stick keeps its letter" "drive D: removable"
expect_line "the USB disk keeps its letter" "drive F: removable"
write_mounts
launch "$content"
expect_line "the card back" "drive E: removable"
[ "$(readlink "$prefix/dosdevices/g:")" = "$work" ] || fail "a letter made by the user was changed"
[ "$(readlink "$prefix/dosdevices/h:")" = "" ] || fail "a letter beyond the media was made"

# ---- the handheld ---------------------------------------------------------------------
launch --handheld 127.0.0.1:5679 "$content"
expect_line "a handheld by address" "endpoint: [127.0.0.1:5679]"
launch --handheld localhost:990 "$content"
expect_line "a handheld by name" "endpoint: [127.0.0.1:990]"
mkdir -p "$work/handheld"
launch --emulate "$work/handheld" "$content"
port=$(sed -n 's/^endpoint: \[127\.0\.0\.1:\([1-9][0-9]*\)\]$/\1/p' <<<"$out")
if [ -z "$port" ]; then
    fail "the emulator's endpoint: $out"
elif (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
    fail "the emulator outlived the launcher"
fi
printf 'MZ a library of another maker' >"$prefix/drive_c/windows/system32/rapi.dll"
launch "$content"
[ "$(cat "$prefix/drive_c/windows/system32/rapi.dll")" = "MZ a library of another maker" ] ||
    fail "a remote API library not ours was replaced"
[[ $err == *"not ours"* ]] || fail "nothing said of the library left alone: $err"

# ---- errors: one line each, nothing started --------------------------------------------
TARNIX_WINE=$work/no/wine64 launch "$content"
expect_error "no Wine" "Wine is not installed"
launch "$work/no such folder"
expect_error "a content folder that is not there" "the content folder does not exist"
launch "$content" "$media/usbdisk/dicts"
expect_error "a read-only medium" "is read-only"
launch "$content" "$work"
expect_error "a destination the program would not offer" "not on a removable medium"
mkdir -p "$work/a\\b" "$work/dots."
launch "$work/a\\b"
expect_error "a backslash in a Linux name" "Windows names cannot hold"
launch "$work/dots."
expect_error "a name ending in a dot" "cannot end in a blank or a dot"
mkdir -p "$work/a,b"
launch "$work/a,b"
expect_error "a comma in a path" "a comma"
launch --handheld 127.0.0.1 "$content"
expect_error "a handheld without a port" "HOST:PORT"
TARNIX_PREFIX=$HOME/.wine launch "$content"
expect_error "~/.wine asked for" "will not use ~/.wine"
TARNIX_PREFIX=$HOME/.wine/tarnix launch "$content"
expect_error "a folder in ~/.wine asked for" "will not use ~/.wine"
exec 8>"$prefix/.tarnix-lock"
flock -n 8 || fail "a Wine process kept the lock of a launch that ended"
launch "$content"
expect_error "a second launch with the same prefix" "already running"
exec 8>&-

# ---- the default prefix is under the user's data folder --------------------------------
XDG_DATA_HOME= launch "$content"
[ -f "$HOME/.local/share/tarnix/prefix/system.reg" ] || fail "no prefix under ~/.local/share"
[ ! -e "$HOME/.wine" ] || fail "~/.wine was made"

# ---- the disk the system runs from is never offered, a stick though it is ------------
mkdir -p "$TARNIX_SYSFS/block/sdb/sdb2"
{
    echo "/dev/sdb2 / ext4 rw 0 0"
    echo "/dev/sdb1 ${media// /\\040}/MY\\040STICK vfat rw 0 0"
    echo "/dev/mmcblk0p1 $media/card exfat rw 0 0"
} >"$TARNIX_MOUNTS"
launch "$content"
expect_no_line "a stick the system runs from" "drive D: removable"
expect_line "the card beside it" "drive E: removable"

for p in "$prefix" "$HOME/.local/share/tarnix/prefix"; do WINEPREFIX=$p /usr/lib/wine/wineserver -k 2>/dev/null; done
if [ $failures -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "all passed"

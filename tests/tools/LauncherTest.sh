#!/usr/bin/env bash
# The Linux launcher with real Wine, against made-up block devices and mount
# tables: which media become removable drives, how paths reach the program,
# when tarnix-link runs beside it, the errors a user meets, and that ~/.wine
# is never touched. A probe stands in for the program and prints what it was
# given. Last, make install into a staging folder.
#   LauncherTest.sh WORK-FOLDER BUILD-FOLDER PROBE-PROGRAM TARNIX-LINK
set -uo pipefail

work=$1 link=$4
checkout=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$checkout/tests/support/shell-test.sh"
launcher=$checkout/tools/tarnix
work=$(fresh_work_folder "$work") || exit 1

export HOME=$work/home XDG_DATA_HOME=$work/data
export TARNIX_BUILD=$2 TARNIX_PROGRAM=$3 TARNIX_LANG=zh_TW
export TARNIX_SYSFS=$work/sys TARNIX_MOUNTS=$work/mounts
unset TARNIX_PREFIX TARNIX_WINE TARNIX_DESKTOP TARNIX_RAPI_ENDPOINT TARNIX_LINK_PROGRAM TARNIX_LINK_OPTIONS
# No udisks2 of the machine's: the made-up devices are judged from sysfs.
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/no-bus TARNIX_SWAPS=$work/swaps TARNIX_DEV=$work/dev
mkdir -p "$TARNIX_DEV"
printf 'Filename\tType\tSize\tUsed\tPriority\n' >"$TARNIX_SWAPS"
mkdir -p "$HOME"
prefix=$XDG_DATA_HOME/tarnix/prefix

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
    [[ $err == tarnix*": "*"$2"* ]] || fail "$1: error '$err' does not say '$2'"
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

# ---- the launcher through a link, as a package puts it on the PATH ---------------
mkdir -p "$work/linked"
ln -s "$launcher" "$work/linked/tarnix"
launcher=$work/linked/tarnix launch "$content"
[ "$rc" -eq 0 ] || fail "through a link: exit status $rc: $err"
expect_line "through a link: its helpers found" "drive D: removable"

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
rm "$prefix/drive_c/windows/system32/rapi.dll"

# ---- a real handheld: tarnix-link beside the program ------------------------------------
# add_interface NAME DRIVER: a network interface of a USB device bound to
# that driver, linked from class/net as the kernel links it.
interfaces=0
add_interface() {
    local device=devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.$((interfaces++))
    mkdir -p "$TARNIX_SYSFS/$device/net/$1" "$TARNIX_SYSFS/class/net"
    ln -s "../../../../../../bus/usb/drivers/$2" "$TARNIX_SYSFS/$device/driver"
    ln -s ../.. "$TARNIX_SYSFS/$device/net/$1/device"
    ln -s "../../$device/net/$1" "$TARNIX_SYSFS/class/net/$1"
}

port_open() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# The program got the endpoint tarnix-link served, and tarnix-link ended
# with the program.
expect_link_served() {  # what
    local port
    port=$(sed -n 's/^endpoint: \[127\.0\.0\.1:\([1-9][0-9]*\)\]$/\1/p' <<<"$out")
    if [ "$rc" -ne 0 ] || [ -z "$port" ]; then
        fail "$1: no endpoint of tarnix-link (status $rc): $out"$'\n'"$err"
    elif ! grep -qx "listening on 127.0.0.1:$port" "$prefix/link.log"; then
        fail "$1: the endpoint is not tarnix-link's: $(cat "$prefix/link.log")"
    elif port_open "$port"; then
        fail "$1: tarnix-link outlived the program"
    fi
}

if ! [ -x "$link" ]; then
    fail "tarnix-link is not built: $link (the host build comes first)"
else
    export TARNIX_LINK_PROGRAM=$link
    # Both ends on loopback, on ports of the system's choosing: never 990.
    link_options="--mode usb --pc-address 127.0.0.1 --device-address 127.0.0.1 --usb-port 0 --trigger-port 9"
    export TARNIX_LINK_OPTIONS=$link_options

    add_interface enx00e04c680001 r8152
    add_interface enx00e04c680002 e1000e
    launch "$content"
    expect_line "wired network adapters only" "endpoint: []"
    [ ! -e "$prefix/link.log" ] || fail "tarnix-link was started for a wired network adapter"

    add_interface usb0 rndis_host
    launch "$content"
    expect_link_served "a handheld's interface"
    [ -z "$err" ] || fail "a handheld's interface: said '$err'"
    launch --handheld 127.0.0.1:5679 "$content"
    expect_line "a handheld by address beside a handheld's interface" "endpoint: [127.0.0.1:5679]"

    # Port 990 taken (here: the usb port a first tarnix-link serves on).
    "$link" $link_options --serve 127.0.0.1:0 </dev/null >"$work/blocker.log" 2>&1 &
    blocker=$!
    for _ in $(seq 50); do grep -q '^listening' "$work/blocker.log" && break; sleep 0.1; done
    busy=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/blocker.log")
    TARNIX_LINK_OPTIONS="$link_options --usb-port $busy" launch "$content"
    expect_line "the port taken: the program without the handheld" "endpoint: []"
    [ "$err" = "tarnix-link: cannot listen on port $busy: Address already in use" ] ||
        fail "the port taken: not tarnix-link's one line: '$err'"
    TARNIX_LINK_OPTIONS="$link_options --usb-port $busy" launch --device "$content"
    expect_error "the port taken, the handheld asked for" "cannot listen on port $busy"
    kill "$blocker"
    wait "$blocker"

    TARNIX_LINK_PROGRAM=$work/no/tarnix-link launch "$content"
    expect_line "tarnix-link missing: the program without the handheld" "endpoint: []"
    [[ $err == "tarnix: a handheld link is on usb0, but tarnix-link cannot be run: $work/no/tarnix-link" ]] ||
        fail "tarnix-link missing: said '$err'"

    # Interrupted: tarnix-link ends with the launcher, though the program stays.
    LAUNCH_PROBE_HOLD=60 "$launcher" "$content" >"$work/held" 2>&1 &
    held=$!
    for _ in $(seq 150); do grep -q '^endpoint' "$work/held" && break; sleep 0.2; done
    port=$(sed -n 's/^endpoint: \[127\.0\.0\.1:\([1-9][0-9]*\)\]\r\?$/\1/p' "$work/held")
    if [ -z "$port" ] || ! port_open "$port"; then
        fail "a launch in use: tarnix-link does not serve: $(cat "$work/held")"
    fi
    kill "$held"
    wait "$held"
    ! port_open "${port:-0}" || fail "tarnix-link outlived an interrupted launcher"
    WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null

    rm "$TARNIX_SYSFS/class/net/usb0"
    launch --device "$content"
    expect_link_served "--device with no handheld's interface"
    # Found on the PATH when not named.
    mkdir -p "$work/bin"
    printf '#!/bin/sh\necho "$0" >>"%s"\nexec "%s" "$@"\n' "$work/link-runs" "$link" >"$work/bin/tarnix-link"
    chmod +x "$work/bin/tarnix-link"
    PATH=$work/bin:$PATH TARNIX_LINK_PROGRAM= launch --device "$content"
    expect_link_served "tarnix-link on the PATH"
    [ "$(cat "$work/link-runs" 2>/dev/null)" = "$work/bin/tarnix-link" ] || fail "tarnix-link on the PATH was not run"
fi

# ---- errors: one line each, nothing started --------------------------------------------
TARNIX_LINK_PROGRAM=$work/no/tarnix-link launch --device "$content"
expect_error "--device without tarnix-link" "tarnix-link cannot be run: $work/no/tarnix-link"
launch --device --emulate "$work/handheld" "$content"
expect_error "--device with --emulate" "cannot be used with"
launch --handheld 127.0.0.1:5679 --device "$content"
expect_error "--device with --handheld" "cannot be used with"
TARNIX_WINE=$work/no/wine64 launch "$content"
expect_error "no Wine" "Wine is not installed"
launch "$work/no such folder"
expect_error "a content folder that is not there" "the content folder does not exist"
# Started from the desktop's menu: the same line in a message box too.
mkdir -p "$work/dialogs"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s"\n' "$work/zenity-args" >"$work/dialogs/zenity"
chmod +x "$work/dialogs/zenity"
PATH=$work/dialogs:$PATH launch --error-box "$work/no such folder"
expect_error "from the menu, a content folder that is not there" "the content folder does not exist"
grep -qxF -- "--text=tarnix: the content folder does not exist: $work/no such folder" "$work/zenity-args" 2>/dev/null ||
    fail "from the menu, no message box said it: $(cat "$work/zenity-args" 2>&1)"
rm -f "$work/zenity-args"
PATH=$work/dialogs:$PATH launch "$work/no such folder"
[ ! -e "$work/zenity-args" ] || fail "a message box from a terminal's launch"
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
expect_error "a second launch with the same prefix" "already runs"
exec 8>&-

# Its launcher killed, the first program runs on: a second launch leaves it
# and its drives alone.
LAUNCH_PROBE_HOLD=60 "$launcher" "$content" >"$work/first" 2>&1 &
first=$!
for _ in $(seq 150); do grep -q '^command line' "$work/first" && break; sleep 0.2; done
kill -KILL "$first"
wait "$first" 2>/dev/null
probe_runs() {
    local environ
    for environ in /proc/[0-9]*/environ; do
        grep -qzxF -- "WINEPREFIX=$prefix" "$environ" 2>/dev/null &&
            tr '\0' ' ' <"${environ%/environ}/cmdline" | grep -qiF "${TARNIX_PROGRAM##*/}" && return 0
    done
    return 1
}
probe_runs || fail "the first program did not outlive its killed launcher: $(cat "$work/first")"
write_mounts "no card"
launch "$content"
expect_error "a second launch while a program of a killed launcher runs" "already runs"
probe_runs || fail "a second launch ended the first program"
[ "$(readlink "$prefix/dosdevices/e:")" = "$media/card" ] || fail "a second launch took the running program's drive"
write_mounts
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null

# ---- the environment and the names a user may have -------------------------------------
mkdir -p "$work/fake-locale"
printf '#!/bin/sh\nprintf "C\\nC.utf8\\nPOSIX\\n"\n' >"$work/fake-locale/locale"
chmod +x "$work/fake-locale/locale"
PATH=$work/fake-locale:$PATH launch "$content"
expect_error "the language set's locale missing" "the locale zh_TW.UTF-8 is missing"
[[ $err == *"locale-gen"* ]] || fail "the locale missing: no command named: $err"
HOME= XDG_DATA_HOME= launch "$content"
expect_error "neither HOME nor XDG_DATA_HOME" "set TARNIX_PREFIX"
TARNIX_PREFIX=$HOME launch "$content"
expect_error "the home folder as the prefix" "holds your home folder"
TARNIX_PREFIX=$work launch "$content"
expect_error "a folder above the home folder as the prefix" "holds your home folder"
mkdir -p "$work/ctl"$'\001'"x" "$work/bad"$'\377'
launch "$work/ctl"$'\001'"x"
expect_error "a control character in a path" "control characters"
launch "$work/bad"$'\377'
expect_error "bytes that are not UTF-8 in a path" "not UTF-8 text"

# A font whose name holds a quote and a backslash reaches the registry whole.
mkdir -p "$work/fake-fonts"
printf '#!/bin/sh\nprintf '"'"'Evil "Font\\\\ Name\\n'"'"'\n' >"$work/fake-fonts/fc-list"
chmod +x "$work/fake-fonts/fc-list"
PATH=$work/fake-fonts:$PATH launch "$content"
[ "$rc" -eq 0 ] || fail "a font name with a quote: exit status $rc: $err"
grep -qF '"MS Shell Dlg"="Evil \"Font\\ Name"' "$prefix/user.reg" ||
    fail "a font name with a quote: not in the registry as it is: $(grep -F 'MS Shell Dlg' "$prefix/user.reg")"
launch "$content"
[ "$rc" -eq 0 ] || fail "after a font name with a quote: exit status $rc: $err"

# The state of an older launcher is taken over; records of a state that are
# no letter the launcher gives are not followed out of the prefix.
ln -s /nowhere "$XDG_DATA_HOME/tarnix/evil:"
# The launcher's record as launchers before the present form kept it.
to_older_state() {
    while IFS= read -r -d '' letter && IFS= read -r -d '' mountpoint; do
        printf '%s\t%s\n' "$letter" "$mountpoint"
    done <"$prefix/.tarnix-drives" >"$prefix/.tarnix-media"
    rm "$prefix/.tarnix-drives"
}
to_older_state
printf '../../evil\t/nowhere\n' >>"$prefix/.tarnix-media"
launch "$content"
expect_line "an older launcher's state: the stick keeps its letter" "drive D: removable"
expect_no_line "an older launcher's state: no letter twice" "drive H: removable"
[ ! -e "$prefix/.tarnix-media" ] && [ -f "$prefix/.tarnix-drives" ] || fail "an older launcher's state was not replaced"
printf '../../evil\0/nowhere\0' >>"$prefix/.tarnix-drives"
launch "$content"
[ "$rc" -eq 0 ] || fail "a malformed state: exit status $rc: $err"
[ -L "$XDG_DATA_HOME/tarnix/evil:" ] || fail "a malformed state removed a file outside the prefix"

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

# A mount point with a tab, a newline or a backslash in its name is a
# medium like any other.
add_disk sdt 1 usb sdt1
add_disk sdu 1 usb sdu1
odd_names=("$media/tab"$'\t'"new"$'\n'"line" "$media/back\\slash")
mkdir -p "${odd_names[@]}"
{
    echo "/dev/nvme0n1p2 / ext4 rw 0 0"
    echo "/dev/sdt1 $media/tab\\011new\\012line vfat rw 0 0"
    echo "/dev/sdu1 $media/back\\134slash vfat rw 0 0"
} >"$TARNIX_MOUNTS"
launch "$content"
[ "$rc" -eq 0 ] || fail "media with odd names: exit status $rc: $err"
for name in "${odd_names[@]}"; do
    mapped=
    for letter in "$prefix"/dosdevices/[d-y]:; do
        [ "$(readlink "$letter")" = "$name" ] && mapped=${letter##*/}
    done
    [ -n "$mapped" ] && grep -qx "drive ${mapped^^} removable" <<<"$out" ||
        fail "a medium named $(printf '%q' "$name") has no removable drive: $out"
done

for p in "$prefix" "$HOME/.local/share/tarnix/prefix"; do WINEPREFIX=$p /usr/lib/wine/wineserver -k 2>/dev/null; done

# ---- Wine's own letters: none -----------------------------------------------------------
# udisks2, mocked on a bus of the test's own that stands for the system bus,
# reports a USB stick the launcher does not know. Wine's device manager
# gives such a medium a letter of its own when it reaches the bus, and only
# for a real block device: the test lends it one of the machine's, which
# Wine only reads.
start_udisks_mock() {  # objects as JSON
    cat >"$work/bus.conf" <<EOC
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <listen>unix:path=$work/bus</listen>
  <policy context="default">
    <allow user="*"/> <allow own="*"/>
    <allow send_type="method_call"/> <allow send_type="signal"/>
    <allow send_type="method_return"/> <allow send_type="error"/>
    <allow receive_type="method_call"/> <allow receive_type="signal"/>
    <allow receive_type="method_return"/> <allow receive_type="error"/>
  </policy>
</busconfig>
EOC
    dbus-daemon --config-file="$work/bus.conf" --nofork >/dev/null 2>&1 &
    bus_pid=$!
    for _ in $(seq 50); do [ -S "$work/bus" ] && break; sleep 0.1; done
    local params
    params=$(/usr/bin/python3 -c 'import json, sys; print(json.dumps({"objects": sys.argv[1]}))' "$1")
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/bus /usr/bin/python3 -m dbusmock \
        --template "$checkout/tests/tools/media/udisks2_template.py" -p "$params" >/dev/null 2>&1 &
    mock_pid=$!
    for _ in $(seq 100); do
        DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/bus busctl --system status org.freedesktop.UDisks2 >/dev/null 2>&1 &&
            break
        sleep 0.1
    done
}
lent_device=
for candidate in /dev/vd[a-z] /dev/sd[a-z] /dev/nvme[0-9]n[0-9] /dev/mmcblk[0-9] /dev/loop[0-9]; do
    [ -b "$candidate" ] && { lent_device=$candidate; break; }
done
if [ -z "$lent_device" ]; then
    echo "SKIPPED: Wine's own letters: this machine has no block device to lend Wine"
else
    mkdir -p "$media/wine-only"
    block=/org/freedesktop/UDisks2/block_devices/sdw1 drive=/org/freedesktop/UDisks2/drives/w
    start_udisks_mock "{\"$block\": {
        \"org.freedesktop.UDisks2.Block\": {\"Device\": [\"ay\", \"$lent_device\"], \"Drive\": [\"o\", \"$drive\"],
            \"IdType\": [\"s\", \"vfat\"], \"IdUUID\": [\"s\", \"1234-ABCD\"], \"IdUsage\": [\"s\", \"filesystem\"]},
        \"org.freedesktop.UDisks2.Filesystem\": {\"MountPoints\": [\"aay\", [\"$media/wine-only\"]]}},
        \"$drive\": {\"org.freedesktop.UDisks2.Drive\": {\"Removable\": [\"b\", true],
            \"MediaRemovable\": [\"b\", true], \"ConnectionBus\": [\"s\", \"usb\"]}}}"
    # A letter Wine gave in a prefix from before the launcher kept Wine off
    # the bus goes as the launcher takes that prefix over.
    ln -s "$media/wine-old" "$prefix/dosdevices/k:"
    ln -s /dev/null "$prefix/dosdevices/k::"
    to_older_state
    # The device manager starts with Wine's server: the probe holds it up
    # long enough for the manager to have read the bus.
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/bus LAUNCH_PROBE_HOLD=5 launch "$content"
    [ "$rc" -eq 0 ] || fail "udisks2 on the bus: exit status $rc: $err"
    for letter in "$prefix"/dosdevices/*; do
        [ "$(readlink "$letter")" != "$media/wine-only" ] || fail "Wine gave a medium a letter of its own: ${letter##*/}"
    done
    [ ! -L "$prefix/dosdevices/k:" ] && [ ! -L "$prefix/dosdevices/k::" ] ||
        fail "a letter Wine's device manager gave before stayed"
    expect_no_line "no drive K: beside the launcher's" "drive K: removable"
    kill "$mock_pid" "$bus_pid" 2>/dev/null
    wait "$mock_pid" "$bus_pid" 2>/dev/null
    WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null
fi

# ---- media that come and go while the program runs ---------------------------------------
# The card is unmounted and a stick mounted while the program runs: the
# card's letter stops leading to its folder (the fixed disk's, now) within a
# second, and the stick gets a letter the program finds when it looks again.
add_disk sdn 1 usb sdn1
mkdir -p "$media/late stick"
write_mounts
LAUNCH_PROBE_HOLD=10 LAUNCH_PROBE_RESCAN=6 "$launcher" "$content" >"$work/running" 2>&1 &
running=$!
for _ in $(seq 150); do grep -q '^command line' "$work/running" && break; sleep 0.2; done
letter_of_folder() {  # folder: the letter leading there, lower case with its colon
    local link
    for link in "$prefix"/dosdevices/[d-y]:; do
        [ "$(readlink "$link")" = "$1" ] && echo "${link##*/}"
    done
}
card_letter=$(letter_of_folder "$media/card")
{
    grep -v mmcblk0p1 "$TARNIX_MOUNTS"
    echo "/dev/sdn1 $media/late\\040stick vfat rw 0 0"
} >"$work/mounts.new"
mv "$work/mounts.new" "$TARNIX_MOUNTS"
unmounted=$(date +%s%N)
while [ -L "$prefix/dosdevices/$card_letter" ] && [ $((($(date +%s%N) - unmounted) / 1000000)) -lt 5000 ]; do
    sleep 0.02
done
elapsed=$((($(date +%s%N) - unmounted) / 1000000))
echo "an unmounted card's letter went after $elapsed ms"
if [ -z "$card_letter" ] || [ -L "$prefix/dosdevices/$card_letter" ]; then
    fail "an unmounted card's letter (${card_letter:-none}) still leads to its folder"
elif [ "$elapsed" -gt 1000 ]; then
    fail "an unmounted card's letter went only after $elapsed ms"
fi
wait "$running"
running_out=$(tr -d '\r' <"$work/running")
late_letter=$(letter_of_folder "$media/late stick")
if [ -z "$late_letter" ]; then
    fail "a stick mounted while the program runs got no letter"
else
    grep -qx "later: drive ${late_letter^^} removable" <<<"$running_out" ||
        fail "the program does not find the stick mounted while it runs: $running_out"
fi
! grep -q "^later: drive ${card_letter^^} " <<<"$running_out" ||
    fail "the program still finds the unmounted card's drive: $running_out"
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null

# ---- make install into a staging folder -------------------------------------------------
# With the tests' build of tarnix-link: installing is what is tested here.
dest=$work/dest
installed=$dest/usr/local/bin/tarnix-link
make_install() {
    make -s --no-print-directory -C "$checkout" install DESTDIR="$dest" LINK_BUILD="${link%/platform/link/*}" \
        >/dev/null 2>"$work/stderr"
    rc=$?
    err=$(cat "$work/stderr")
}
grant_line="setcap cap_net_bind_service=+ep $installed"
expect_installed() {  # what
    [ "$rc" -eq 0 ] || fail "$1: make install failed: $err"
    cmp -s "$link" "$installed" || fail "$1: tarnix-link is not installed in $installed"
    [ "$(stat -c %a "$installed" 2>/dev/null)" = 755 ] || fail "$1: installed with mode $(stat -c %a "$installed")"
}
mkdir -p "$work/no-right"
printf '#!/bin/sh\necho "unable to set CAP_SETFCAP effective capability" >&2\nexit 1\n' >"$work/no-right/setcap"
chmod +x "$work/no-right/setcap"
PATH=$work/no-right:$PATH make_install
expect_installed "setcap refused"
[ "$(wc -l <<<"$err")" -eq 1 ] && [[ $err == *"$grant_line" ]] || fail "setcap refused: not one line naming it: '$err'"
make_install
expect_installed "make install again"
if [ "$(id -u)" -eq 0 ]; then
    [ -z "$err" ] || fail "make install as root: said '$err'"
    [[ $(getcap "$installed") == *cap_net_bind_service=ep ]] || fail "make install as root: no capability"
else
    [[ $err == *"$grant_line" ]] || fail "make install without root: not the line naming setcap: '$err'"
fi
if [ $failures -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "all passed"

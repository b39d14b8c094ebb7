#!/usr/bin/env bash
# The Debian packages as Debian's tools and a user meet them: lintian, the
# desktop entry, the AppStream data and the man pages; the files, their
# modes and the control fields; the same bytes when built again; then both
# packages unpacked into a scratch folder (never installed), where the
# launcher, with no setting naming a build or a program, starts the
# packaged program, its emulator and its media watch under a 64-bit Wine
# on the null display driver, against made-up media.
#   DebianPackagesTest.sh WORK-FOLDER I686-BUILD X86_64-BUILD TARNIX-LINK
set -uo pipefail

work=$1 i686=$2 x86_64=$3 link=$4
checkout=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
. "$checkout/tests/support/shell-test.sh"
make_packages=$checkout/packaging/debian/make-packages
work=$(fresh_work_folder "$work") || exit 1

version=$(cat "$x86_64/VERSION") || exit 1
arch=$(dpkg --print-architecture)
for tool in lintian desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || { echo "FAILED: $tool is missing (tools/bootstrap installs it)"; exit 1; }
done

# ---- the packages ----------------------------------------------------------------
out=$work/out
said=$("$make_packages" "$version" "$i686" "$x86_64" "$link" "$out" 2>&1) || { echo "FAILED: make-packages: $said"; exit 1; }
[ -z "$said" ] || fail "make-packages said: $said"
deb=$out/tarnix_${version}_all.deb link_deb=$out/tarnix-link_${version}_$arch.deb
[ -f "$deb" ] && [ -f "$link_deb" ] || { echo "FAILED: not the two packages: $(ls "$out")"; exit 1; }
echo "sizes: $(stat -c '%n %s' "$deb" "$link_deb" | sed "s|$out/||" | paste -sd ' ')"

SOURCE_DATE_EPOCH=1700000000 "$make_packages" "$version" "$i686" "$x86_64" "$link" "$work/again1" &&
    SOURCE_DATE_EPOCH=1700000000 "$make_packages" "$version" "$i686" "$x86_64" "$link" "$work/again2" ||
    fail "make-packages with SOURCE_DATE_EPOCH"
for file in "${deb##*/}" "${link_deb##*/}"; do
    cmp -s "$work/again1/$file" "$work/again2/$file" || fail "$file is not the same when built again"
done

# ---- Debian's checks -----------------------------------------------------------------
# No error and no warning; what lintian only notes is shown.
lintian --fail-on error,warning --tag-display-limit 0 -I "$deb" "$link_deb" >"$work/lintian" 2>&1 ||
    fail "lintian: $(cat "$work/lintian")"
sed -n 's/^\([IP]: \)/lintian notes: \1/p' "$work/lintian"

root=$work/root
for package in "$deb" "$link_deb"; do dpkg-deb -x "$package" "$root" || fail "dpkg-deb -x $package"; done
desktop=$(echo "$root"/usr/share/applications/*.desktop)
desktop-file-validate "$desktop" >"$work/desktop" 2>&1 && ! [ -s "$work/desktop" ] ||
    fail "desktop-file-validate: $(cat "$work/desktop")"
# The AppStream data with the desktop entry and the icons it names.
appstreamcli validate-tree --no-net "$root" >"$work/appstream" 2>&1 || fail "appstreamcli: $(cat "$work/appstream")"
for page in tarnix tarnix-link; do
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>"$work/man")
    [ -s "$work/man" ] && fail "man $page: $(cat "$work/man")"
    grep -q "^NAME" <<<"$text" && grep -q "^ *$page - " <<<"$text" || fail "man $page: no NAME section naming it"
    grep -q "Tarnix $version" <<<"$text" || fail "man $page: not of version $version"
done

# ---- the files, their modes and owners, and the control fields ----------------------------
listing=$(dpkg-deb -c "$deb"; dpkg-deb -c "$link_deb")
expect_entry() {  # mode, path[ -> link target]
    grep -qE "^$1 root/root +[0-9]+ [-0-9]+ [0-9:]+ \./$2\$" <<<"$listing" || fail "no $1 ./$2 in the packages"
}
expect_entry lrwxrwxrwx "usr/bin/tarnix -> \.\./lib/tarnix/tarnix"
expect_entry -rwxr-xr-x usr/lib/tarnix/tarnix
expect_entry -rwxr-xr-x usr/lib/tarnix/lib/tarnix-media
expect_entry -rw-r--r-- usr/lib/tarnix/lib/stand-in.sh
expect_entry -rw-r--r-- usr/lib/tarnix/lib/tarnixmedia/__main__.py
for a in i686 x86_64; do
    for program in tarnix.exe rapi.dll rapiemu.exe tarnix-drives.exe; do expect_entry -rw-r--r-- "usr/lib/tarnix/$a/$program"; done
done
for size in 16 24 32 48 64 128 256; do
    expect_entry -rw-r--r-- "usr/share/icons/hicolor/${size}x$size/apps/tarnix.png"
    [ "$(file -b "$root/usr/share/icons/hicolor/${size}x$size/apps/tarnix.png" | cut -d, -f2)" = " $size x $size" ] ||
        fail "the ${size}x$size icon is $(file -b "$root/usr/share/icons/hicolor/${size}x$size/apps/tarnix.png")"
done
expect_entry -rwxr-xr-x usr/bin/tarnix-link
for page in tarnix tarnix-link; do
    expect_entry -rw-r--r-- "usr/share/man/man1/$page.1.gz"
    expect_entry -rw-r--r-- "usr/share/doc/$page/copyright"
done
cmp -s "$x86_64/app/tarnix.exe" "$root/usr/lib/tarnix/x86_64/tarnix.exe" || fail "the x86_64 program is not the build's"
cmp -s "$i686/app/tarnix.exe" "$root/usr/lib/tarnix/i686/tarnix.exe" || fail "the i686 program is not the build's"
grep -qx 'Name\[zh_TW\]=Lexora字庫安裝程式' "$desktop" && grep -qx 'Name\[zh_CN\]=Lexora字库安装程序' "$desktop" &&
    grep -qx 'Exec=tarnix --error-box %f' "$desktop" && grep -qx 'Icon=tarnix' "$desktop" || fail "the desktop entry's names or command"
grep -qF "<release version=\"$version\"" "$root"/usr/share/metainfo/*.xml || fail "the AppStream release is not $version"

expect_field() {  # package, field, value (an extended regular expression)
    local value
    value=$(dpkg-deb -f "$1" "$2")
    [[ $value =~ ^$3$ ]] || fail "${1##*/}: $2 is '$value', not '$3'"
}
expect_field "$deb" Package tarnix
expect_field "$deb" Version "$version"
expect_field "$deb" Architecture all
expect_field "$deb" Depends "wine \(>= [0-9.]+\), wine64 \| wine32, python3, locales-all \| locales, fontconfig"
expect_field "$deb" Recommends "tarnix-link \(= $version\), fonts-wqy-microhei( \| [a-z-]+)*, zenity( \| [a-z0-9-]+)*"
expect_field "$link_deb" Architecture "$arch"
# The libraries' packages as dpkg-shlibdeps finds them (the tests' build
# has the checkers' libraries too), and setcap for postinst.
expect_field "$link_deb" Depends "([a-z0-9.+-]+( \([^)]*\))?, )*libc6 \(>= [0-9.]+\)(, [a-z0-9.+-]+( \([^)]*\))?)*, libcap2-bin"
installed=$(du -sk --apparent-size "$root" | cut -f1)
sizes=$(($(dpkg-deb -f "$deb" Installed-Size) + $(dpkg-deb -f "$link_deb" Installed-Size)))
[ $((sizes * 10)) -ge $((installed * 9)) ] && [ $((sizes * 10)) -le $((installed * 12)) ] ||
    fail "Installed-Size $sizes KiB for $installed KiB unpacked"

# The capability is granted by postinst alone, and a refusal does not stop
# the install.
postinst=$work/postinst
dpkg-deb --ctrl-tarfile "$link_deb" | tar -xO ./postinst >"$postinst"
mkdir -p "$work/no-right"
printf '#!/bin/sh\necho "$*" >"%s"\nexit 1\n' "$work/setcap-args" >"$work/no-right/setcap"
printf '#!/bin/sh\nexit 1\n' >"$work/no-right/dpkg-statoverride"
chmod +x "$work/no-right/setcap" "$work/no-right/dpkg-statoverride"
said=$(PATH=$work/no-right:$PATH sh "$postinst" configure 2>&1) || fail "postinst failed where setcap refused: $said"
[ "$(cat "$work/setcap-args" 2>/dev/null)" = "cap_net_bind_service=+ep /usr/bin/tarnix-link" ] ||
    fail "postinst did not grant the one capability: $(cat "$work/setcap-args" 2>/dev/null)"
[[ $said == *"setcap cap_net_bind_service=+ep /usr/bin/tarnix-link"* ]] || fail "postinst: no line naming setcap: '$said'"

# ---- the unpacked launcher starts the packaged program -------------------------------------
export HOME=$work/home XDG_DATA_HOME=$work/data TARNIX_LANG=zh_TW
unset TARNIX_BUILD TARNIX_PROGRAM TARNIX_PREFIX TARNIX_WINE TARNIX_DESKTOP TARNIX_RAPI_ENDPOINT TARNIX_LINK_PROGRAM \
    TARNIX_LINK_OPTIONS DISPLAY WAYLAND_DISPLAY
# Made-up media: the system's disk and a USB stick; no udisks2.
export TARNIX_SYSFS=$work/sys TARNIX_MOUNTS=$work/mounts TARNIX_SWAPS=$work/swaps TARNIX_DEV=$work/dev
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$work/no-bus
stick=devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb
mkdir -p "$HOME" "$TARNIX_DEV" "$TARNIX_SYSFS/$stick/sdb1" "$TARNIX_SYSFS/block" "$work/stick" "$work/content" "$work/handheld"
echo 1 >"$TARNIX_SYSFS/$stick/removable"
ln -s "../$stick" "$TARNIX_SYSFS/block/sdb"
printf 'Filename\tType\tSize\tUsed\tPriority\n' >"$TARNIX_SWAPS"
printf '/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 %s vfat rw 0 0\n' "$work/stick" >"$TARNIX_MOUNTS"

# The prefix on Wine's null display driver, so that the program's windows
# need no screen.
prefix=$XDG_DATA_HOME/tarnix/prefix
wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver
mkdir -p "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all
# Wine's menu builder off, and its desktop files, were it to write any,
# in the work folder: nothing reaches the machine user's menus.
export XDG_CONFIG_HOME=$work/config
WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" "$wine" wineboot -i >/dev/null 2>&1 &&
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 &&
    "$wineserver" -w || { echo "FAILED: no Wine prefix in $prefix"; exit 1; }
unset WINEPREFIX

"$root/usr/bin/tarnix" --emulate "$work/handheld" "$work/content" >"$work/launch.out" 2>"$work/launch.err" &
launcher=$!
# The processes of the prefix, one command line a line.
prefix_processes() {
    local environ
    for environ in $(grep -lsxzF -- "WINEPREFIX=$prefix" /proc/[0-9]*/environ); do
        { tr '\0' ' ' <"${environ%/environ}/cmdline"; } 2>/dev/null
        echo
    done
}
programs=$root/usr/lib/tarnix/x86_64
# Each until a deadline, as a machine under load starts them late; then
# still there a moment later: not a program that failed at once.
eventually() {  # command...
    local _
    for _ in $(seq 150); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}
runs() {  # text of a command line
    local processes
    processes=$(prefix_processes)   # whole: grep -q ending early would fail the pipe
    grep -qF -- "$1" <<<"$processes"
}
eventually runs "$programs/tarnix.exe Z:${work//\//\\}\\content,,D:\\" ||
    fail "the packaged program does not run with the content folder and the stick: $(prefix_processes)$(cat "$work/launch.err")"
eventually runs "$programs/rapiemu.exe --root" || fail "the packaged emulator does not run: $(prefix_processes)"
eventually runs "$root/usr/lib/tarnix/lib watch $prefix $wine $programs/tarnix-drives.exe" ||
    fail "the packaged media watch does not run: $(prefix_processes)"
eventually grep -qs "^connection " "$prefix/emulator.log" ||
    fail "the program did not reach the emulator: $(cat "$prefix/emulator.log" 2>/dev/null)"
sleep 1
runs "$programs/tarnix.exe" || fail "the packaged program ended: $(cat "$work/launch.err")"
cmp -s "$programs/rapi.dll" "$prefix/drive_c/windows/system32/rapi.dll" || fail "the packaged stand-in is not in the prefix"
[ "$(readlink "$prefix/dosdevices/d:")" = "$work/stick" ] || fail "the stick is not drive D:"
WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null
wait "$launcher"
[ -z "$(prefix_processes)" ] || fail "processes of the prefix outlived the launcher: $(prefix_processes)"

if [ $failures -ne 0 ]; then
    echo "$failures failed"
    exit 1
fi
echo "all passed"

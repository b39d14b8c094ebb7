#!/usr/bin/env bash
# The Windows packages as a user and an administrator meet them: the zip's
# content, then the installer in a fresh Wine prefix of its own (never the
# build's shared one, never ~/.wine) under the locale ctest gives: a silent
# install of the package as shipped (the i686 build's), its files, shortcut
# and uninstall entry; a newer version, made of this build's programs,
# replacing it, and the installed program started; the older version
# refused over the newer; a silent uninstall, after which the prefix's
# files and registry are as they were before.
#   WindowsPackagesTest.sh WORK-FOLDER BUILD-FOLDER INSTALLED-PROGRAM-TEST SHIPPED-BUILD-FOLDER
set -uo pipefail

work=$1 build=$(cd "$2" && pwd) probe=$3 shipped=$(cd "$4" && pwd)
checkout=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
. "$checkout/tests/support/shell-test.sh"
make_packages=$checkout/packaging/windows/make-packages
wine_run=$build/wine-run

version=$(cat "$build/VERSION") || exit 1
program=$build/app/tarnix.exe stand_in=$build/platform/rapi/rapi.dll
work=$(fresh_work_folder "$work") || exit 1

case ${LC_ALL:-} in
zh_CN*) shortcut=Lexora字库安装程序 console=GBK ;;
*)      shortcut=Lexora字庫安裝程式 console=BIG5 ;;
esac

# --- the packages ---
"$make_packages" "$version" "$build" "$work/out" || { echo "FAILED: make-packages"; exit 1; }
msi=$work/out/tarnix-$version.msi zip=$work/out/tarnix-$version-win32.zip
[ -s "$msi" ] || fail "no $msi"
echo "sizes: $(stat -c '%n %s' "$msi" "$zip" | sed "s|$work/out/||" | paste -sd ' ')"

# --- the zip: one folder with the program as built and the readme ---
python3 - "$zip" "$program" "$stand_in" "$version" <<'PYTHON' || fail "the zip's content"
import sys, zipfile
archive, program, stand_in, version = sys.argv[1:]
folder = f"tarnix-{version}/"
with zipfile.ZipFile(archive) as z:
    names = sorted(z.namelist())
    expected = sorted([folder, folder + "tarnix.exe", folder + "rapi.dll", folder + "readme.txt"])
    ok = names == expected or print(f"names {names}, not {expected}")
    for name, built in (("tarnix.exe", program), ("rapi.dll", stand_in)):
        packed = z.read(folder + name) if folder + name in names else b""
        ok = (packed == open(built, "rb").read() or print(f"{name} is not the build's")) and ok
    readme = z.read(folder + "readme.txt") if folder + "readme.txt" in names else b""
    text = readme[3:].decode("utf-8", "replace")
    ok = (readme.startswith(b"\xef\xbb\xbf") or print("the readme has no byte-order mark")) and ok
    ok = ("\n" not in text.replace("\r\n", "") or print("the readme's lines do not end in CR LF")) and ok
    for part in ("繁體中文", "简体中文", "English", f"Tarnix {version}", f"tarnix-{version}.msi"):
        ok = (part in text or print(f"the readme does not say '{part}'")) and ok
sys.exit(0 if ok else 1)
PYTHON
# The same program and time give the same zip, byte for byte.
SOURCE_DATE_EPOCH=1700000000 "$make_packages" "$version" "$build" "$work/again1" \
    && SOURCE_DATE_EPOCH=1700000000 "$make_packages" "$version" "$build" "$work/again2" \
    && cmp -s "$work/again1/tarnix-$version-win32.zip" "$work/again2/tarnix-$version-win32.zip" \
    || fail "two zips of the same program and time differ"

# A machine that cannot run this build's programs checks the packages
# only, and reports the rest skipped.
"$wine_run" --version >/dev/null 2>&1
if [ $? -eq 77 ]; then
    [ $failures -eq 0 ] || exit 1
    "$wine_run" --version
    exit 77
fi

# --- a fresh prefix, and what it holds before the installer comes ---
# Wine's desktop integration writes menu entries and icons under the
# home folder: here that is the work folder's, not the machine user's.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
prefix_home=$work/prefix
mkdir -p "$HOME" "$prefix_home"
"$checkout/tools/wine-prefix" make-bare "$prefix_home" 2>/dev/null \
    || "$checkout/tools/wine-prefix" make-bare "$prefix_home" \
    || { echo "FAILED: making the Wine prefix"; cat "$prefix_home/wineprefix-bare.boot.log"; exit 1; }
prefix=$prefix_home/wineprefix-bare
export TARNIX_WINEPREFIX=$prefix
wineserver=$(sed -n 's/^export WINESERVER="\(.*\)"$/\1/p' "$wine_run")
stop_wine() { WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null; WINEPREFIX=$prefix "$wineserver" -w 2>/dev/null; }
trap stop_wine EXIT

# Every file of drive_c (with its content's digest) and every key and value
# of the registry, one per line. Wine writes the registry when its server
# ends, so the server is down when this runs. Timestamps of keys and of the
# files are left out.
snapshot() {  # file
    python3 - "$prefix" >"$1" <<'PYTHON'
import hashlib, os, sys
prefix = sys.argv[1]
lines = []
for hive in ("system.reg", "user.reg", "userdef.reg"):
    key = None
    for line in open(os.path.join(prefix, hive), encoding="utf-8", errors="surrogateescape"):
        line = line.rstrip("\n")
        if line.startswith("["):
            key = line[: line.rindex("]") + 1]
            lines.append(f"{hive} {key}")
        elif key and line and not line.startswith("#time="):
            lines.append(f"{hive} {key} {line}")
root = os.path.join(prefix, "drive_c")
for folder, dirs, files in os.walk(root):
    rel = os.path.relpath(folder, root)
    lines.append(f"folder {rel}")
    for name in files:
        path = os.path.join(folder, name)
        digest = "link" if os.path.islink(path) else hashlib.sha1(open(path, "rb").read()).hexdigest()
        lines.append(f"file {os.path.join(rel, name)} {digest}")
print("\n".join(sorted(lines)))
PYTHON
}
# Nor does it here, where it would note its menu entries in the registry.
"$wine_run" reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1 \
    || fail "turning Wine's menu entries off"
stop_wine
snapshot "$work/before.txt" || fail "the prefix's snapshot before the install"

# Wine's own programs start with the first program of the session; with
# their output in a file they hold no pipe of ctest's.
wine() {
    "$wine_run" "$@" >>"$work/wine.log" 2>&1
}
windows_path() {
    echo "Z:${1//\//\\}"
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The uninstall entry's value, as the 32-bit side of the registry (where a
# 32-bit package's entry lives) holds it; reg writes in the console's code
# page.
entry_value() {  # product code, value name
    "$wine_run" reg query "$uninstall_key\\$1" /v "$2" /reg:32 2>/dev/null | iconv -f "$console" -t UTF-8 \
        | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
product_code() {  # msi
    msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'
}
start_menu_shortcuts() {
    find "$prefix/drive_c" -path '*/Start Menu/*' -name '*.lnk' -printf '%f\n' | sort
}

installed_files() {
    ls -A "$prefix/drive_c/Program Files (x86)/Tarnix" 2>&1 | paste -sd ' '
}
expect_programs_of() {  # build folder, what
    local folder="$prefix/drive_c/Program Files (x86)/Tarnix"
    [ "$(installed_files)" = "rapi.dll tarnix.exe" ] \
        || fail "$2: the 32-bit Program Files folder's Tarnix holds '$(installed_files)', not rapi.dll and tarnix.exe"
    cmp -s "$folder/tarnix.exe" "$1/app/tarnix.exe" || fail "$2: the installed tarnix.exe is not the build's"
    cmp -s "$folder/rapi.dll" "$1/platform/rapi/rapi.dll" || fail "$2: the installed rapi.dll is not the build's"
    [ "$(start_menu_shortcuts)" = "$shortcut.lnk" ] \
        || fail "$2: Start-menu shortcuts '$(start_menu_shortcuts | paste -sd ' ')', not '$shortcut.lnk' alone"
}

# --- silent install of the package as shipped ---
"$make_packages" "$version" "$shipped" "$work/shipped" || fail "make-packages of the shipped build"
shipped_msi=$work/shipped/tarnix-$version.msi
wine msiexec /i "$(windows_path "$shipped_msi")" /qn || fail "the silent install (see $work/wine.log)"
code=$(product_code "$shipped_msi")
expect_programs_of "$shipped" "the shipped package"
[ "$(entry_value "$code" DisplayVersion)" = "$version" ] \
    || fail "uninstall entry $code: DisplayVersion '$(entry_value "$code" DisplayVersion)', not $version"
[ "$(entry_value "$code" Publisher)" = "Tarnix 開發團隊" ] \
    || fail "uninstall entry $code: Publisher '$(entry_value "$code" Publisher)'"
[ "$(entry_value "$code" DisplayName)" = Tarnix ] \
    || fail "uninstall entry $code: DisplayName '$(entry_value "$code" DisplayName)'"

# --- a newer version, of this build's programs, replaces it: one program, one entry ---
newer=${version%.*}.$((${version##*.} + 1))
"$make_packages" "$newer" "$build" "$work/newer" || fail "make-packages $newer"
newer_msi=$work/newer/tarnix-$newer.msi
wine msiexec /i "$(windows_path "$newer_msi")" /qn || fail "the silent install of $newer"
newer_code=$(product_code "$newer_msi")
[ "$newer_code" != "$code" ] || fail "versions $version and $newer have the same product code"
[ -z "$(entry_value "$code" DisplayVersion)" ] || fail "the entry of $version stayed beside $newer's"
[ "$(entry_value "$newer_code" DisplayVersion)" = "$newer" ] || fail "no uninstall entry of $newer"
expect_programs_of "$build" "after the upgrade"

# --- the installed program starts and lists a content folder ---
"$wine_run" "$probe" >"$work/program.log" 2>&1 || { fail "the installed program"; cat "$work/program.log"; }

# --- the older version is refused over the newer, which stays ---
! wine msiexec /i "$(windows_path "$shipped_msi")" /qn || fail "$version was installed over $newer"
[ -z "$(entry_value "$code" DisplayVersion)" ] || fail "$version has an uninstall entry beside $newer's"
[ "$(entry_value "$newer_code" DisplayVersion)" = "$newer" ] || fail "after the refused downgrade, no entry of $newer"
expect_programs_of "$build" "after the refused downgrade"

# --- silent uninstall: nothing left ---
wine msiexec /x "$(windows_path "$work/newer/tarnix-$newer.msi")" /qn || fail "the silent uninstall"
stop_wine
snapshot "$work/after.txt" || fail "the prefix's snapshot after the uninstall"
# A snapshot that read nothing would compare equal to another such.
for taken in before after; do
    grep -qx 'folder windows' "$work/$taken.txt" && grep -q '^system\.reg \[Software\\\\Microsoft' "$work/$taken.txt" &&
        grep -q '^user\.reg ' "$work/$taken.txt" || fail "the snapshot $taken the install holds no prefix"
done
# Windows Installer's own bookkeeping keys and folder, which it makes empty
# on its first use and keeps (as Windows itself has them from the start),
# and the device classes, which Wine's display driver writes anew (or not
# yet) on each start; the package writes nothing there.
left=$(diff "$work/before.txt" "$work/after.txt" | grep '^[<>]' | grep -vxE \
    '> system\.reg \[Software\\\\(Wow6432Node\\\\)?Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\]|> system\.reg \[Software\\\\Classes\\\\Installer\\\\(Features|Products|UpgradeCodes)\]|> system\.reg \[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Installer\\\\(UpgradeCodes|UserData\\\\S-1-5-18\\\\(Components|Products))\]|> folder windows/Installer|[<>] system\.reg \[System\\\\CurrentControlSet\\\\Control\\\\Class\\\\[^]]*\]( .*)?')
[ -z "$left" ] || fail "the prefix after the uninstall differs from before the install:"$'\n'"$left"

[ $failures -eq 0 ] || { echo "$failures failure(s); Wine's output: $work/wine.log"; exit 1; }
echo "passed"

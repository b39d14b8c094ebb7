# Sourced by the scripts that prepare a Wine prefix: puts our stand-in remote
# API library where programs find their system directory, and never over a
# library that is not ours (a real one stays as it is).

pe_machine() {  # file: prints the PE machine field in hex (014c i386, 8664 amd64)
    local offset
    offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}

is_our_rapi() {  # file: carries the product name of our stand-in's version record
    LC_ALL=C grep -qaP 'T\x00a\x00r\x00n\x00i\x00x\x00 \x00r\x00e\x00m\x00o\x00t\x00e\x00 \x00A\x00P\x00I\x00 \x00s\x00t\x00a\x00n\x00d\x00-\x00i\x00n\x00' "$1"
}

# The system directory of a prefix for a DLL: a 32-bit one goes to syswow64
# where the prefix has one (a 64-bit prefix), else to system32.
rapi_target_of() {  # dll, prefix
    local windows=$2/drive_c/windows
    case $(pe_machine "$1") in
    014c) [ -d "$windows/syswow64" ] && echo "$windows/syswow64/rapi.dll" || echo "$windows/system32/rapi.dll" ;;
    8664) echo "$windows/system32/rapi.dll" ;;
    esac
}

# Installs (or updates) the stand-in; answers 1 when a library that is not
# ours is already there, after saying so on standard error.
install_stand_in() {  # dll, prefix, name of the caller for the message
    local target
    target=$(rapi_target_of "$1" "$2")
    [ -n "$target" ] || return 0
    if [ -e "$target" ] && ! is_our_rapi "$target"; then
        echo "$3: ${target#"$2"/} is not ours; left as it is" >&2
        return 1
    fi
    cmp -s "$1" "$target" || cp "$1" "$target"
}

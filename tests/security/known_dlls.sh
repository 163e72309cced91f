# The DLLs that Windows maps from its KnownDLLs list on every version from 7 on, whatever lies
# in the program's folder (ntdll is always the system's own): known_dlls.txt, which
# check_image.py reads too. Sourced by the tests here.
KNOWN_DLLS="$(cat "$(dirname "${BASH_SOURCE[0]}")/known_dlls.txt")"

is_known_dll() {  # name without .dll, any case
    local name; name="$(printf '%s' "$1" | tr 'A-Z' 'a-z')"
    case " $(echo $KNOWN_DLLS) " in *" $name "*) return 0 ;; esac
    return 1
}

# Load-time imports of a PE image, lower case, without ".dll", one a line.
load_time_imports() {  # objdump, image
    "$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: \(.*\)\.[dD][lL][lL][[:space:]]*$/\1/p' | tr 'A-Z' 'a-z' | sort -u
}

# Every DLL that Wine's builtin DLLs bind at load time, starting from the given names,
# lower case, one a line (the names given included).
wine_load_time_closure() {  # objdump, names...
    local objdump="$1"; shift
    local dir; dir="$(dirname "$(find /usr/lib/x86_64-linux-gnu/wine /usr/lib/wine -name kernelbase.dll -path '*x86_64-windows*' 2>/dev/null | head -1)")"
    local pending="$*" seen=" "
    while [ -n "$(echo $pending)" ]; do
        local next=""
        for dll in $pending; do
            case "$seen" in *" $dll "*) continue ;; esac
            seen="$seen$dll "
            [ -f "$dir/$dll.dll" ] && next="$next $(load_time_imports "$objdump" "$dir/$dll.dll" | tr '\n' ' ')"
        done
        pending="$next"
    done
    printf '%s\n' $seen
}

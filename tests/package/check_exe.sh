#!/usr/bin/env bash
# Checks that a built exe is what ships: the right kind of Windows
# executable, importing only DLLs that come with Windows, and only functions
# that Windows XP already has. A function that XP lacks stops the loader
# before the program runs a line.
set -euo pipefail
export LC_ALL=C
exe=$1
want=$2     # "PE32 executable (GUI) Intel 80386" or "PE32+ executable (GUI) x86-64"
objdump=$3  # the target's objdump

kind=$(file -b "$exe")
case "$kind" in
    "$want"*) ;;
    *) echo "check_exe: $exe is '$kind', expected '$want'" >&2; exit 1 ;;
esac

system_dlls="KERNEL32.dll USER32.dll GDI32.dll msvcrt.dll"
status=0
for dll in $("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p'); do
    case " $system_dlls " in
        *" $dll "*) echo "imports $dll" ;;
        *) echo "check_exe: $exe imports $dll, which Windows does not bring" >&2; status=1 ;;
    esac
done

# XP refuses an exe that asks for a later Windows in its header: 5.1 for
# 32-bit XP, 5.2 for its x64 edition.
xp=5.1
[[ $want != PE32+* ]] || xp=5.2
subsystem=$("$objdump" -p "$exe" | awk '/^MajorSubsystemVersion/ {major = $2} /^MinorSubsystemVersion/ {minor = $2}
                                      END {print major "." minor}')
if [ "$(printf '%s\n%s\n' "$subsystem" "$xp" | sort -V | tail -n 1)" != "$xp" ]; then
    echo "check_exe: $exe asks for Windows $subsystem in its header; Windows XP is $xp" >&2
    status=1
fi

# Each imported function must be on the reviewed list of what Windows XP SP3
# (and, for the 64-bit build, XP's x64 edition) exports. The MinGW headers
# cannot tell: they declare many later functions for XP as well. A function
# that is not on the list fails the check until someone has looked up its
# minimum client and added it.
list=$(dirname "$0")/xp-exports.txt
imports=$("$objdump" -p "$exe" | awk '
    /DLL Name:/ { dll = toupper($3); sub(/\.DLL$/, "", dll); next }
    dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3 }' | sort -u)
[ -n "$imports" ] || { echo "check_exe: found no imported functions in $exe" >&2; exit 1; }
echo "imports $(wc -l <<<"$imports") functions"
listed=$(grep -v '^#' "$list" | awk 'NF >= 2 { print $1, $2 }' | sort -u)
missing=$(comm -23 <(echo "$imports") <(echo "$listed"))
pending=$(grep -v '^#' "$list" | awk '$3 == "?" { print $1, $2 }' | sort -u | comm -12 <(echo "$imports") - | wc -l)
[ "$pending" = 0 ] || echo "$pending of them are listed with their documentation still to be looked up (\"?\")"
if [ -n "$missing" ]; then
    echo "check_exe: $exe imports what is not on the list of Windows XP's exports ($list):" \
        $(awk '{ print $2 }' <<<"$missing" | sort) >&2
    status=1
fi
exit $status

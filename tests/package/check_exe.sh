#!/usr/bin/env bash
# Checks that a built Vokabix.exe is what ships: the right kind of Windows
# executable, importing only DLLs that come with Windows, and from KERNEL32,
# USER32 and GDI32 only functions that Windows XP already has. A function
# that XP lacks stops the loader before the program runs a line.
set -euo pipefail
exe=$1
want=$2     # "PE32 executable (GUI) Intel 80386" or "PE32+ executable (GUI) x86-64"
objdump=$3  # the target's objdump; its compiler, beside it, judges the imports

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

# The MinGW headers declare a function for XP only when XP has it, so each
# imported name is looked up in them as XP's headers would show it.
functions=$("$objdump" -p "$exe" | awk '
    /DLL Name:/ { dll = toupper($3); next }
    dll ~ /^(KERNEL32|USER32|GDI32)\.DLL$/ && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print $3 }')
[ -n "$functions" ] || { echo "check_exe: found no imported functions in $exe" >&2; exit 1; }
echo "imports $(wc -w <<<"$functions") functions from KERNEL32, USER32 and GDI32"
source=$(mktemp --suffix=.c)
trap 'rm -f "$source"' EXIT
{
    echo '#include <windows.h>'
    echo 'void *const imported[] = {'
    printf '    (void *)&%s,\n' $functions
    echo '};'
} >"$source"
# A compiler that cannot run must not pass for one that found nothing.
if ! errors=$("${objdump%objdump}gcc" -fsyntax-only -D_WIN32_WINNT=0x0501 -DWINVER=0x0501 "$source" 2>&1); then
    missing=$(grep -o "[‘'][A-Za-z0-9_]*[’'] undeclared" <<<"$errors" | tr -d "‘’'" | cut -d' ' -f1 | sort -u || true)
    if [ -z "$missing" ]; then
        echo "check_exe: could not look up the imports of $exe:" >&2
        echo "$errors" >&2
    else
        echo "check_exe: $exe imports what Windows XP lacks: $(echo $missing)" >&2
    fi
    status=1
fi
exit $status

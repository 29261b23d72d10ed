#!/usr/bin/env bash
# Checks that a built Vokabix.exe is what ships: the right kind of Windows
# executable, importing only DLLs that come with Windows.
set -euo pipefail
exe=$1
want=$2     # "PE32 executable (GUI) Intel 80386" or "PE32+ executable (GUI) x86-64"
objdump=$3

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
exit $status

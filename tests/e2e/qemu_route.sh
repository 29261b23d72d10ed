#!/usr/bin/env bash
# qemu_route.sh SCRATCH DRIVER TEST
#
# Every 32-bit program of the win32 lane runs under qemu, on any kernel: a
# lane of its own in SCRATCH is made from nothing (prefix, desktop), runs TEST
# of the end-to-end DRIVER, which starts Vokabix.exe, and is stopped, all under
# strace. Fails on any exec of an i386 program, answered or refused: the
# kernel would run it natively, or could not run it at all. The new prefix's
# wineboot, the desktop and Vokabix.exe must each be seen starting in qemu.
set -u
scratch=$1 driver=$2 test=$3
scripts=$(cd -- "$(dirname -- "$0")/../../scripts" && pwd)
rm -rf "$scratch" && mkdir -p "$scratch/trace" || exit 1

# One file a process (-ff): execs of processes running side by side do not
# interleave. --seccomp-bpf stops the processes at exec only.
# shellcheck disable=SC2016
strace -f -ff --seccomp-bpf -qq -e signal=none -s 4096 -e trace=execve -o "$scratch/trace/pid" \
    bash -c '"$1/wine-env.sh" --win32 --dir "$2" start && "$1/wine-run" --win32 --dir "$2" "$3" --gtest_filter="$4"
             status=$?; "$1/wine-env.sh" --win32 --dir "$2" stop; exit $status' \
    _ "$scripts" "$scratch/lane" "$driver" "$test"
status=$?
if ((status != 0)); then
    echo "qemu_route: the lane failed ($status); the end of its log:"
    tail -n 20 "$scratch/lane/log"
fi

i386() {
    local head
    head=$(od -An -tx1 -N20 -- "$1" 2>/dev/null | tr -d ' \n')
    # ELF, 32-bit, machine 3 (Intel 80386).
    [[ $head == 7f454c4601* && ${head:36:4} == 0300 ]]
}
native=0 emulated=()
while IFS= read -r line; do
    [[ $line =~ ^execve\(\"([^\"]+)\", ]] || continue
    path=${BASH_REMATCH[1]}
    if [[ $line =~ \)\ +=\ (0|-1\ ENOEXEC) ]] && i386 "$path"; then
        echo "qemu_route: started natively: ${line:0:300}"
        ((++native))
    elif [[ $path == */qemu-i386 && $line =~ \)\ +=\ 0$ ]]; then
        emulated+=("$line")
    fi
done < <(cat "$scratch"/trace/pid.*)

echo "qemu_route: ${#emulated[@]} processes started in qemu, $native natively"
missing=0
for want in 'wineboot.exe", "--init"' 'explorer.exe", "/desktop"' 'Vokabix.exe"'; do
    if ! printf '%s\n' "${emulated[@]}" | grep -qF -- "$want"; then
        echo "qemu_route: no start in qemu with $want"
        missing=1
    fi
done
if ((status == 0 && native == 0 && missing == 0)); then
    rm -rf "$scratch"
    exit 0
fi
exit 1

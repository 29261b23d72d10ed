#!/usr/bin/env bash
#
# The Wine lanes the Windows builds are tested in, each in a folder of its own
# (DIR, by default build/win64/wine or build/win32/wine):
#
#   . scripts/wine-env.sh [--win32] [--dir DIR]      export the lane's Wine variables
#   scripts/wine-env.sh [--win32] [--dir DIR] start  make or update the prefix; start
#                                                    an Xvfb, the wineserver and the desktop
#   scripts/wine-env.sh [--win32] [--dir DIR] stop   end them
#
# start and stop are ctest's fixture set-up and clean-up in the win32 and win64
# builds. The server, Wine's services and the desktop are started once, with
# their output in DIR/log: a Wine helper that a test program started itself
# would inherit the test's output, and ctest waits for every writer of it.
#
# win64 (the default) runs the 64-bit builds under wine64. --win32 runs the
# product under Debian's 32-bit Wine, every process of it under qemu-i386, so
# that the lane does not depend on whether the kernel runs 32-bit programs.
# Wine starts each process it creates as <folder of its own binary>/<name of
# its argv[0]>, so the lane has a folder of its own (DIR/wine32/lib/wine) with
# a copy of the wine binary (Wine finds its folder through /proc/self/exe, which
# a link would lead back to /usr/lib/wine) and wine32-loader beside it, which
# runs the copy under qemu with itself as argv[0]: every child comes back to it.
# Links to /usr/lib/i386-linux-gnu and /usr/share let Wine find its libraries
# and data the way it does from /usr/lib/wine. The wineserver is the native
# 64-bit one, which serves 32-bit clients as well.

# Callers pass their own arguments; vkw_args tells them how many were the lane's.
vkw_lane=win64 vkw_dir='' vkw_args=0
while :; do
    case ${1:-} in
        --win32 | --win64) vkw_lane=${1#--} && shift && ((vkw_args += 1)) ;;
        --dir) vkw_dir=${2:-} && shift 2 && ((vkw_args += 2)) ;;
        *) break ;;
    esac
done
vkw_scripts=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)
[[ -n $vkw_dir ]] || vkw_dir=${vkw_scripts%/*}/build/$vkw_lane/wine
[[ $vkw_dir == /* ]] || vkw_dir=$PWD/$vkw_dir

export WINEPREFIX=$vkw_dir/prefix WINEARCH=$vkw_lane WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=${VOKABIX_WINEDEBUG:--all}
# No Mono/Gecko install dialogs, and no menu entries or file associations
# written into the host's home directory.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
# Windows derives its user locale and ANSI code page from this; pinning it
# keeps button captions, number formats and CP_ACP the same on every machine.
[[ -z ${VOKABIX_WINE_LOCALE-C.UTF-8} ]] || export LC_ALL=${VOKABIX_WINE_LOCALE-C.UTF-8}
unset WINELOADER
if [[ $vkw_lane == win32 ]]; then
    export VOKABIX_WINE=$vkw_dir/wine32/lib/wine/wine32-loader
    # Otherwise the wine binary first starts itself again through
    # wine-preloader, a 32-bit program that would leave qemu behind.
    export WINELOADERNOEXEC=1
else
    export VOKABIX_WINE=/usr/lib/wine/wine64
    unset WINELOADERNOEXEC
fi

vkw_wine32_folder() {
    local root=$vkw_dir/wine32
    mkdir -p "$root/lib/wine" &&
        ln -sfn /usr/lib/i386-linux-gnu "$root/lib/i386-linux-gnu" && ln -sfn /usr/share "$root/share" &&
        ln -sfn "$vkw_scripts/wine32-loader" "$root/lib/wine/wine32-loader" &&
        { cmp -s /usr/lib/wine/wine "$root/lib/wine/wine" || cp -f /usr/lib/wine/wine "$root/lib/wine/wine"; }
}
if [[ ${BASH_SOURCE[0]} != "$0" ]]; then
    if [[ $vkw_lane == win32 && ! -x $vkw_dir/wine32/lib/wine/wine ]]; then
        vkw_wine32_folder || return 1
    fi
    return 0
fi

# ---------------------------------------------------------------------------
# Executed: start or stop the lane.
set -u
log=$vkw_dir/log

fail() {
    echo "wine-env: $*; the end of $log:" >&2
    tail -n 25 "$log" | sed 's/^/    /' >&2
    exit 1
}

stop() {
    local pid comm
    if [[ -f $WINEPREFIX/system.reg ]]; then
        "$WINESERVER" -k >>"$log" 2>&1
        timeout 30 "$WINESERVER" -w >>"$log" 2>&1
    fi
    if { read -r pid <"$vkw_dir/xvfb.pid" && read -r comm <"/proc/$pid/comm"; } 2>/dev/null && [[ $comm == Xvfb ]]; then
        kill "$pid"
    fi
    rm -f "$vkw_dir/xvfb.pid" "$vkw_dir/display"
}

settings() {
    cat <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""
"mscoree"=""
"mshtml"=""

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""

[HKEY_CURRENT_USER\Control Panel\Desktop]
"ForegroundLockTimeout"=dword:00000000
"FontSmoothing"="0"
"CursorBlinkRate"="-1"
EOF
}

# Made once; the settings are imported again whenever they change. Both need
# the registry written to disk before the desktop starts, which the temporary
# server they run with does as it exits.
prefix() {
    local reg=$WINEPREFIX/vokabix.reg
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        echo "making $WINEPREFIX" >>"$log"
        timeout 900 "$VOKABIX_WINE" wineboot -i </dev/null >>"$log" 2>&1 || fail "wineboot -i failed in $WINEPREFIX"
    fi
    if ! settings | cmp -s - "$reg"; then
        settings >"$reg.new"
        # regedit takes a Windows path; Z: is the host's root.
        timeout 300 "$VOKABIX_WINE" regedit /S "Z:${reg//\//\\}.new" </dev/null >>"$log" 2>&1 ||
            fail "regedit could not import $reg.new"
        mv -f "$reg.new" "$reg"
    fi
    timeout 60 "$WINESERVER" -w >>"$log" 2>&1
}

start() {
    local i keeper fifo=$vkw_dir/keeper
    : >"$log"
    stop # whatever a run cut short left behind
    [[ $vkw_lane == win64 ]] || vkw_wine32_folder || fail "could not lay out $vkw_dir/wine32"
    # A prefix of one width crashes the programs of the other.
    if grep -qs '^#arch=' "$WINEPREFIX/system.reg" && ! grep -qsx "#arch=$vkw_lane" "$WINEPREFIX/system.reg"; then
        fail "$WINEPREFIX is not a $vkw_lane prefix"
    fi
    prefix

    # An X server of the lane's own: -displayfd makes it pick a free display
    # and write the number once it accepts clients.
    setsid Xvfb -screen 0 1280x1024x24 -nolisten tcp -displayfd 3 3>"$vkw_dir/display" </dev/null >>"$log" 2>&1 &
    echo $! >"$vkw_dir/xvfb.pid"
    for ((i = 0; i < 300; i++)); do
        grep -qs '^[0-9]' "$vkw_dir/display" && break
        kill -0 $! 2>/dev/null || fail "Xvfb did not start"
        sleep 0.1
    done
    DISPLAY=:$(<"$vkw_dir/display") || fail "Xvfb did not name its display"
    export DISPLAY

    # Without -f the server goes to the background once its socket is ready.
    "$WINESERVER" -p </dev/null >>"$log" 2>&1 || fail "could not start the wineserver"
    # Wine keeps a desktop, and its explorer, as long as a program uses it:
    # the keeper is an idle console program, pausing on a pipe it holds both
    # ends of. Its start also brings up Wine's services.
    [[ -p $fifo ]] || mkfifo "$fifo" || exit 1
    setsid "$VOKABIX_WINE" cmd.exe /c pause <>"$fifo" >>"$log" 2>&1 &
    keeper=$!
    # Opening the desktop window makes Wine start the desktop's explorer.
    timeout 300 "$VOKABIX_WINE" rundll32.exe user32.dll,GetDesktopWindow </dev/null >>"$log" 2>&1
    kill -0 "$keeper" 2>/dev/null || fail "the desktop keeper ended at once"
    echo "ready on $DISPLAY" >>"$log"
}

mkdir -p "$vkw_dir" || exit 1
case $* in
    start) start ;;
    stop) stop ;;
    prefix) [[ $vkw_lane == win64 ]] || vkw_wine32_folder && prefix ;;
    *) echo "usage: wine-env.sh [--win32|--win64] [--dir DIR] start|stop|prefix (or source it)" >&2 && exit 2 ;;
esac

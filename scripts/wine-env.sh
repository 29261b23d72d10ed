# shellcheck shell=bash
#
# Wine environment for running the Windows test programs headlessly.
#
#   . scripts/wine-env.sh [--win32] [PREFIXDIR]      # set up (if needed) and export the variables
#   scripts/wine-env.sh [--win32] [PREFIXDIR]        # only set up: warm the prefix before a test run
#   scripts/wine-env.sh --stop [--win32] [PREFIXDIR] # end this prefix's wineserver, its programs and its Xvfb
#
# Two lanes, each with a prefix of its own:
#   - win64 (the default) runs the 64-bit builds with wine64. PREFIXDIR defaults to
#     $VOKABIX_WINEPREFIX, else <repo>/build/wineprefix.
#   - --win32 runs the 32-bit builds, the product as it ships, with Debian's 32-bit
#     Wine. The processes started here go through wine32-loader, which runs Wine
#     under qemu-i386, so the lane works on a kernel that starts no 32-bit programs;
#     each such start costs seconds of emulation, not the tenth of a second of
#     wine64. The processes Wine starts itself (the desktop, the program an
#     end-to-end test launches) get its own loader binary first and wine32-loader,
#     as WINELOADER, where the kernel refuses that binary. A 64-bit prefix crashes
#     these programs, so the lane has a WINEARCH=win32 prefix. PREFIXDIR defaults
#     to $VOKABIX_WINEPREFIX32, else <repo>/build/wineprefix32.
# When sourcing from a script, pass the prefix (or "") explicitly: bash hands a
# sourced file the caller's own arguments otherwise.
#
# What a prefix gets, once, and keeps until --stop:
#   - an Xvfb (1280x1024x24) unless DISPLAY already points at a live X server;
#   - a 1024x768 Wine virtual desktop for every program, so screen metrics, activation
#     and focus do not depend on the machine;
#   - a persistent wineserver with Wine's background services, a keeper process holding
#     the desktop open, and the desktop's explorer, all started here with their output
#     going to a log file. This is not only for speed: a Wine helper that a test program
#     starts inherits the test's stderr and can outlive it by seconds or (with a
#     persistent server) for good, and ctest waits for every writer of a test's output
#     to go away before it calls the test finished.
#
# Sourcing prints nothing on success; on failure it explains on stderr and returns 1.
# Several ctest processes may source it at once: setup runs under flock on
# PREFIXDIR/.vokabix-wine.lock, and the check made when everything is already
# running takes no lock and starts no process.
#
# Tunables: VOKABIX_WINEDEBUG (default -all), VOKABIX_WINE_XVFB=1 (always use an own
# Xvfb even when DISPLAY works), VOKABIX_WINE_LOCALE (default C.UTF-8, empty: keep).

# Bumped whenever the registry settings below change: prefixes stamped with an
# older value get them applied again on the next setup.
_vkw_settings_version=3

_vkw_find_wine() {
    if [[ $_vkw_lane == win32 ]]; then
        [[ -x /usr/lib/wine/wine && -x $_vkw_scripts/wine32-loader ]] || return 1
        command -v qemu-i386 >/dev/null 2>&1 || return 1
        _vkw_wine=$_vkw_scripts/wine32-loader
        return 0
    fi
    # Checked one by one: the common case must not cost a fork.
    if [[ -x /usr/lib/wine/wine64 ]]; then
        _vkw_wine=/usr/lib/wine/wine64
    else
        _vkw_wine=$(command -v wine64 2>/dev/null) || _vkw_wine=$(command -v wine 2>/dev/null) || return 1
    fi
}

_vkw_find_wineserver() {
    # Debian's /usr/bin/wineserver wrapper adds -p0 (exit as soon as idle), so
    # prefer the real binary next to the loader. The 64-bit server serves the
    # emulated 32-bit processes as well, and runs natively.
    local d=${_vkw_wine%/*}
    if [[ -x $d/wineserver64 ]]; then
        _vkw_wineserver=$d/wineserver64
    elif [[ -x /usr/lib/wine/wineserver64 ]]; then
        _vkw_wineserver=/usr/lib/wine/wineserver64
    elif [[ -x $d/wineserver ]]; then
        _vkw_wineserver=$d/wineserver
    else
        _vkw_wineserver=$(command -v wineserver 2>/dev/null) || return 1
    fi
}

# True when PID names a live process (a zombie still answers kill -0, so look at
# its state) whose command name matches the glob in $2, if given.
_vkw_alive() {
    local pid=$1 want=${2:-} stat comm
    [[ $pid =~ ^[0-9]+$ ]] || return 1
    { read -r stat </proc/"$pid"/stat; } 2>/dev/null || return 1
    stat=${stat##*) }
    [[ ${stat:0:1} != [ZX] ]] || return 1
    if [[ -n $want ]]; then
        { read -r comm </proc/"$pid"/comm; } 2>/dev/null || return 1
        # shellcheck disable=SC2053  # $want is a glob on purpose
        [[ $comm == $want ]] || return 1
    fi
    return 0
}

# Loads PREFIX/.vokabix-wine.state (key=value lines) into _vkw_st_*.
_vkw_read_state() {
    local k v
    _vkw_st_display='' _vkw_st_xvfb='' _vkw_st_server='' _vkw_st_keeper='' _vkw_st_lane=''
    [[ -r $_vkw_prefix/.vokabix-wine.state ]] || return 1
    while IFS='=' read -r k v; do
        case $k in
            display) _vkw_st_display=$v ;;
            xvfb) _vkw_st_xvfb=$v ;;
            server) _vkw_st_server=$v ;;
            keeper) _vkw_st_keeper=$v ;;
            lane) _vkw_st_lane=$v ;;
        esac
    done <"$_vkw_prefix/.vokabix-wine.state"
    [[ -n $_vkw_st_display && -n $_vkw_st_server ]]
}

_vkw_prefix_stamped() {
    local v=
    { read -r v <"$_vkw_prefix/.vokabix-wine.prefix"; } 2>/dev/null
    [[ $v == "$_vkw_settings_version" ]]
}

# Everything this prefix needs is up: what the fast path checks.
_vkw_running() {
    _vkw_read_state || return 1
    # A prefix set up by the other lane goes through setup, which explains.
    [[ ${_vkw_st_lane:-win64} == "$_vkw_lane" ]] || return 1
    _vkw_prefix_stamped || return 1
    _vkw_alive "$_vkw_st_server" 'wineserver*' || return 1
    _vkw_alive "$_vkw_st_keeper" || return 1
    if [[ -n $_vkw_st_xvfb ]]; then
        _vkw_alive "$_vkw_st_xvfb" Xvfb || return 1
    elif [[ $_vkw_st_display =~ ^(unix)?:([0-9]+)(\.[0-9]+)?$ ]]; then
        # Someone else's X server: its socket is the only check that costs no fork.
        [[ -S /tmp/.X11-unix/X${BASH_REMATCH[2]} ]] || return 1
    fi
    return 0
}

_vkw_export() {
    export WINEDEBUG=${VOKABIX_WINEDEBUG:--all}
    export WINEPREFIX=$_vkw_prefix
    export WINEARCH=$_vkw_lane
    export WINESERVER=$_vkw_wineserver
    if [[ $_vkw_lane == win32 ]]; then
        # NOEXEC: the wine binary would otherwise re-execute itself through
        # wine-preloader, a 32-bit program of its own that leaves qemu behind.
        export WINELOADER=$_vkw_wine WINELOADERNOEXEC=1
    else
        unset WINELOADER WINELOADERNOEXEC
    fi
    # No Mono/Gecko install dialogs, and no menu entries or file associations
    # written into the host's home directory.
    case ${WINEDLLOVERRIDES:-} in
        *mscoree,mshtml=*) ;;
        '') export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d' ;;
        *) export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;$WINEDLLOVERRIDES" ;;
    esac
    # Windows derives its user locale and ANSI code page from this; pinning it keeps
    # button captions, number formats and CP_ACP the same on every machine.
    if [[ -n ${VOKABIX_WINE_LOCALE-C.UTF-8} ]]; then
        export LC_ALL=${VOKABIX_WINE_LOCALE-C.UTF-8}
    fi
    export VOKABIX_WINE=$_vkw_wine
    export VOKABIX_WINESERVER=$_vkw_wineserver
}

# Resolves the lane and the prefix from the arguments / environment / repo default
# and finds Wine.
_vkw_resolve() {
    _vkw_lane=win64
    if [[ ${1:-} == --win32 || ${1:-} == --win64 ]]; then
        _vkw_lane=${1#--}
        shift
    fi
    local arg=${1:-} here envprefix=VOKABIX_WINEPREFIX suffix=''
    [[ $_vkw_lane == win32 ]] && envprefix=VOKABIX_WINEPREFIX32 suffix=32
    # No fork here: the fast path runs for every test.
    here=${BASH_SOURCE[0]}
    [[ $here == */* ]] || here=./$here
    _vkw_scripts=${here%/*}
    [[ $_vkw_scripts == /* ]] || _vkw_scripts=$PWD/$_vkw_scripts
    if [[ $arg == -* ]]; then
        # A typo'd option must not become a prefix directory named after it.
        echo "wine-env: unknown option '$arg' (usage: . wine-env.sh [--win32] [PREFIXDIR]," \
            "wine-env.sh [--stop] [--win32] [PREFIXDIR])" >&2
        return 1
    elif [[ -n $arg ]]; then
        _vkw_prefix=$arg
    elif [[ -n ${!envprefix:-} ]]; then
        _vkw_prefix=${!envprefix}
    else
        here=$(cd -- "$_vkw_scripts" && pwd) || return 1
        _vkw_prefix=${here%/*}/build/wineprefix$suffix
    fi
    [[ $_vkw_prefix == /* ]] || _vkw_prefix=$PWD/$_vkw_prefix
    while [[ $_vkw_prefix == */ && $_vkw_prefix != / ]]; do _vkw_prefix=${_vkw_prefix%/}; done
    if ! _vkw_find_wine; then
        if [[ $_vkw_lane == win32 ]]; then
            echo "wine-env: the win32 lane needs qemu-i386 and /usr/lib/wine/wine (scripts/setup-deps installs them)" >&2
        else
            echo "wine-env: no wine64 loader found (looked for /usr/lib/wine/wine64, wine64, wine)" >&2
        fi
        return 1
    fi
    if ! _vkw_find_wineserver; then
        echo "wine-env: no wineserver found next to $_vkw_wine or on PATH" >&2
        return 1
    fi
}

# ---------------------------------------------------------------------------
# Setup: runs as its own process under the prefix lock (see _vkw_setup_locked).

_vkw_log() { printf '[%(%H:%M:%S)T] %s\n' -1 "$*" >>"$_vkw_logf"; }

_vkw_fail() {
    _vkw_log "FAILED: $*"
    {
        echo "wine-env: $*"
        echo "wine-env: last lines of $_vkw_logf:"
        tail -n 25 "$_vkw_logf" 2>/dev/null | sed 's/^/    /'
    } >&2
    return 1
}

# Starts "$@" detached in its own session with output to the log and stdin from
# /dev/null (unless the caller redirects it), and sets _vkw_pid to its pid. The pid is
# written by the process itself so it is right even when setsid has to fork.
_vkw_spawn() {
    local pidf
    pidf=$(mktemp "$_vkw_prefix/.vokabix-pid.XXXXXX") || return 1
    # shellcheck disable=SC2016  # expanded by the inner shell
    setsid bash -c 'echo $$ >"$0.tmp" && mv -f "$0.tmp" "$0" && exec "$@"' "$pidf" "$@" \
        </dev/null >>"$_vkw_logf" 2>&1 &
    local i
    for ((i = 0; i < 200; i++)); do
        if [[ -s $pidf ]] && read -r _vkw_pid <"$pidf" && [[ -n $_vkw_pid ]]; then
            rm -f "$pidf"
            return 0
        fi
        sleep 0.01
    done
    rm -f "$pidf" "$pidf.tmp"
    return 1
}

# Is this DISPLAY served by a live X server? Local displays are checked by their
# socket; anything else (ssh forwarding, TCP) by asking the server, when we can.
_vkw_display_ok() {
    local d=$1 n
    [[ -n $d ]] || return 1
    if [[ $d =~ ^(unix)?:([0-9]+)(\.[0-9]+)?$ ]]; then
        n=${BASH_REMATCH[2]}
        [[ -S /tmp/.X11-unix/X$n ]] || return 1
    fi
    if command -v xdpyinfo >/dev/null 2>&1; then
        DISPLAY=$d timeout 5 xdpyinfo >/dev/null 2>&1 || return 1
    fi
    return 0
}

_vkw_start_xvfb() {
    local n ready i num
    command -v Xvfb >/dev/null 2>&1 || { _vkw_fail "no DISPLAY and no Xvfb installed"; return 1; }
    ready=$_vkw_prefix/.vokabix-xvfb.ready
    for n in 91 92 93 94 95 96 97 98 99; do
        # A lock file or socket means the number is taken (or was, by a crashed server:
        # not worth reclaiming while others are free).
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        rm -f "$ready"
        _vkw_log "starting Xvfb :$n"
        # -displayfd makes Xvfb write the display number once it accepts clients.
        # shellcheck disable=SC2016
        _vkw_spawn bash -c 'exec Xvfb ":$1" -screen 0 1280x1024x24 -nolisten tcp -noreset -displayfd 3 3>"$2"' \
            _ "$n" "$ready" || continue
        for ((i = 0; i < 1000; i++)); do
            num=
            [[ -s $ready ]] && read -r num <"$ready"
            if [[ $num == "$n" ]]; then
                _vkw_new_display=:$n
                _vkw_new_xvfb=$_vkw_pid
                rm -f "$ready"
                return 0
            fi
            _vkw_alive "$_vkw_pid" || break
            sleep 0.01
        done
        # Lost a race for this number to another X server, or it hung: next one.
        kill "$_vkw_pid" 2>/dev/null
        _vkw_log "Xvfb :$n did not come up"
    done
    rm -f "$ready"
    _vkw_fail "could not start Xvfb on any of :91..:99"
}

# Waits (bounded) for any wineserver of this prefix to exit; kills it after that.
_vkw_wait_server_gone() {
    local secs=$1
    if ! timeout "$secs" "$_vkw_wineserver" -w >>"$_vkw_logf" 2>&1; then
        _vkw_log "wineserver did not exit within ${secs}s, killing it"
        "$_vkw_wineserver" -k >>"$_vkw_logf" 2>&1
        timeout 20 "$_vkw_wineserver" -w >>"$_vkw_logf" 2>&1
    fi
    return 0
}

_vkw_write_regfile() {
    cat >"$1" <<'EOF'
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

# Creates the prefix or brings its settings up to date. Runs with no persistent
# server: the registry has to be in place before the desktop process starts, and
# the temporary server writes it to disk when it exits.
_vkw_prepare_prefix() {
    local reg
    if [[ ! -f $_vkw_prefix/system.reg ]]; then
        _vkw_log "creating prefix $_vkw_prefix"
        timeout 600 "$_vkw_wine" wineboot -i </dev/null >>"$_vkw_logf" 2>&1 ||
            { _vkw_fail "wineboot -i failed in $_vkw_prefix"; return 1; }
    fi
    reg=$_vkw_prefix/.vokabix-settings.reg
    _vkw_write_regfile "$reg"
    _vkw_log "applying registry settings"
    # regedit takes a Windows path; Z: is the host's root.
    timeout 300 "$_vkw_wine" regedit /S "Z:${reg//\//\\}" </dev/null >>"$_vkw_logf" 2>&1 ||
        { _vkw_fail "regedit could not import $reg"; return 1; }
    _vkw_wait_server_gone 60
    echo "$_vkw_settings_version" >"$_vkw_prefix/.vokabix-wine.prefix"
}

_vkw_start_server() {
    local i rc
    for ((i = 0; i < 3; i++)); do
        _vkw_spawn "$_vkw_wineserver" -f -p || { _vkw_fail "could not launch wineserver"; return 1; }
        local pid=$_vkw_pid j
        # Ready once its socket exists; its working directory is its server directory.
        # One that is still alive after the wait is taken as it is: clients that come
        # too early simply retry.
        for ((j = 0; j < 1000; j++)); do
            [[ -S /proc/$pid/cwd/socket ]] && break
            _vkw_alive "$pid" || break
            sleep 0.01
        done
        if _vkw_alive "$pid"; then
            _vkw_new_server=$pid
            return 0
        fi
        wait "$pid" 2>/dev/null
        rc=$?
        # A server not started by us (someone ran wine by hand) holds the lock:
        # give it a little time to go idle, then take over.
        _vkw_log "wineserver $pid exited ($rc); waiting for the running one"
        _vkw_wait_server_gone 15
    done
    _vkw_fail "could not start a persistent wineserver"
}

# Written whole and renamed into place: the fast path reads it without the lock.
_vkw_write_state() {
    local st=$_vkw_prefix/.vokabix-wine.state
    if ! printf 'display=%s\nxvfb=%s\nserver=%s\nkeeper=%s\nlane=%s\n' "$@" "$_vkw_lane" >"$st.tmp" ||
        ! mv -f "$st.tmp" "$st"; then
        _vkw_fail "cannot write $st"
        return 1
    fi
}

_vkw_setup_locked() {
    _vkw_logf=$_vkw_prefix/.vokabix-wine.log
    [[ -f $_vkw_logf && $(stat -c %s "$_vkw_logf") -gt 1000000 ]] && : >"$_vkw_logf"
    # Someone else may have finished the job while we waited for the lock.
    _vkw_running && return 0
    _vkw_log "setup (pid $$) for $_vkw_prefix, lane $_vkw_lane"

    # Programs of one width crash in a prefix made for the other.
    local arch
    arch=$(grep -m1 '^#arch=' "$_vkw_prefix/system.reg" 2>/dev/null) || arch=''
    if [[ -n $arch && ${arch#\#arch=} != "$_vkw_lane" ]]; then
        _vkw_fail "$_vkw_prefix is a ${arch#\#arch=} prefix; the $_vkw_lane lane needs a prefix of its own"
        return 1
    fi

    local display='' xvfb='' server='' keeper=''
    _vkw_read_state
    if _vkw_alive "$_vkw_st_xvfb" Xvfb; then
        display=$_vkw_st_display xvfb=$_vkw_st_xvfb
    fi
    if _vkw_alive "$_vkw_st_server" 'wineserver*' && _vkw_prefix_stamped &&
        { [[ -n $xvfb ]] || { [[ -z $_vkw_st_xvfb ]] && _vkw_display_ok "$_vkw_st_display"; }; }; then
        # Server and display survive; only the keeper went away.
        server=$_vkw_st_server display=$_vkw_st_display
    fi

    export WINEDEBUG WINEPREFIX WINEARCH WINEDLLOVERRIDES WINESERVER
    if [[ -z $server ]]; then
        # Start from a clean slate: whatever still runs in this prefix belongs to a
        # server whose display or settings we can no longer vouch for.
        if _vkw_alive "$_vkw_st_server" 'wineserver*'; then
            _vkw_log "ending wineserver $_vkw_st_server (display or settings gone stale)"
            "$_vkw_wineserver" -k >>"$_vkw_logf" 2>&1
            timeout 20 "$_vkw_wineserver" -w >>"$_vkw_logf" 2>&1
        else
            _vkw_wait_server_gone 10
        fi

        if [[ -z $display ]]; then
            if [[ ${VOKABIX_WINE_XVFB:-0} != 1 ]] && _vkw_display_ok "${DISPLAY:-}"; then
                display=$DISPLAY
            else
                _vkw_start_xvfb || return 1
                display=$_vkw_new_display xvfb=$_vkw_new_xvfb
                # Noted at once, so that a setup cut short (a ctest timeout) leaves an
                # Xvfb the next one reuses rather than one nobody knows about.
                _vkw_write_state "$display" "$xvfb" "" "" || return 1
            fi
        fi
        export DISPLAY=$display

        if ! _vkw_prefix_stamped || [[ ! -f $_vkw_prefix/system.reg ]]; then
            _vkw_prepare_prefix || return 1
        fi
        _vkw_start_server || return 1
        server=$_vkw_new_server
        _vkw_log "wineserver $server on $display"
    fi
    export DISPLAY=$display

    # The keeper is an idle console program on the default desktop: as long as one
    # program uses a desktop, Wine keeps it (and its explorer) alive. Its first start
    # also brings up the services, so they too inherit the log, not a test's output.
    local fifo=$_vkw_prefix/.vokabix-keeper.fifo
    [[ -p $fifo ]] || { rm -f "$fifo"; mkfifo "$fifo"; } || { _vkw_fail "mkfifo $fifo"; return 1; }
    # pause blocks on a pipe it holds both ends of.
    # shellcheck disable=SC2016
    _vkw_spawn bash -c 'exec "$1" cmd.exe /c pause <>"$2" >/dev/null' _ "$_vkw_wine" "$fifo" ||
        { _vkw_fail "could not start the desktop keeper"; return 1; }
    keeper=$_vkw_pid
    # Opening the desktop window makes Wine start the desktop's explorer.
    timeout 120 "$_vkw_wine" rundll32.exe user32.dll,GetDesktopWindow </dev/null >>"$_vkw_logf" 2>&1
    _vkw_alive "$keeper" || { _vkw_fail "desktop keeper exited at once"; return 1; }

    _vkw_write_state "$display" "$xvfb" "$server" "$keeper" || return 1
    _vkw_log "ready: display=$display xvfb=$xvfb server=$server keeper=$keeper"
}

_vkw_stop() {
    _vkw_logf=$_vkw_prefix/.vokabix-wine.log
    [[ -d $_vkw_prefix ]] || return 0
    export WINEPREFIX=$_vkw_prefix
    _vkw_read_state
    _vkw_log "stop requested"
    if [[ -f $_vkw_prefix/system.reg ]]; then
        "$_vkw_wineserver" -k >>"$_vkw_logf" 2>&1
        timeout 20 "$_vkw_wineserver" -w >>"$_vkw_logf" 2>&1
    fi
    if _vkw_alive "$_vkw_st_xvfb" Xvfb; then
        kill "$_vkw_st_xvfb" 2>/dev/null
    fi
    rm -f "$_vkw_prefix/.vokabix-wine.state"
    return 0
}

# ---------------------------------------------------------------------------

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
    # Executed, not sourced.
    if [[ ${1:-} == --stop ]]; then
        _vkw_resolve "${@:2}" || exit 1
        _vkw_stop
        exit 0
    fi
    if [[ ${1:-} == --setup-locked ]]; then
        # Internal: the body of setup, run by flock below.
        _vkw_resolve "${@:2}" || exit 1
        _vkw_export
        _vkw_setup_locked
        exit $?
    fi
    _vkw_resolve "$@" || exit 1
    _vkw_running && exit 0
    mkdir -p -- "$_vkw_prefix" || exit 1
    # -o: the daemons started during setup must not inherit the lock.
    flock -o -w 900 "$_vkw_prefix/.vokabix-wine.lock" \
        bash "${BASH_SOURCE[0]}" --setup-locked "--$_vkw_lane" "$_vkw_prefix" >/dev/null
    exit $?
fi

_vkw_source_main() {
    _vkw_resolve "$@" || return 1
    if ! _vkw_running; then
        mkdir -p -- "$_vkw_prefix" || return 1
        if ! flock -o -w 900 "$_vkw_prefix/.vokabix-wine.lock" \
            bash "${BASH_SOURCE[0]}" --setup-locked "--$_vkw_lane" "$_vkw_prefix" >/dev/null; then
            echo "wine-env: setting up $_vkw_prefix failed" >&2
            return 1
        fi
        _vkw_read_state || { echo "wine-env: no state after setup in $_vkw_prefix" >&2; return 1; }
    fi
    _vkw_export
    export DISPLAY=$_vkw_st_display
}

# Both: the lane option and the prefix.
_vkw_source_main "${1:-}" "${2:-}"

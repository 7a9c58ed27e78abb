#!/bin/bash
# Runs a Windows program under Wine the way this project always does:
#   - a project-local prefix (build/windows/wineprefix unless --prefix or WINEPREFIX says otherwise),
#     created on first use, with Wine's crash dialog switched off;
#   - quiet logs, no prompts to install Mono or Gecko;
#   - an Xvfb display started (and kept for later runs) when DISPLAY is unset;
#   - one persistent wineserver per prefix, so a test run pays the start-up once.
# Usage: tools/wine-run.sh [--prefix DIR] program.exe [args...]
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
prefix=${WINEPREFIX:-$top/build/windows/wineprefix}
if [ "${1:-}" = "--prefix" ]; then
    prefix=$2
    shift 2
fi
[ $# -ge 1 ] || { echo "usage: $0 [--prefix DIR] program.exe [args...]" >&2; exit 2; }

mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")

export WINEPREFIX=$prefix
export WINEARCH=win64
export WINEDEBUG=${ZEL_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree=;mshtml="

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver64 || command -v wineserver)

lock=$prefix.lock

# A shared virtual screen for headless runs: 1024 x 768, reused while it lives.
own_screen=""
if [ -z "${DISPLAY:-}" ]; then
    own_screen=1
    exec 8>"$lock.display"
    flock 8
    display=""
    if [ -f "$prefix.display" ]; then
        read -r display xpid < "$prefix.display" || true
        # The recorded server must still be our Xvfb (a pid can be reused) with its socket.
        if [ "$(cat "/proc/${xpid:-0}/comm" 2>/dev/null)" != "Xvfb" ] ||
           [ ! -e "/tmp/.X11-unix/X${display#:}" ]; then
            display=""
        fi
    fi
    if [ -z "$display" ]; then
        n=90
        while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
        setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -ac >/dev/null 2>&1 < /dev/null &
        xpid=$!
        for _ in $(seq 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.05
        done
        display=":$n"
        echo "$display $xpid" > "$prefix.display"
    fi
    flock -u 8
    exec 8>&-
    export DISPLAY=$display
fi

# First use creates the prefix; later runs find it ready.
exec 9>"$lock"
flock 9
if [ ! -f "$prefix/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1 || true
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
fi
# On our own virtual screen no window manager runs, and Wine would wait up to 2 s for one
# at every window it hides, a dialog or a message box among them; there Wine manages the
# windows itself. On a real display the desktop's window manager keeps them. The setting
# is written only when it changes (ZEL_WINE_MANAGED=Y or N overrides).
managed=${ZEL_WINE_MANAGED:-$([ -n "$own_screen" ] && echo N || echo Y)}
if [ "$(cat "$prefix.managed" 2>/dev/null)" != "$managed" ]; then
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" /f >/dev/null 2>&1 || true
    echo "$managed" > "$prefix.managed"
fi
# Keep one wineserver alive between programs of a test run (it exits after 5 idle minutes).
"$wineserver" -p300 >/dev/null 2>&1 || true
# Wine starts its background services (winedevice, explorer) with the first program of a
# server and they live as long as it does; start them here without our output, so a caller
# that reads our output to its end (CTest) is not held until the server goes idle.
"$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
flock -u 9
exec 9>&-

# On a terminal the program talks to it directly. Otherwise (CTest, scripts) its output is
# collected in files and passed on once it has ended: a process the program leaves behind
# (a Wine service, a child it started) then cannot hold the caller's pipe open, which would
# make CTest wait for it long after the test itself has finished.
if [ -t 1 ] || [ -n "${ZEL_WINE_DIRECT:-}" ]; then
    exec "$wine" "$@"
fi
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
status=0
"$wine" "$@" >"$out" 2>"$err" || status=$?
cat "$out"
cat "$err" >&2
exit "$status"

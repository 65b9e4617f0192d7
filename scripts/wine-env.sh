# Sourced: points Wine at a prefix of Velmora's own, made on first use, so tests never depend
# on (or change) the user's ~/.wine. Usage: source scripts/wine-env.sh PREFIX (also gives
# windows_path and start_xvfb to the scripts that drive Wine).
#
# The prefix gets Wine's own fonts (Debian's Wine does not find its Tahoma otherwise, and the
# layout must be measured with the right font), no crash dialog and no debugger (a crashing
# test then fails at once, with the exception's code, instead of waiting for a click or
# ending with 0 after the debugger), and windows that Wine decorates itself, since there is
# no window manager under Xvfb. With VELMORA_WINE_MANAGED=Y when it is made, its windows are
# left to a window manager instead, as in a user's own prefix: without one, the thread that
# closes a window then waits two seconds for it.
velmora_wine_prefix="${1:?usage: source wine-env.sh PREFIX}"
export WINEPREFIX="$velmora_wine_prefix"
export WINEDEBUG=-all
# No desktop menu entries, no downloads of Mono or Gecko: the tests need neither.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64

velmora_wine_init() {
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    local reg="$WINEPREFIX/velmora.reg"
    cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"="no-debugger"
"Auto"="1"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="${VELMORA_WINE_MANAGED:-N}"
"Decorated"="Y"
REG
    wine regedit /S "$reg" >/dev/null 2>&1
    wineserver -w
    local fonts=/usr/share/wine/fonts
    if [ -d "$fonts" ]; then
        cp -f "$fonts"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    touch "$WINEPREFIX/.velmora-ready"
}

# Tests start in parallel: the first one makes the prefix, the others wait for it.
if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec {velmora_lock}>"$WINEPREFIX.lock"
    flock "$velmora_lock"
    [ -f "$WINEPREFIX/.velmora-ready" ] || velmora_wine_init
    flock -u "$velmora_lock"
    exec {velmora_lock}>&-
fi
# A server that outlives each program keeps the next start fast (tests run back to back).
# When this starts it, a first program with no output of its own starts Wine's background
# services too: they keep the output of the program that started them open for as long as
# the server lives, and CTest would wait for that to close.
if wineserver -p60 </dev/null >/dev/null 2>&1; then
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
fi
unset velmora_wine_prefix

# Wine shows Unix paths as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Starts a virtual X display of its own on the first free number, exports DISPLAY and keeps
# the server's process id in xvfb_pid for the caller to end.
start_xvfb() {
    local display=99
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
    export DISPLAY=":$display"
}

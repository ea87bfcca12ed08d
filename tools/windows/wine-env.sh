# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that run the Windows programs under Wine (the tests
# in tests/windows/ and the measurements here): finds Wine, sets up a prefix
# and gives it COM ports on the simulator's pseudo-terminals.
#   wine, wineserver        the two programs
#   wine_prefix [DIR]       use (and make when new) the prefix DIR
#   map_com N PATH          COMn leads to PATH once ports_ready has run
#   ports_ready             starts the session in which the ports exist
# The session is kept running until `"$wineserver" -k`.
wine="${WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}"
wineserver="$(dirname "$(readlink -f "$wine")")/wineserver"
[ -x "$wineserver" ] || wineserver="$(command -v wineserver || true)"
export WINEDEBUG="${WINEDEBUG:--all}"
# A new prefix without the questions about Wine's Mono and Gecko.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

wine_prefix() {
    export WINEPREFIX="$1"
    mkdir -p "$WINEPREFIX"
    timeout 60 "$wineserver" -k 2>/dev/null || true
    # The first start of a prefix takes half a minute.
    timeout 300 "$wine" wineboot --init >/dev/null 2>&1 || { echo "wineboot failed in $WINEPREFIX" >&2; return 1; }
    # No COM port of an earlier run: its pseudo-terminal may be another's now.
    timeout 60 "$wine" reg delete 'HKLM\Software\Wine\Ports' /f >/dev/null 2>&1 || true
}

# Listed among the machine's ports (HARDWARE\DEVICEMAP\SERIALCOMM) as a
# cable's port is, so that the port lists and the doctor see it.
map_com() {
    timeout 60 "$wine" reg add 'HKLM\Software\Wine\Ports' /v "COM$1" /d "$2" /f >/dev/null \
        || { echo "cannot map COM$1 to $2" >&2; return 1; }
}

# Wine makes the COM ports when a session starts, and gives the machine's
# /dev/ttyS0 (here the console) a COM number too: a program that tries every
# port would open it. So the session starts afresh, is kept (-p) while the
# caller runs, and loses every link to a ttyS device; the port without its
# link opens no device (its state cannot be read), so it fails as a port.
ports_ready() {
    timeout 60 "$wineserver" -k 2>/dev/null || true
    timeout 60 "$wineserver" -w
    # Kept quiet: on its end a kept server lists every object it holds.
    "$wineserver" -p >/dev/null 2>&1
    # A server that was just told to end may still refuse the first start.
    timeout 120 "$wine" wineboot >/dev/null 2>&1 || timeout 120 "$wine" wineboot >/dev/null 2>&1 \
        || { echo "no Wine session in $WINEPREFIX" >&2; return 1; }
    local link
    for link in "$WINEPREFIX"/dosdevices/com*; do
        case "$(readlink "$link")" in /dev/ttyS*) rm -f "$link" ;; esac
    done
}

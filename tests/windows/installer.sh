#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The setup program in a fresh Wine prefix: a silent install in Chinese puts
# the program, its Start menu entries and its Add/Remove Programs entry in
# place, and the installed qv300-cli.exe tells its version and takes the
# steps of link-steps.sh in Chinese, then in English; the silent uninstall
# then takes all of that away and leaves the user's backups.
# lib.sh moves to the top of the tree, so this folder is named first.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
source "$here/link-steps.sh"
need_build qv300.exe qv300-cli.exe
setup="$(package -setup.exe)"
version="$(basename "$setup" | sed 's/^qv300-//; s/-setup\.exe$//')"

use_prefix fresh
cp "$setup" "$WINEPREFIX/drive_c/setup.exe"
run_win 'C:\setup.exe' /S /LANG=2052 || fail "setup /S exit $?"
timeout 120 "$wineserver" -w
folder="$WINEPREFIX/drive_c/Program Files/QV-300"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/QV-300"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QV-300'

said="$(run_win 'C:\Program Files\QV-300\qv300-cli.exe' --version | tr -d '\r')"
[ "$said" = "qv300-cli $version" ] || fail "installed qv300-cli.exe --version said '$said', not 'qv300-cli $version'"
for entry in "QV-300.lnk" "QV-300 使用说明.lnk" "卸载 QV-300.lnk"; do
    [ -f "$menu/$entry" ] || fail "no Start menu entry $entry"
done
entry="$(run_win reg query "$key" | tr -d '\r')"
for value in "DisplayName.*QV-300" "DisplayVersion.*$version" "Publisher" "UninstallString.*uninstall.exe" \
    "InstallLocation.*QV-300" "DisplayIcon.*qv300.exe" "EstimatedSize.*0x[0-9a-f]*[1-9a-f]"; do
    grep -qi "$value" <<<"$entry" || fail "the uninstall key lacks $value: $entry"
done
grep -q $'^Language_ID=1\r$' "$folder/SysInfo.Ini" || fail "Chinese was chosen, SysInfo.Ini does not start the program in Chinese"
cmp -s "$folder/English.Ini" data/English.Ini || fail "the installed English.Ini differs from data/English.Ini"

# The installed program with the radios, in the language chosen at setup
# and then in English.
link_steps 'C:\Program Files\QV-300\qv300-cli.exe' 已校验
sed -i 's/^Language_ID=1\r$/Language_ID=0\r/' "$folder/SysInfo.Ini"
link_steps 'C:\Program Files\QV-300\qv300-cli.exe' Verified
# The session the ports needed is kept until told to end; the uninstall's
# wait below would wait for it too.
timeout 60 "$wineserver" -k || true

# A backup of the user's, where the program keeps them.
backups="$WINEPREFIX/drive_c/users/$(id -un)/Documents/QV-300/Backups"
mkdir -p "$backups" && echo kept >"$backups/radio.dat"
run_win 'C:\Program Files\QV-300\uninstall.exe' /S || fail "uninstall /S exit $?"
timeout 120 "$wineserver" -w
[ ! -e "$folder" ] || fail "the uninstall left $(find "$folder" | head -n3)"
[ ! -e "$menu" ] || fail "the uninstall left the Start menu folder: $(ls "$menu")"
! run_win reg query "$key" >/dev/null 2>&1 || fail "the uninstall left the registry key"
[ -f "$backups/radio.dat" ] || fail "the uninstall removed the user's backup"
pass

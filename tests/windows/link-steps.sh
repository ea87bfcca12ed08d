# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced after lib.sh: the steps a user takes with qv300-cli.exe under Wine
# against the native simulator through Wine's COM ports, each judged by its
# outcome: a read, the doctor, a safe write with its backup and verify,
# verify, and a fleet write on COM5 to COM8.
#   link_steps CLI.EXE VERIFIED    VERIFIED: the safe write's word for it in
#                                  the language the program runs in
# Runs in a folder of its own below the scratch folder and leaves the
# session's ports mapped to four simulated radios.
link_steps() {
    local exe="$1" verified="$2" here status
    [ -x "$root/build/qv300-cli" ] || fail "no build/qv300-cli (the native build makes it)"
    here="$(mktemp -d "$scratch/steps.XXXX")"
    cd "$here"
    cli() { run_win "$exe" "$@"; }
    native() { "$root/build/qv300-cli" "$@"; }

    # The radio's image as the native program reads it, and four radios
    # holding it on COM5 to COM8; the first is the radio of the single commands.
    start_sim one.txt 1
    native read before.dat --port COM1 --device "$(head -n1 one.txt)" >/dev/null || fail "native read"
    start_sim radios.txt 4 --memory before.dat --save radio.dat
    for k in 1 2 3 4; do map_com $((k + 4)) "$(sed -n "${k}p" radios.txt)"; done
    ports_ready || fail "no Wine session"

    cli read read.dat --port COM5 >out.txt 2>&1 || fail "$exe: read exit $?: $(cat out.txt)"
    cmp -s read.dat before.dat || fail "$exe: the file read differs from the radio's image"

    # The doctor finds the port and the radio on it ready; a port that is
    # not there is a cause found.
    cli doctor --json --port COM5 >doctor.json 2>doctor.err || fail "$exe: doctor exit $?: $(cat doctor.json doctor.err)"
    /usr/bin/python3 - doctor.json <<'END' || fail "$exe: the doctor's report on COM5: $(cat doctor.json)"
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
assert report["exitCode"] == 0 and report["port"] == "COM5", report
assert any(d["port"] == "COM5" and d["path"] == "\\\\.\\COM5" for d in report["devices"]), report["devices"]
severities = {f["id"]: f["severity"] for f in report["findings"]}
assert severities.get("permission") == "ok" and severities.get("line-ready") == "ok", severities
assert "problem" not in severities.values(), severities
END
    status=0
    cli doctor --port COM9 >doctor.txt 2>&1 || status=$?
    [ "$status" = 3 ] || fail "$exe: doctor on a port that is not there exit $status, not 3: $(cat doctor.txt)"

    native new new.dat --band "134 - 174MHz" >/dev/null
    cli write new.dat --port COM5 --yes --backup-dir backups >out.txt 2>&1 || fail "$exe: safe write exit $?: $(cat out.txt)"
    grep -q "$verified" out.txt || fail "$exe: the safe write did not say '$verified': $(cat out.txt)"
    cmp -s backups/*.dat before.dat || fail "$exe: the backup is not the radio's image before the write: $(ls backups)"
    native diff new.dat radio.dat >/dev/null || fail "$exe: the radio does not hold the written document"

    cli verify new.dat --port COM5 >out.txt 2>&1 || fail "$exe: verify of the written file exit $?: $(cat out.txt)"
    status=0
    cli verify before.dat --port COM5 >out.txt 2>&1 || status=$?
    [ "$status" = 3 ] || fail "$exe: verify of another file exit $status, not 3: $(cat out.txt)"

    cli write new.dat --port COM5,COM6,COM7,COM8 --yes --backup-dir fleet-backups --log fleet.csv >out.txt 2>&1 \
        || fail "$exe: fleet write exit $?: $(cat out.txt)"
    for saved in radio.dat radio-2.dat radio-3.dat radio-4.dat; do
        native diff new.dat "$saved" >/dev/null || fail "$exe: $saved does not hold the written document"
    done
    [ "$(ls fleet-backups | wc -l)" = 4 ] || fail "$exe: not four backups: $(ls fleet-backups)"
    for sim in "${sims[@]}"; do kill "$sim" 2>/dev/null || true; done
    sims=()
    cd "$root"
}

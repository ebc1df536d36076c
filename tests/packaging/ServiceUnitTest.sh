#!/usr/bin/env bash
# The installed recorder unit passes systemd-analyze verify, keeps its
# hardening, and its command records into the state folder and ends cleanly
# on the unit's stop signal.
#   ServiceUnitTest.sh BUILD_DIR
# Exit 77 (skipped) where systemd-analyze cannot verify units at all.

# shellcheck source=tests/packaging/PackagingChecks.sh
source "$(dirname "$0")/PackagingChecks.sh"
prefix=$(install_tree) || exit 1
unit=$prefix/lib/systemd/system/orsan-monitor.service
state_dir=/var/lib/orsan-monitor

setting() { sed -n "s/^$1=//p" "$unit"; }

required_settings=(
    "User=orsan-monitor"
    "StateDirectory=orsan-monitor"
    "Restart=on-failure"
    "KillSignal=SIGTERM"
    "ProtectSystem=strict"
    "ProtectHome=yes"
    "NoNewPrivileges=yes"
    "PrivateTmp=yes"
    "WantedBy=multi-user.target"
)
for line in "${required_settings[@]}"; do
    check "the unit sets $line" test "$(setting "${line%%=*}")" = "${line#*=}"
done
read -ra command_line <<<"$(setting ExecStart)"
check "the unit runs the installed orsan-monitor" test "${command_line[0]}" = "$prefix/bin/orsan-monitor"
check "the unit records headless into $state_dir" \
    test "${command_line[*]:1}" = "--headless --record --data-dir $state_dir"

# The unit's own command in an environment as bare as systemd gives a
# service, with the state folder moved somewhere writable: it records, and a
# SIGTERM ends it with success, as systemd stops it.
data_dir=$work_dir/state
command_line=("${command_line[@]/#$state_dir/$data_dir}")
coproc RECORDER {
    exec env -i PATH=/usr/bin:/bin HOME="$work_dir" LANG=C.UTF-8 "${command_line[@]}" \
        2>"$work_dir/recorder.err"
}
recorder=$RECORDER_PID
first_line=
read -r -t 60 first_line <&"${RECORDER[0]}"
check "the recorder prints its JSON line" grep -q '^{"time":' <<<"$first_line"
kill -TERM "$recorder"
cat <&"${RECORDER[0]}" >/dev/null
wait "$recorder"
status=$?
check "SIGTERM ends the recorder with success (got $status)" test "$status" -eq 0
# A fresh state folder has no Config.ini, which the recorder names.
check "the recorder warns of nothing but its missing Config.ini" \
    sh -c "! grep -v -e '^stopped by signal 15$' -e 'Config.ini' '$work_dir/recorder.err' >&2"
check "the recorder made its database in the state folder" test -s "$data_dir/DataRecord.db"
if command -v sqlite3 >/dev/null; then
    rows=$(sqlite3 "$data_dir/DataRecord.db" 'SELECT COUNT(*) FROM data;' 2>&1)
    check "the printed row was recorded before the end (rows: $rows)" test "$rows" -ge 1 2>/dev/null
fi

# systemd-analyze needs no running systemd, but some sandboxes refuse it
# altogether; a unit that cannot fail tells those apart.
if ! command -v systemd-analyze >/dev/null; then
    echo "systemd-analyze is missing: unit not verified"
    finish || exit 1
    exit 77
fi
printf '[Service]\nExecStart=/bin/true\n' >"$work_dir/plain.service"
if ! systemd-analyze verify --man=no "$work_dir/plain.service" >/dev/null 2>&1; then
    echo "systemd-analyze verify cannot run here: unit not verified"
    finish || exit 1
    exit 77
fi
# The Documentation= reference is checked against the installed manual page.
check "systemd-analyze verify passes without a remark" \
    quiet env MANPATH="$prefix/share/man" systemd-analyze verify "$unit"

finish

#!/usr/bin/env bash
# CPack's Debian package of this build: its control data, its contents, its
# maintainer scripts and what lintian says of it; the unpacked programs run.
#   DebianPackageTest.sh BUILD_DIR VERSION APP_ID

# shellcheck source=tests/packaging/PackagingChecks.sh
source "$(dirname "$0")/PackagingChecks.sh"
version=$2
app_id=$3
require_tools dpkg-deb lintian

if ! cpack --config "$build_dir/CPackConfig.cmake" -B "$work_dir/out" >"$work_dir/cpack.log" 2>&1; then
    cat "$work_dir/cpack.log" >&2
    echo "FAIL: cpack makes the package" >&2
    exit 1
fi
deb=$(ls "$work_dir"/out/*.deb)

field() { dpkg-deb -f "$deb" "$1"; }
control_fields=(
    "Package|^orsan-monitor$" "Version|^$version$" "Section|^[a-z]" "Maintainer|^[^<]* <[^>]*@[^>]*>$"
)
for row in "${control_fields[@]}"; do
    check "${row%%|*} matches ${row#*|}" grep -q "${row#*|}" <<<"$(field "${row%%|*}")"
done
check "Description has a summary and a long text" test "$(field Description | wc -l)" -ge 3

# Found in the binaries by dpkg-shlibdeps, then the ones added by hand.
depends=$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
required_depends=(
    libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 libqt6svg6 libqt6multimedia6 libmodbus5 libc6
    fonts-noto-cjk fonts-liberation2 libqt6sql6-sqlite adduser
)
for package in "${required_depends[@]}"; do
    check "Depends names $package" grep -qx "$package" <<<"$depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
required_contents=(
    ./usr/bin/orsan-monitor
    ./usr/bin/orsan-sensor-sim
    "./usr/share/applications/$app_id.desktop"
    "./usr/share/metainfo/$app_id.metainfo.xml"
    ./usr/share/icons/hicolor/scalable/apps/orsan-monitor.svg
    ./usr/share/icons/hicolor/48x48/apps/orsan-monitor.png
    ./usr/share/man/man1/orsan-monitor.1.gz
    ./usr/lib/systemd/system/orsan-monitor.service
)
for path in "${required_contents[@]}"; do
    check "the package holds $path" grep -qx -- "$path" <<<"$contents"
done

# Unpacked, the programs run and the unit points at them.
root=$work_dir/root
dpkg-deb -x "$deb" "$root"
for program in orsan-monitor orsan-sensor-sim; do
    check "unpacked $program --version" test "$("$root/usr/bin/$program" --version)" = "$program $version"
    check "unpacked $program --help" "$root/usr/bin/$program" --help >/dev/null
    check "unpacked $program is stripped" \
        sh -c "! readelf -S '$root/usr/bin/$program' | grep -q '\.debug_info'"
done
check "the packaged unit runs /usr/bin/orsan-monitor" \
    grep -qx 'ExecStart=/usr/bin/orsan-monitor --headless --record --data-dir /var/lib/orsan-monitor' \
    "$root/usr/lib/systemd/system/orsan-monitor.service"

# Maintainer scripts: valid shell, the user is made once, nothing enabled.
control=$work_dir/control
dpkg-deb -e "$deb" "$control"
for script in postinst prerm postrm; do
    check "$script is an executable, valid shell script" \
        sh -c "test -x '$control/$script' && sh -n '$control/$script'"
done
check "no maintainer script enables the service" \
    sh -c "! cat '$control/postinst' '$control/prerm' '$control/postrm' | grep -v '^ *#' | grep -q enable"

# postinst against stand-ins for the system tools: each call is logged.
stubs=$work_dir/stubs
mkdir -p "$stubs"
for tool in adduser install systemctl deb-systemd-invoke; do
    printf '#!/bin/sh\necho "%s $*" >>"%s/calls"\n' "$tool" "$work_dir" >"$stubs/$tool"
done
# shellcheck disable=SC2016 # expanded by the stub, not here
printf '#!/bin/sh\n[ "$GETENT_KNOWS" = yes ]\n' >"$stubs/getent"
chmod +x "$stubs"/*
postinst_cases=(
    "no|configure|adduser --system --group --home /var/lib/orsan-monitor --no-create-home orsan-monitor"
    "yes|configure|"
    "no|abort-upgrade|"
)
for row in "${postinst_cases[@]}"; do
    IFS='|' read -r known action expected <<<"$row"
    rm -f "$work_dir/calls"
    GETENT_KNOWS=$known PATH="$stubs:$PATH" sh "$control/postinst" "$action" >/dev/null 2>&1
    status=$?
    check "postinst $action (user known: $known) succeeds" test "$status" -eq 0
    calls=$(grep '^adduser' "$work_dir/calls" 2>/dev/null)
    check "postinst $action (user known: $known) runs adduser as \"$expected\" (got \"$calls\")" \
        test "$calls" = "$expected"
done

# lintian: no error; its warnings are shown.
lintian --tag-display-limit 0 "$deb" >"$work_dir/lintian.log" 2>&1
cat "$work_dir/lintian.log"
check "lintian reports no error" sh -c "! grep -q '^E:' '$work_dir/lintian.log'"

finish

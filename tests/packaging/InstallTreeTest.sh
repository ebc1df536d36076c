#!/usr/bin/env bash
# `cmake --install` into a temporary prefix lays out every file of an
# installed station, and the freedesktop and manual page files are valid.
#   InstallTreeTest.sh BUILD_DIR SOURCE_DIR VERSION APP_ID

# shellcheck source=tests/packaging/PackagingChecks.sh
source "$(dirname "$0")/PackagingChecks.sh"
source_dir=$2
version=$3
app_id=$4
require_tools desktop-file-validate appstreamcli
prefix=$(install_tree) || exit 1

expected_files=(
    bin/orsan-monitor
    bin/orsan-sensor-sim
    "share/applications/$app_id.desktop"
    "share/metainfo/$app_id.metainfo.xml"
    share/icons/hicolor/scalable/apps/orsan-monitor.svg
    share/man/man1/orsan-monitor.1.gz
    share/man/man1/orsan-sensor-sim.1.gz
    share/bash-completion/completions/orsan-monitor
    share/bash-completion/completions/orsan-sensor-sim
    share/doc/orsan-monitor/copyright
    share/doc/orsan-monitor/changelog.gz
    lib/systemd/system/orsan-monitor.service
)
for f in "${expected_files[@]}"; do
    check "$f is installed" test -s "$prefix/$f"
done

# Every PNG size is rendered from the project's artwork at its own size.
for size in 16 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x$size/apps/orsan-monitor.png
    check "a ${size}x$size icon of ${size}x$size pixels is installed" \
        test "$(png_size "$png" 2>/dev/null)" = "${size}x$size"
done
check "the scalable icon is the station's artwork" \
    cmp -s "$source_dir/res/pictures/icon128_station.svg" \
    "$prefix/share/icons/hicolor/scalable/apps/orsan-monitor.svg"

desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
check "desktop-file-validate passes without a remark" quiet desktop-file-validate "$desktop"
check "appstreamcli validate passes" appstreamcli validate --no-net "$metainfo"

# What the menu entry names must exist in the tree.
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
check "the entry starts an installed program ($exec_program)" test -x "$prefix/bin/$exec_program"
check "the entry's icon ($icon_name) is in hicolor" \
    test -s "$prefix/share/icons/hicolor/scalable/apps/$icon_name.svg"
check "the entry has a Chinese name" grep -q '^Name\[zh_CN\]=.' "$desktop"
check "the entry has an English name" grep -q '^Name=[A-Za-z]' "$desktop"
check "the AppStream data launches the entry" \
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo"
check "the AppStream release list holds this version" \
    grep -q "<release version=\"$version\"" "$metainfo"
check "the AppStream data refers to a screenshot" grep -q '<image>https://.*\.png</image>' "$metainfo"

# The manual pages render without a warning from man or groff.
for page in orsan-monitor orsan-sensor-sim; do
    file=$prefix/share/man/man1/$page.1.gz
    # shellcheck disable=SC2016 # $1 is expanded by that shell
    check "$page(1) renders without warnings" quiet sh -c \
        'LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$1" >/dev/null' man "$file"
    check "$page(1) carries version $version" sh -c "zcat '$file' | head -1 | grep -qF ' $version\"'"
done

finish

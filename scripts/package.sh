#!/usr/bin/env bash
# Builds a Release of the station into its own build folder and writes the
# Debian package into $ORSAN_PACKAGE_DIR (default dist/). Shows the package's
# control data and what lintian says of it; a lintian error fails the script.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=${ORSAN_PACKAGE_BUILD_DIR:-$root/build-package}
out=${ORSAN_PACKAGE_DIR:-$root/dist}

# Debian's own compiler and linker hardening, as a package build would use.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CFLAGS=$(dpkg-buildflags --get CFLAGS)
CXXFLAGS=$(dpkg-buildflags --get CXXFLAGS)
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
CPPFLAGS=$(dpkg-buildflags --get CPPFLAGS)
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS" LDFLAGS

# Only what goes into the package: no tests, no benchmarks.
cmake -S "$root" -B "$build" -DORSAN_BUILD_TESTS=OFF -DORSAN_BUILD_BENCH=OFF >/dev/null
ORSAN_BUILD_DIR=$build CMAKE_BUILD_TYPE=Release "$root/scripts/build.sh"

rm -rf "$build/cpack"
cpack --config "$build/CPackConfig.cmake" -B "$build/cpack"
deb=$(ls "$build"/cpack/*.deb)
mkdir -p "$out"
cp "$deb" "$out/"
deb=$out/$(basename "$deb")

echo
dpkg-deb --info "$deb"
echo
dpkg-deb --contents "$deb"
echo
echo "lintian:"
lintian --tag-display-limit 0 "$deb" | tee "$build/lintian.log" || true
if grep -q '^E:' "$build/lintian.log"; then
    echo "lintian found errors in $deb" >&2
    exit 1
fi
# The programs as the package holds them.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
for program in orsan-monitor orsan-sensor-sim; do
    "$unpacked/usr/bin/$program" --version
    "$unpacked/usr/bin/$program" --help >/dev/null
done
echo
echo "package: $deb"

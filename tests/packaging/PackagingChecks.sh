# shellcheck shell=bash
# Shared by the packaging tests: a fresh install tree and a tally of checks.
# Sourced; the caller passes the build folder as $1.

set -uo pipefail

build_dir=$1
work_dir=$(mktemp -d)
trap 'rm -rf "$work_dir"' EXIT
checks=0
failures=0

# check DESCRIPTION COMMAND...: runs the command and counts a failure when it
# fails, naming what was expected.
check() {
    local what=$1
    shift
    checks=$((checks + 1))
    if ! "$@"; then
        echo "FAIL: $what" >&2
        failures=$((failures + 1))
    fi
}

# Ends the test: its exit code tells CTest whether every check held.
finish() {
    echo "$((checks - failures)) of $checks checks held"
    [ "$checks" -gt 0 ] && [ "$failures" -eq 0 ]
}

# Installs the build into a new temporary prefix and prints the prefix.
install_tree() {
    local prefix=$work_dir/prefix
    if ! cmake --install "$build_dir" --prefix "$prefix" >"$work_dir/install.log" 2>&1; then
        cat "$work_dir/install.log" >&2
        echo "FAIL: cmake --install into a temporary prefix" >&2
        exit 1
    fi
    echo "$prefix"
}

# Needs a tool that scripts/setup.sh installs.
require_tool() {
    if ! command -v "$1" >/dev/null; then
        echo "FAIL: $1 is missing (scripts/setup.sh installs it)" >&2
        exit 1
    fi
}

# output_is_empty COMMAND...: the command succeeds and prints nothing at all,
# so warnings count as failures too.
output_is_empty() {
    local out
    out=$("$@" 2>&1) || { printf '%s\n' "$out" >&2; return 1; }
    [ -z "$out" ] || { printf '%s\n' "$out" >&2; return 1; }
}

# stderr_is_empty COMMAND...: the command succeeds and writes nothing to
# stderr; its standard output is not looked at.
stderr_is_empty() {
    local err
    err=$("$@" 2>&1 >/dev/null) || { printf '%s\n' "$err" >&2; return 1; }
    [ -z "$err" ] || { printf '%s\n' "$err" >&2; return 1; }
}

# Width and height of a PNG from its IHDR chunk, as "WxH".
png_size() {
    local w h
    w=$(od -An -tu1 -j16 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    h=$(od -An -tu1 -j20 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
    echo "${w}x${h}"
}

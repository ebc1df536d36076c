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

# Needs the tools that scripts/setup.sh installs.
require_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh)" >&2; exit 1; }
    done
}

# quiet COMMAND...: the command succeeds and prints nothing, so warnings
# count as failures too.
quiet() {
    local out
    out=$("$@" 2>&1) && [ -z "$out" ] && return 0
    printf '%s\n' "$out" >&2
    return 1
}

# Width and height of a PNG from its IHDR chunk, as "WxH".
png_size() {
    od -An -tu1 -j16 -N8 "$1" |
        awk '{print $1*2^24 + $2*2^16 + $3*2^8 + $4 "x" $5*2^24 + $6*2^16 + $7*2^8 + $8}'
}

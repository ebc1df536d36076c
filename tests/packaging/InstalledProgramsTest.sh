#!/usr/bin/env bash
# The installed programs answer --version and --help, and their manual pages
# and bash completion know every option that --help lists.
#   InstalledProgramsTest.sh BUILD_DIR VERSION

# shellcheck source=tests/packaging/PackagingChecks.sh
source "$(dirname "$0")/PackagingChecks.sh"
version=$2
prefix=$(install_tree) || exit 1
export QT_QPA_PLATFORM=offscreen

# What a user types, with the completion the installed script offers.
complete_line() {  # PROGRAM WORD... (the last word is being completed)
    local program=$1
    shift
    (
        # shellcheck source=/dev/null
        source "$prefix/share/bash-completion/completions/$program"
        COMP_WORDS=("$program" "$@")
        COMP_CWORD=$#
        COMPREPLY=()
        "$(complete -p "$program" | sed -n 's/.*-F \([^ ]*\) .*/\1/p')"
        [ ${#COMPREPLY[@]} -eq 0 ] || printf "%s\n" "${COMPREPLY[@]}"
    )
}

for program in orsan-monitor orsan-sensor-sim; do
    binary=$prefix/bin/$program
    check "$program --version prints \"$program $version\"" \
        test "$("$binary" --version 2>&1)" = "$program $version"
    help_text=$("$binary" --help 2>&1)
    check "$program --help succeeds" "$binary" --help >/dev/null 2>&1
    check "$program --help prints its usage" grep -q "^usage: $program" <<<"$help_text"

    # Long options in the help text, then each must be documented and offered.
    options=$(grep -o -- '--[a-z][a-z-]*' <<<"$help_text" | sort -u)
    check "$program --help lists options" test -n "$options"
    manual=$(zcat "$prefix/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
    offered=$(complete_line "$program" "--")
    for option in $options; do
        check "$program(1) documents $option" grep -qF -- "$option" <<<"$manual"
        check "completion offers $program $option" grep -qx -- "$option" <<<"$offered"
    done
    # And nothing beyond what the program accepts.
    for option in $offered; do
        check "$program accepts the completed $option" grep -qx -- "$option" <<<"$options"
    done
done

# The completion narrows to what the option takes.
completion_cases=(
    "orsan-monitor|--hea|--headless"
    "orsan-monitor|--export-sensor 7|"
    "orsan-monitor|--export-sensor |1 2 3 4 5 6"
    "orsan-monitor|--seconds 1|1 10"
    "orsan-sensor-sim|--wave-f|--wave-fault"
    "orsan-sensor-sim|--seed |"
)
for row in "${completion_cases[@]}"; do
    IFS='|' read -r program line expected <<<"$row"
    read -ra words <<<"$line"
    [ "${line: -1}" = " " ] && words+=("")
    got=$(complete_line "$program" "${words[@]}" | sort | tr '\n' ' ')
    want=$(tr ' ' '\n' <<<"$expected" | sed '/^$/d' | sort | tr '\n' ' ')
    check "completing \"$program $line\" gives \"$expected\" (got \"$got\")" test "$got" = "$want"
done
data_dir=$work_dir/data-folder
mkdir -p "$data_dir"
check "--data-dir completes folders" \
    grep -qx "$data_dir" <<<"$(complete_line orsan-monitor --data-dir "$work_dir/data")"

finish

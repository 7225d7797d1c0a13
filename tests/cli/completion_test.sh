#!/usr/bin/env bash
# The bash completion of corvane-cli: commands, each command's flags, and the drive names the
# program lists.  completion_test.sh COMPLETION_FILE CORVANE_CLI BAY_FILE
set -uo pipefail
# shellcheck disable=SC1090
source "$1"
cli=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
export CORVANE_SIM=$(cd "$(dirname "$3")" && pwd)/$(basename "$3") TMPDIR=$(mktemp -d)
export XDG_CONFIG_HOME=$TMPDIR/config
trap 'rm -rf "$TMPDIR"' EXIT
failed=0

# words typed (the last one is being completed) | the replies, in order
cases=(
    "te|test"
    "|list info test version --help --version"
    "test --f|--full --format"
    "test --q|--quiet"
    "list --|--json --help"
    "info --j|--json"
    "info |E: F: G: H:"
    "test E: |E: F: G: H:"
)
for c in "${cases[@]}"; do
    IFS='|' read -r typed want <<<"$c"
    read -ra COMP_WORDS <<<"$cli $typed"
    [[ $typed == *" " || -z $typed ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    # shellcheck disable=SC2164 # an empty folder: test completes no file names there
    mkdir -p "$TMPDIR/empty"
    got=$(cd "$TMPDIR/empty"
        _corvane_cli
        echo "${COMPREPLY[*]}")
    if [ "$got" != "$want" ]; then
        echo "FAIL completing '$typed': '$got' (want '$want')"
        failed=1
    else
        echo "ok   completing '$typed': $got"
    fi
done
exit $failed

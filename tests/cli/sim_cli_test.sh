#!/usr/bin/env bash
# corvane-cli on simulated drives, as a user runs it: the verdicts and failure texts of
# examples/bay.ini one drive at a time; five drives of tests/cli/bay5.ini in one run, as text,
# as a JSON report checked against its schema, and stopped by Ctrl-C; the argument errors and
# their exit codes.  sim_cli_test.sh CORVANE_CLI BAY_FILE BAY5_FILE SCHEMA
set -uo pipefail
cli=$1
bay=$2
bay5=$3
schema=$4
here=$(cd "$(dirname "$0")" && pwd)
export TMPDIR=$(mktemp -d)
export XDG_CONFIG_HOME=$TMPDIR/config
trap 'rm -rf "$TMPDIR"' EXIT
failed=0
# The distribution's Python, whose jsonschema the setup installs.
python=/usr/bin/python3
[ -x "$python" ] || python=python3

# holds_line TEXT PATTERN: a line of TEXT matches PATTERN (a * stands for anything).
holds_line() {
    local l
    while IFS= read -r l; do
        # shellcheck disable=SC2053
        [[ "$l" == $2 ]] && return 0
    done <<<"$1"
    return 1
}

fail() {
    echo "FAIL $1"
    [ -n "${2:-}" ] && sed 's/^/  | /' <<<"$2"
    failed=1
}

# drive | extra arguments | exit code | a line the output must hold
cases=(
    "E:|--yes|0|Test Complete. No errors found."
    "E:|--yes|0|Completed in * s: 59 blocks written, 59 blocks verified, 7.45 GB tested"
    "F:|--yes|1|Verify Failure at 0.00 B The firstsector has been overwritten. Real size is probably 8.00 GB"
    "F:|--yes|1|Failed at 0.00 B (block 1 of 119 of the verify pass) in * s: 119 blocks written, 0 blocks verified"
    "G:|--yes|1|Verify failure while writing sector 8388608 at 4.00 GB"
    "H:|--yes|1|Verify Failure at 8.00 GB"
    "H:|--yes --full|1|Verify Failure at 8.00 GB"
    "F:|--yes --full|1|Verify Failure at 0.00 B The firstsector has been overwritten. Real size is probably 8.00 GB"
    "C:|--yes|3|corvane-cli: C: is not a removable drive; pass --allow-fixed to test it anyway (everything on it will be destroyed)"
    "X:|--yes|3|corvane-cli: X: is not a drive this machine has (corvane-cli list shows the removable ones)"
    "E:||3|corvane-cli: no terminal to ask for confirmation on; pass --yes to confirm that everything on E: may be destroyed"
    "E: F: e:|--yes|3|corvane-cli: e: is named more than once"
)
for c in "${cases[@]}"; do
    IFS='|' read -r drives args code line <<<"$c"
    # shellcheck disable=SC2086
    out=$(CORVANE_SIM=$bay "$cli" test $drives $args </dev/null 2>&1)
    got=$?
    if [ "$got" != "$code" ] || ! holds_line "$out" "$line"; then
        fail "test $drives $args: exit $got (want $code), output:" "$out"
    else
        echo "ok   test $drives $args: exit $got"
    fi
    # No run claims the whole drive when it did not cover it.
    if grep -q "100% Complete" <<<"$out" && [ "$code" != 0 ]; then
        fail "test $drives $args: a run that did not cover the drive says 100% Complete" "$out"
    fi
    # A run that tested leaves the diagnostic log with the drive walk and the worker's line.
    if [ "$code" != 3 ] && ! { grep -q "FillHDDComboList() - Found Device " "$TMPDIR/Corvane.log" &&
        grep -q "Start Flash Error THREAD SizeTestThread()" "$TMPDIR/Corvane.log"; }; then
        fail "test $drives $args: the log lacks the walk or the worker's line"
    fi
done

# Five drives in one run: one confirmation naming them all, each drive's messages with its
# name, the closing lines and the summary table; the worst exit code.
out=$(CORVANE_SIM=$bay5 "$cli" test E: F: G: H: I: --yes </dev/null 2>&1)
got=$?
want_lines=(
    "Everything on these drives will be destroyed:"
    "  E:  Kingston DataTraveler 3.0  7.45 GB (8000000000 bytes)"
    "  I:  Verbatim Store n Go  29.80 GB (32000000000 bytes)"
    "Are you sure you want to continue? [Yes]"
    "E: Test Complete. No errors found."
    "E: Launch the formatter? [No]"
    "F: Verify Failure at 0.00 B The firstsector has been overwritten. Real size is probably 8.00 GB"
    "G: Verify failure while writing sector 8388608 at 4.00 GB"
    "G: This disk is either faulty or a fake size"
    "H: Verify Failure at 8.00 GB"
    "I: Write Failure at 12.50 GB"
)
bad=""
[ "$got" = 1 ] || bad="exit $got (want 1)"
for l in "${want_lines[@]}"; do grep -qxF -- "$l" <<<"$out" || bad+=$'\n'"missing: $l"; done
[ "$(grep -c "^Are you sure you want to continue?" <<<"$out")" = 1 ] || bad+=$'\n'"not one confirmation"
# The summary: one row per drive with its verdict, probable real size and first failure.
for row in "E:|genuine|-|-" "F:|fake|8.00 GB|0.00 B" "G:|fake|-|4.00 GB" "H:|faulty|-|8.00 GB" "I:|faulty|-|12.50 GB"; do
    IFS='|' read -r d v real first <<<"$row"
    grep -qE "^$d +.+ $v +${real//./\\.} +${first//./\\.} +[0-9]+ / [0-9]+ +[0-9.]+ s$" <<<"$out" ||
        bad+=$'\n'"no summary row: $d $v $real $first"
done
if [ -n "$bad" ]; then fail "five drives: $bad" "$out"; else echo "ok   five drives in one run: exit $got"; fi

# The same run as a JSON report: stdout holds the document alone, valid against the schema.
CORVANE_SIM=$bay5 "$cli" test E: F: G: H: I: --yes --json </dev/null >"$TMPDIR/report.json" 2>"$TMPDIR/report.err"
got=$?
if ! check=$("$python" "$here/validate_report.py" "$schema" "$TMPDIR/report.json" "$got" 2>&1); then
    fail "five drives --json: the report is not valid ($got)" "$check"
elif ! verdicts=$("$python" -c 'import json,sys; print(" ".join(d["test"]["verdict"] for d in json.load(open(sys.argv[1]))["drives"]))' "$TMPDIR/report.json") ||
    [ "$verdicts" != "genuine fake fake faulty faulty" ]; then
    fail "five drives --json: verdicts '$verdicts'"
elif ! grep -qxF "F: Verify Failure at 0.00 B The firstsector has been overwritten. Real size is probably 8.00 GB" "$TMPDIR/report.err"; then
    fail "five drives --json: the messages are not on stderr" "$(cat "$TMPDIR/report.err")"
else
    echo "ok   five drives --json: valid, verdicts $verdicts"
fi
for cmd in "list" "info E:" "test X: --yes"; do
    # shellcheck disable=SC2086
    CORVANE_SIM=$bay5 "$cli" $cmd --json >"$TMPDIR/cmd.json" 2>"$TMPDIR/cmd.err" </dev/null
    got=$?
    if check=$("$python" "$here/validate_report.py" "$schema" "$TMPDIR/cmd.json" "$got" 2>&1); then
        echo "ok   $cmd --json: valid"
    else
        fail "$cmd --json: not valid" "$check"
    fi
done

# Ctrl-C during a run of five: every drive stops at its next block, exit 2.
CORVANE_SIM=$bay5 "$cli" test E: F: G: H: I: --yes --full </dev/null >"$TMPDIR/stop.out" 2>&1 &
pid=$!
# Ctrl-C is taken from the confirmation on: a run it reaches before its first block stops there.
for _ in $(seq 100); do
    grep -qxF "Are you sure you want to continue? [Yes]" "$TMPDIR/stop.out" && break
    sleep 0.05
done
sleep 0.1
kill -INT "$pid"
wait "$pid"
got=$?
out=$(cat "$TMPDIR/stop.out")
stopped=$(grep -cE "^[EFGHI]: Stopped at block [0-9]+ of [0-9]+ of the write pass in " <<<"$out")
aborted=$(grep -cxF "Aborted at user request." <<<"$(sed -E 's/^[EFGHI]: //' <<<"$out")")
if [ "$got" != 2 ] || [ "$stopped" != 5 ] || [ "$aborted" != 5 ]; then
    fail "Ctrl-C during five drives: exit $got (want 2), $stopped stopped, $aborted aborted" "$out"
else
    echo "ok   Ctrl-C during five drives: exit $got, all five stopped"
fi

# Argument errors: exit 3 with the argument library's message; help and version exit 0.
# arguments | exit code | a line the output must hold
args_cases=(
    "lst|3|The following argument was not expected: lst"
    "|3|A subcommand is required"
    "test|3|drives is required"
    "info|3|drive is required"
    "test E: --bogus|3|The following argument was not expected: --bogus"
    "info E: F:|3|The following argument was not expected: F:"
    "list extra|3|The following argument was not expected: extra"
    "--version|0|corvane-cli 1.0.0.0"
    "version|0|corvane-cli 1.0.0.0"
    "--help|0|Corvane: exposes counterfeit and failing flash drives"
    "test --help|0|Usage: corvane-cli test [OPTIONS] drives..."
    "list --help|0|Usage: corvane-cli list [OPTIONS]"
    "info --help|0|Usage: corvane-cli info [OPTIONS] drive"
)
for c in "${args_cases[@]}"; do
    IFS='|' read -r args code line <<<"$c"
    # shellcheck disable=SC2086
    out=$(CORVANE_SIM=$bay "$cli" $args </dev/null 2>&1)
    got=$?
    if [ "$got" != "$code" ] || ! grep -qxF -- "$line" <<<"$out"; then
        fail "arguments '$args': exit $got (want $code)" "$out"
    else
        echo "ok   arguments '$args': exit $got"
    fi
done
exit $failed

#!/usr/bin/env bash
# corvane-cli test on the simulated drives of examples/bay.ini: the verdict or failure texts
# and the exit codes, as a user sees them.  sim_cli_test.sh CORVANE_CLI BAY_FILE
set -uo pipefail
cli=$1
export CORVANE_SIM=$2
export TMPDIR=$(mktemp -d)
export XDG_CONFIG_HOME=$TMPDIR/config
trap 'rm -rf "$TMPDIR"' EXIT
failed=0

# drive | extra arguments | exit code | a line the output must hold
cases=(
    "E:|--yes|0|Test Complete. No errors found."
    "F:|--yes|1|Verify Failure at 0.00 B The firstsector has been overwritten. Real size is probably 8.00 GB"
    "G:|--yes|1|Verify failure while writing sector 8388608 at 4.00 GB"
    "H:|--yes|1|Verify Failure at 8.00 GB"
    "H:|--yes --full|1|Verify Failure at 8.00 GB"
    "F:|--yes --full|1|Verify Failure at 0.00 B The firstsector has been overwritten. Real size is probably 8.00 GB"
    "C:|--yes|3|corvane-cli: C: is not a removable drive; pass --allow-fixed to test it anyway (everything on it will be destroyed)"
    "X:|--yes|3|corvane-cli: X: is not a drive this machine has (corvane-cli list shows the removable ones)"
    "E:||3|corvane-cli: no terminal to ask for confirmation on; pass --yes to confirm that everything on E: may be destroyed"
)
for c in "${cases[@]}"; do
    IFS='|' read -r drive args code line <<<"$c"
    # shellcheck disable=SC2086
    out=$("$cli" test "$drive" $args </dev/null 2>&1)
    got=$?
    if [ "$got" != "$code" ] || ! grep -qxF -- "$line" <<<"$out"; then
        echo "FAIL test $drive $args: exit $got (want $code), output:"
        sed 's/^/  | /' <<<"$out"
        failed=1
    else
        echo "ok   test $drive $args: exit $got"
    fi
    # A run that tested leaves the diagnostic log with the drive walk and the worker's line.
    if [ "$code" != 3 ] && ! { grep -q "FillHDDComboList() - Found Device " "$TMPDIR/Corvane.log" &&
        grep -q "Start Flash Error THREAD SizeTestThread()" "$TMPDIR/Corvane.log"; }; then
        echo "FAIL test $drive $args: the log lacks the walk or the worker's line"
        failed=1
    fi
done
exit $failed

#!/usr/bin/env bash
# End-to-end: corvane-cli tests counterfeit drives that fakeflash serves behind loop devices.
#
#   tests/e2e/run.sh [--build DIR] [--quick-only] [--case NAME]... [--table] [--list]
#
# Each case mounts fakeflash in a temporary folder, attaches its disk to a loop device with
# direct I/O, keeps a second descriptor open on that device for the whole run (so a test that
# reads through the page cache would be fooled and fail here), runs the size test in Quick and
# Full mode, and checks the exit code and the verdict. --table runs every case in both modes,
# adds f3probe on a fresh device of the same case, and prints a Markdown table.
# Needs root, /dev/loop-control and /dev/fuse; skips (exit 0) without them.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/linux"
quick_only=0
table=0
list=0
only=()

usage() { sed -n '4,11p' "$0" | sed 's/^# \{0,1\}//'; }
while [ $# -gt 0 ]; do
    case "$1" in
    --build) build=$(cd "${2:?--build needs a folder}" && pwd) || exit 2; shift ;;
    --quick-only) quick_only=1 ;;
    --table) table=1 ;;
    --list) list=1 ;;
    --case) only+=("${2:?--case needs a name}"); shift ;;
    -h | --help) usage; exit 0 ;;
    *) echo "e2e: unknown argument '$1'" >&2; usage >&2; exit 2 ;;
    esac
    shift
done
cli=${CORVANE_CLI:-$build/src/corvane-cli}
fakeflash=${FAKEFLASH:-$build/tools/fakeflash/fakeflash}

genuine="Test Complete. No errors found."
first="Verify Failure at 0.00 B The firstsector has been overwritten. Real size is probably"

# name | sector size | fakeflash drive arguments | Quick exit | Quick verdict | Full exit |
# Full verdict | Full runs by default (the others only with --table: they take long)
cases=(
    "genuine-512|512|--size 16GB|0|$genuine|0|$genuine|yes"
    "genuine-4096|4096|--size 16GB|0|$genuine|0|$genuine|yes"
    "wrap-8GiB-of-16GB|512|--size 16GB --real 8GiB --beyond wrap|1|$first 8.00 GB|1|$first 8.00 GB|yes"
    "wrap-1GiB-of-32GB|512|--size 32GB --real 1GiB --beyond wrap|1|$first 1.00 GB|1|$first 1.00 GB|yes"
    "dropped-past-3GiB|512|--size 16GB --real 3GiB --beyond zeros|1|Verify failure while writing sector 6291456 at 3.00 GB|1|Verify failure while writing sector 6291456 at 3.00 GB|yes"
    "errors-past-3GiB|512|--size 16GB --real 3GiB --beyond error|1|Write Failure at 3.00 GB|1|Write Failure at 3.00 GB|yes"
    "dropped-past-15.9GB|512|--size 16GB --real 15900000256 --beyond zeros|0|$genuine|1|Verify failure while writing sector 31055872 at 14.81 GB|yes"
    "cache-hides-dropped|512|--size 16GB --real 3GiB --beyond zeros --cache 64|1|Verify Failure at 3.00 GB|1|Verify Failure at 3.00 GB|yes"
    "read-errors-past-8GiB|512|--size 16GB --real 8GiB --beyond read-error|1|Verify Failure at 8.00 GB|1|Verify Failure at 8.00 GB|yes"
    "wrap-at-8e9-bytes-of-16GB|512|--size 16GB --real 8000000000 --beyond wrap|0|$genuine|0|$genuine|yes"
    "2TB-wrap-at-32GiB|512|--size 2TB --real 32GiB --beyond wrap|1|$first 32.00 GB|1|$first 32.00 GB|no"
)

# The first line of the output that is a verdict or a failure message.
verdict_re='^(Test Complete\.|Aborted at user request\.|Verify failure while writing|Write Failure at|Verify Failure at)'

if [ "$list" = 1 ]; then
    for c in "${cases[@]}"; do echo "${c%%|*}"; done
    exit 0
fi

skip() { echo "e2e: skipped: $*"; exit 0; }
[ "$(id -u)" = 0 ] || skip "needs root to attach loop devices and mount FUSE"
[ -e /dev/loop-control ] || skip "this machine has no loop device support (/dev/loop-control)"
[ -e /dev/fuse ] || skip "this machine has no FUSE support (/dev/fuse)"
for tool in losetup fusermount3 blockdev; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (util-linux, fuse3)" >&2; exit 1; }
done
for bin in "$cli" "$fakeflash"; do
    [ -x "$bin" ] || { echo "e2e: $bin is not built" >&2; exit 1; }
done
if ! "$cli" test --help >/dev/null 2>&1; then
    echo "e2e: $cli has no test command" >&2
    exit 1
fi

# The drive in use: cleaned up on every path, in the reverse order of setting up.
. "$(dirname "$0")/teardown.sh"
cur_fd="" cur_loop="" cur_mnt="" cur_pid=""

detach() {
    if [ -n "$cur_fd" ]; then
        exec {cur_fd}<&-
        cur_fd=""
    fi
    if [ -n "$cur_loop" ]; then
        detach_loop "$cur_loop"
        cur_loop=""
    fi
    [ -n "$cur_mnt" ] && unmount_fuse "$cur_mnt"
    if [ -n "$cur_pid" ]; then
        stop_daemon "$cur_pid"
        cur_pid=""
    fi
    if [ -n "$cur_mnt" ]; then
        rmdir "$cur_mnt" 2>/dev/null
        cur_mnt=""
    fi
}
trap detach EXIT
trap 'detach; exit 130' INT TERM

# attach SECTOR ARGS...: serves a fake drive and sets cur_loop to its loop device.
attach() {
    local sector=$1
    shift
    cur_mnt=$(mktemp -d /tmp/corvane-e2e.XXXXXX) || return 1
    # shellcheck disable=SC2068 # the drive arguments are words
    "$fakeflash" "$cur_mnt" --foreground "$@" &
    cur_pid=$!
    for _ in $(seq 100); do
        [ -e "$cur_mnt/disk" ] && break
        kill -0 "$cur_pid" 2>/dev/null || { echo "e2e: fakeflash $* did not start" >&2; return 1; }
        sleep 0.1
    done
    [ -e "$cur_mnt/disk" ] || { echo "e2e: fakeflash $* did not mount" >&2; return 1; }
    cur_loop=$(losetup --direct-io=on --sector-size "$sector" -f --show "$cur_mnt/disk") || {
        cur_loop=""
        echo "e2e: cannot attach $cur_mnt/disk to a loop device" >&2
        return 1
    }
    # Only the device just attached to this disk, with direct I/O, is ever tested.
    if [ "$(losetup -n -O BACK-FILE "$cur_loop" | sed 's/ *$//')" != "$cur_mnt/disk" ] ||
        [ "$(losetup -n -O DIO "$cur_loop" | tr -d ' ')" != 1 ] ||
        [ "$(blockdev --getss "$cur_loop")" != "$sector" ]; then
        echo "e2e: $cur_loop is not the $sector-byte direct-I/O device of $cur_mnt/disk" >&2
        return 1
    fi
    exec {cur_fd}<>"$cur_loop"
}

# Blocks per pass when the output does not say: the test's sector count is the product of the
# geometry (255 heads, 63 sectors per track), Full steps 4 x the sector size in sectors, Quick
# steps by the sector count.
blocks_per_pass() {
    local bytes=$1 sector=$2 mode=$3 ts step
    # shellcheck disable=SC2017 # whole cylinders only, as the geometry reports them
    ts=$((bytes / (255 * 63 * sector) * 255 * 63))
    if [ "$mode" = full ]; then
        step=$((4 * sector))
    elif [ "$ts" -ge 2097152 ]; then
        step=262144
    elif [ "$ts" -ge 524288 ]; then
        step=65536
    elif [ "$ts" -ge 131072 ]; then
        step=16384
    else
        step=4096
    fi
    echo $((ts / step))
}

now() { echo "${EPOCHREALTIME/,/.}"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f s", b - a }'; }

failures=0
declare -A cell

# run_cli NAME SECTOR ARGS MODE EXIT VERDICT: one size test on a fresh drive.
run_cli() {
    local name=$1 sector=$2 args=$3 mode=$4 want_exit=$5 want=$6 out rc t0 t1 found flags=()
    [ "$mode" = full ] && flags=(--full)
    # shellcheck disable=SC2086
    attach "$sector" $args || { detach; failures=$((failures + 1)); cell[$name,$mode]="setup failed|-|-|-"; return; }
    local planned blocks
    planned=$(blocks_per_pass "$(blockdev --getsize64 "$cur_loop")" "$sector" "$mode")
    t0=$(now)
    out=$(timeout -k 10 3600 "$cli" test "$cur_loop" --yes --allow-fixed "${flags[@]}" </dev/null 2>&1)
    rc=$?
    t1=$(now)
    detach
    found=$(grep -E -m1 "$verdict_re" <<<"$out")
    # "... 24 blocks written, 1 block verified ..." when the tester reports its counts.
    blocks=$(grep -oE -m1 '[0-9]+ blocks? written, [0-9]+ blocks? verified' <<<"$out" |
        sed -E 's/ blocks? written, / \/ /; s/ blocks? verified//')
    [ -n "$blocks" ] || blocks="$planned / $planned (planned)"
    local status=PASS
    # A genuine verdict must rest on every block of both passes.
    if [ "$rc" != "$want_exit" ] || ! grep -qF -- "$want" <<<"$out" ||
        { [ "$want_exit" = 0 ] && [ "$blocks" != "$planned / $planned" ] &&
            [ "$blocks" != "$planned / $planned (planned)" ]; }; then
        status=FAIL
        failures=$((failures + 1))
    fi
    echo "e2e: $status $name $mode: exit $rc, $(elapsed "$t0" "$t1"), blocks written / verified $blocks: ${found:-no verdict}"
    if [ "$status" = FAIL ]; then
        echo "e2e:   expected exit $want_exit and \"$want\"$([ "$want_exit" = 0 ] && echo " over $planned blocks per pass"); the output ends:"
        tail -n 15 <<<"$out" | sed 's/^/e2e:   | /'
    fi
    cell[$name,$mode]="${found:-none}$([ "$status" = FAIL ] && echo " (UNEXPECTED)")|$rc|$(elapsed "$t0" "$t1")|$blocks"
}

# run_f3probe NAME SECTOR ARGS: the peer tool's opinion of the same fake.
run_f3probe() {
    local name=$1 sector=$2 args=$3 out rc t0 t1 verdict size
    if ! command -v f3probe >/dev/null; then
        cell[$name,f3]="f3probe not installed|-|-"
        return
    fi
    # shellcheck disable=SC2086
    attach "$sector" $args || { detach; cell[$name,f3]="setup failed|-|-"; return; }
    t0=$(now)
    out=$(timeout -k 10 3600 f3probe --destructive --time-ops "$cur_loop" </dev/null 2>&1)
    rc=$?
    t1=$(now)
    detach
    verdict=$(grep -E -m1 '^(Good|Bad) news:' <<<"$out" | sed -E "s/^.*' is (a |an )?//; s/\.$//")
    size=$(grep -m1 'Usable\* size:' <<<"$out" | sed -E 's/.*size: *([^(]*[^ (]).*/\1/')
    cell[$name,f3]="${verdict:-no verdict (exit $rc)}|${size:--}|$(elapsed "$t0" "$t1")"
}

selected() {
    [ ${#only[@]} -eq 0 ] && return 0
    local n
    for n in "${only[@]}"; do [ "$n" = "$1" ] && return 0; done
    return 1
}

ran=()
for c in "${cases[@]}"; do
    IFS='|' read -r name sector args qexit qwant fexit fwant full_default <<<"$c"
    selected "$name" || continue
    ran+=("$name")
    run_cli "$name" "$sector" "$args" quick "$qexit" "$qwant"
    if [ "$table" = 1 ] || { [ "$quick_only" = 0 ] && { [ "$full_default" = yes ] || [ ${#only[@]} -gt 0 ]; }; }; then
        run_cli "$name" "$sector" "$args" full "$fexit" "$fwant"
    fi
    [ "$table" = 1 ] && run_f3probe "$name" "$sector" "$args"
done
if [ ${#ran[@]} -eq 0 ]; then
    echo "e2e: no case is named ${only[*]} (see --list)" >&2
    exit 2
fi

if [ "$table" = 1 ]; then
    echo
    echo "| Case | Quick verdict | exit | time | blocks written / verified | Full verdict | exit | time | blocks written / verified | f3probe verdict | f3probe real size | f3probe time |"
    echo "|---|---|---|---|---|---|---|---|---|---|---|---|"
    for name in "${ran[@]}"; do
        echo "| $name | ${cell[$name,quick]//|/ | } | ${cell[$name,full]//|/ | } | ${cell[$name,f3]//|/ | } |"
    done
fi

if [ "$failures" -gt 0 ]; then
    echo "e2e: $failures run(s) failed"
    exit 1
fi
echo "e2e: all runs passed"

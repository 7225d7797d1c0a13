#!/usr/bin/env bash
# End-to-end: four counterfeit drives that fakeflash serves behind loop devices, tested one
# after another and then all four in one run of corvane-cli (one worker each). Checks that each
# drive gets the same verdict either way and that the run's exit code is the worst of them,
# and prints the times of both.
#
#   tests/e2e/parallel.sh [--build DIR] [--quick]
#
# Full Test by default (--quick for the Quick Test). Needs root, /dev/loop-control and
# /dev/fuse; skips (exit 0) without them.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/linux"
mode=(--full)
while [ $# -gt 0 ]; do
    case "$1" in
    --build) build=$(cd "${2:?--build needs a folder}" && pwd) || exit 2; shift ;;
    --quick) mode=() ;;
    -h | --help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "e2e: unknown argument '$1'" >&2; exit 2 ;;
    esac
    shift
done
cli=${CORVANE_CLI:-$build/src/corvane-cli}
fakeflash=${FAKEFLASH:-$build/tools/fakeflash/fakeflash}

skip() { echo "e2e parallel: skipped: $*"; exit 0; }
[ "$(id -u)" = 0 ] || skip "needs root to attach loop devices and mount FUSE"
[ -e /dev/loop-control ] || skip "this machine has no loop device support (/dev/loop-control)"
[ -e /dev/fuse ] || skip "this machine has no FUSE support (/dev/fuse)"
for bin in "$cli" "$fakeflash"; do
    [ -x "$bin" ] || { echo "e2e parallel: $bin is not built" >&2; exit 1; }
done

# name | fakeflash drive arguments | exit code | verdict
drives=(
    "genuine|--size 16GB|0|genuine"
    "wrap-8GiB-of-16GB|--size 16GB --real 8GiB --beyond wrap|1|fake"
    "wrap-1GiB-of-32GB|--size 32GB --real 1GiB --beyond wrap|1|fake"
    "read-errors-past-8GiB|--size 16GB --real 8GiB --beyond read-error|1|faulty"
)

loops=() mounts=() pids=()
. "$(dirname "$0")/teardown.sh"
detach_all() {
    local i
    for i in "${!loops[@]}"; do detach_loop "${loops[$i]}"; done
    for i in "${!mounts[@]}"; do unmount_fuse "${mounts[$i]}"; done
    for i in "${!pids[@]}"; do stop_daemon "${pids[$i]}"; done
    for i in "${!mounts[@]}"; do rmdir "${mounts[$i]}" 2>/dev/null; done
    loops=() mounts=() pids=()
}
trap detach_all EXIT
trap 'detach_all; exit 130' INT TERM

# attach_all: a fresh fakeflash drive for every case, each behind its own direct-I/O loop
# device; only devices just attached to these disks are ever tested.
attach_all() {
    local c name args mnt loop
    for c in "${drives[@]}"; do
        IFS='|' read -r name args _ _ <<<"$c"
        mnt=$(mktemp -d /tmp/corvane-e2e.XXXXXX) || return 1
        mounts+=("$mnt")
        # shellcheck disable=SC2086 # the drive arguments are words
        "$fakeflash" "$mnt" --foreground $args &
        pids+=($!)
        for _ in $(seq 100); do [ -e "$mnt/disk" ] && break; sleep 0.1; done
        [ -e "$mnt/disk" ] || { echo "e2e parallel: fakeflash $args did not mount" >&2; return 1; }
        loop=$(losetup --direct-io=on -f --show "$mnt/disk") || return 1
        loops+=("$loop")
        if [ "$(losetup -n -O BACK-FILE "$loop" | sed 's/ *$//')" != "$mnt/disk" ]; then
            echo "e2e parallel: $loop is not the device of $mnt/disk" >&2
            return 1
        fi
    done
}

now() { echo "${EPOCHREALTIME/,/.}"; }
failures=0

# One after another.
attach_all || exit 1
declare -A seq_time seq_exit
t0=$(now)
for i in "${!drives[@]}"; do
    IFS='|' read -r name _ want_exit _ <<<"${drives[$i]}"
    s0=$(now)
    timeout -k 10 3600 "$cli" test "${loops[$i]}" --yes --allow-fixed "${mode[@]}" </dev/null >/dev/null 2>&1
    seq_exit[$name]=$?
    seq_time[$name]=$(awk -v a="$s0" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }')
    [ "${seq_exit[$name]}" = "$want_exit" ] || { echo "e2e parallel: FAIL $name alone: exit ${seq_exit[$name]} (want $want_exit)"; failures=$((failures + 1)); }
done
sequential=$(awk -v a="$t0" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }')
detach_all

# All four in one run, on fresh drives.
attach_all || exit 1
report=$(mktemp)
t0=$(now)
timeout -k 10 3600 "$cli" test "${loops[@]}" --yes --allow-fixed --json "${mode[@]}" </dev/null >"$report" 2>/dev/null
rc=$?
parallel=$(awk -v a="$t0" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }')
detach_all
[ "$rc" = 1 ] || { echo "e2e parallel: FAIL one run of four: exit $rc (want 1, the worst)"; failures=$((failures + 1)); }
got=$(python3 -c 'import json,sys; print(" ".join(d["test"]["verdict"]+":"+str(d["test"]["duration_seconds"]) for d in json.load(open(sys.argv[1]))["drives"]))' "$report")
rm -f "$report"
read -ra verdicts <<<"$got"

echo "| Drive | alone: exit | alone: time | in one run of four: verdict | in one run: time |"
echo "|---|---|---|---|---|"
for i in "${!drives[@]}"; do
    IFS='|' read -r name _ _ want <<<"${drives[$i]}"
    v=${verdicts[$i]%%:*}
    t=${verdicts[$i]#*:}
    [ "$v" = "$want" ] || { echo "e2e parallel: FAIL $name in one run: $v (want $want)"; failures=$((failures + 1)); }
    printf '| %s | %s | %s s | %s | %.2f s |\n' "$name" "${seq_exit[$name]}" "${seq_time[$name]}" "$v" "$t"
done
echo "e2e parallel: one after another $sequential s, all four in one run $parallel s (mode: ${mode[*]:-quick})"
if [ "$failures" -gt 0 ]; then
    echo "e2e parallel: $failures check(s) failed"
    exit 1
fi
echo "e2e parallel: all checks passed"

# Teardown steps the end-to-end scripts share: sourced, not run.

# Detaches loop device $1, retrying while the kernel still holds it.
detach_loop() {
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        losetup -d "$1" 2>/dev/null && return 0
        sleep 0.5
    done
    return 1
}

# Unmounts the FUSE file system at $1 if it is mounted, lazily when it stays busy.
unmount_fuse() {
    mountpoint -q "$1" || return 0
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        fusermount3 -u "$1" 2>/dev/null && return 0
        sleep 0.5
    done
    mountpoint -q "$1" && fusermount3 -uz "$1"
}

# Waits up to 5 s for process $1 to end (a FUSE daemon exits once unmounted), then stops it.
stop_daemon() {
    for _ in $(seq 50); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

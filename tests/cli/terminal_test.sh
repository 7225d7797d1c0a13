#!/usr/bin/env bash
# corvane-cli on a real terminal (a tmux pane of a given size): the status lines fit the width
# and are redrawn in place, one per drive; Ctrl-C at the confirmation cancels and nothing is
# written, also when y is typed afterwards; the confirmation is asked on the terminal when
# stdout is piped.  terminal_test.sh CORVANE_CLI
set -uo pipefail
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
command -v tmux >/dev/null || { echo "terminal test: tmux is not installed"; exit 1; }
work=$(mktemp -d)
sock="corvane-terminal-$$"
cleanup() {
    tmux -L "$sock" kill-server 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export TMPDIR=$work XDG_CONFIG_HOME=$work/config
failed=0
fail() {
    echo "FAIL $1"
    [ -n "${2:-}" ] && sed 's/^/  | /' <<<"$2"
    failed=1
}

long=stick-with-a-long-name-for-a-narrow-terminal
cat >"$work/bay.ini" <<INI
[$long]
size = 8GB
delay_us = 2000
[E:]
size = 8GB
delay_us = 2000
[F:]
size = 16GB
delay_us = 2000
INI

# start COLUMNS COMMAND: runs COMMAND in a fresh pane of that width; its exit code goes to
# $work/exit.
start() {
    tmux -L "$sock" kill-server 2>/dev/null
    rm -f "$work/exit"
    cat >"$work/run.sh" <<SH
cd '$work' && export TMPDIR='$work' XDG_CONFIG_HOME='$work/config'
set -o pipefail
$2
echo \$? > '$work/exit'
sleep 60
SH
    tmux -L "$sock" -f /dev/null new-session -d -x "$1" -y 40 "bash '$work/run.sh'"
}
screen() { tmux -L "$sock" capture-pane -p; }
# wait_for TEXT: until the pane shows TEXT (10 s at most).
wait_for() {
    for _ in $(seq 200); do
        screen | grep -qF -- "$1" && return 0
        sleep 0.05
    done
    return 1
}
wait_exit() {
    for _ in $(seq 200); do
        [ -s "$work/exit" ] && { cat "$work/exit"; return; }
        sleep 0.05
    done
    echo none
}

# Status lines: a line per running drive, inside the width, the same rows redrawn.
for width in 80 120; do
    start "$width" "CORVANE_SIM=bay.ini '$cli' test $long E: F: --yes --full"
    if ! wait_for "F:  write pass"; then
        fail "$width columns: no status line" "$(screen)"
        continue
    fi
    bad=""
    previous=""
    for _ in 1 2 3 4 5; do
        sleep 0.4
        shot=$(screen)
        for d in "${long:0:20}" "E:" "F:"; do
            n=$(grep -c "^$d.*  write pass" <<<"$shot")
            [ "$n" = 1 ] || bad+=$'\n'"$n status lines of $d"
        done
        # Each status line ends with the time left inside the width: a cut line may lose its
        # end, a wrapped one would leave its rest on the next row.
        while IFS= read -r l; do
            [ "${#l}" -lt "$width" ] || bad+=$'\n'"a status line of ${#l} characters"
        done < <(grep "  write pass" <<<"$shot")
        # The long name's line would be wider than 80 columns: it is cut, never wrapped.
        [ "$width" != 80 ] || ! grep -q "^${long:0:20}.*  write pass" <<<"$shot" ||
            [ "$(grep "^${long:0:20}.*  write pass" <<<"$shot" | wc -L)" = 79 ] ||
            bad+=$'\n'"the long status line is not cut at 79 characters"
        grep -q "^E:  write pass .* left$" <<<"$shot" || bad+=$'\n'"E:'s status line is cut"
        [ "$shot" != "$previous" ] || bad+=$'\n'"the screen did not change"
        previous=$shot
    done
    tmux -L "$sock" send-keys C-c
    code=$(wait_exit)
    shot=$(screen)
    [ "$code" = 2 ] || bad+=$'\n'"exit $code after Ctrl-C (want 2)"
    [ "$(grep -c "  write pass" <<<"$shot")" = 0 ] || bad+=$'\n'"a status line after the end"
    grep -q "^E: Stopped at block [0-9]* of 7629 of the write pass in " <<<"$shot" ||
        bad+=$'\n'"no closing line of E:"
    if [ -n "$bad" ]; then fail "$width columns:$bad" "$shot"; else echo "ok   status lines at $width columns"; fi
done

# Ctrl-C at the confirmation: cancelled, exit 3, and a y typed afterwards writes nothing. The
# drive is an image file, so what it holds afterwards can be compared.
image=$work/stick.img
head -c $((64 * 1024 * 1024)) /dev/urandom >"$image"
before=$(sha256sum <"$image")
# The reader of the pipe ignores Ctrl-C, as a pager would, so the pipeline's exit code is the
# program's.
for piped in "" " | (trap '' INT; cat)"; do
    start 100 "'$cli' test '$image' --allow-fixed$piped"
    if ! wait_for "Are you sure you want to continue? [y/N]"; then
        fail "Ctrl-C at the prompt$piped: no prompt" "$(screen)"
        continue
    fi
    shot=$(screen)
    tmux -L "$sock" send-keys C-c
    sleep 0.3
    tmux -L "$sock" send-keys y Enter
    code=$(wait_exit)
    shot=$(screen)
    bad=""
    [ "$code" = 3 ] || bad+=$'\n'"exit $code (want 3)"
    grep -qF "corvane-cli: cancelled; nothing was written" <<<"$shot" || bad+=$'\n'"no cancel message"
    grep -qF "Everything on this drive will be destroyed:" <<<"$shot" || bad+=$'\n'"the drive is not named"
    [ "$(sha256sum <"$image")" = "$before" ] || bad+=$'\n'"the image was written"
    if [ -n "$bad" ]; then fail "Ctrl-C at the prompt$piped:$bad" "$shot"; else echo "ok   Ctrl-C at the prompt$piped: nothing written"; fi
done
exit $failed

#!/usr/bin/env bash
# corvane.exe on a simulated bay under Wine and a virtual X display, driven by window_driver.exe
# as a person would use it, with screenshots of the screen checked pixel by pixel.
#   run.sh BITS corvane.exe window_driver.exe OUTPUT_DIR
# Exits 77 (skipped) when this machine cannot run Wine of that width or has no X server.
set -uo pipefail
bits=$1 exe=$2 driver=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
runner=$here/../../cmake/wine-run.sh

if [ -z "${DISPLAY:-}" ]; then
    if ! command -v xvfb-run >/dev/null; then
        echo "window test: xvfb-run is not installed; skipping" >&2
        exit 77
    fi
    # No window manager runs on this display, so Wine draws the windows without a caption.
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

loader=/usr/lib/wine/wine64
[ "$bits" = 32 ] && loader=/usr/lib/wine/wine
if ! "$loader" --version >/dev/null 2>&1; then
    echo "window test: this machine cannot run the ${bits}-bit Wine loader ($loader); skipping" >&2
    exit 77
fi

mkdir -p "$out"
work=$(mktemp -d)

# Wine's own desktop fills the display: without a window manager this is what draws the
# captions and frames, and paints the message boxes. Set for this prefix while the test runs.
desktop_key='HKCU\Software\Wine\Explorer'
"$runner" "$bits" reg add "$desktop_key" /v Desktop /d Default /f >/dev/null 2>&1
"$runner" "$bits" reg add "$desktop_key\Desktops" /v Default /d 1280x1024 /f >/dev/null 2>&1
failures=0
app_pid=
cleanup() {
    [ -n "${DRIVER_PID:-}" ] && kill "$DRIVER_PID" 2>/dev/null
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    "$runner" "$bits" reg delete "$desktop_key" /v Desktop /f >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

winpath() { printf 'Z:%s' "${1//\//\\}"; }

write_bay() {
    cat >"$work/bay.ini" <<'BAY'
; A genuine stick, a "16 GB" stick that wraps at 8 GiB (slow enough to watch its write pass),
; and a "2 TB" fake for a Full Test that is closed half-way.
[E:]
vendor = Kingston
product = DataTraveler 3.0
revision = PMAP
size = 1GB
free = 900MiB

[F:]
vendor = SanDisk
product = Cruzer Blade
revision = 1.00
size = 16GB
real = 8GiB
beyond = wrap
delay_us = 15000

[G:]
vendor = Generic
product = Mass Storage
size = 2TB
real = 32GiB
beyond = wrap
delay_us = 2000
BAY
}

fail() {
    echo "FAIL [$case_name]: $*" >&2
    failures=$((failures + 1))
}

# One command to the driver, its reply in $reply (without "ok ").
send() {
    if [ -z "${DRIVER_PID:-}" ] || ! kill -0 "$DRIVER_PID" 2>/dev/null; then
        reply="error the driver has ended"
        [ -z "${QUIET:-}" ] && fail "$*: the driver has ended (its errors: $(cat "$work/driver.log"))"
        return 1
    fi
    echo "$*" >&"${DRIVER[1]}"
    if ! IFS= read -r -t 90 reply <&"${DRIVER[0]}"; then
        reply="error the driver did not answer '$*'"
    fi
    reply=${reply%$'\r'}
    case $reply in
    ok) reply= ;;
    ok\ *) reply=${reply#ok } ;;
    *) [ -z "${QUIET:-}" ] && fail "$* -> $reply"; return 1 ;;
    esac
}
expect() { # expect WHAT WANTED GOT
    [ "$2" = "$3" ] || fail "$1: wanted '$2', got '$3'"
}

start_app() {
    CORVANE_SIM=$(winpath "$work/bay.ini") "$runner" "$bits" "$exe" >"$work/app.log" 2>&1 &
    app_pid=$!
    coproc DRIVER { "$runner" "$bits" "$driver" 2>"$work/driver.log"; }
    if ! send find 60000; then
        echo "--- the program's output:" >&2
        cat "$work/app.log" >&2
        return 1
    fi
}

# Waits up to $1 seconds for the application's process to end; its exit status in $app_status.
wait_app_end() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$app_pid" 2>/dev/null; do
        if [ $SECONDS -ge $deadline ]; then
            return 1
        fi
        sleep 0.2
    done
    wait "$app_pid"
    app_status=$?
    app_pid=
}

stop_driver() {
    [ -n "${DRIVER_PID:-}" ] || return 0
    echo quit >&"${DRIVER[1]}" 2>/dev/null
    wait "$DRIVER_PID" 2>/dev/null
}

# A screenshot of the whole display, and a copy cut to the main window ($window_crop).
shot() {
    xwd -root -silent | convert xwd:- "$out/$1.png"
    [ -n "${window_crop:-}" ] && convert "$out/$1.png" -crop "$window_crop" +repage "$out/$1-window.png"
}

# The colour at screen pixel x,y of a screenshot, as "r,g,b".
pixel() {
    convert "$out/$1.png" -format '%[fx:int(255*p{'"$2,$3"'}.r)],%[fx:int(255*p{'"$2,$3"'}.g)],%[fx:int(255*p{'"$2,$3"'}.b)]' info:
}

# Pixels of the map, at map coordinates from the graph control's client origin ($gx, $gy).
expect_map() { # SHOT X Y WANTED WHAT
    expect "$5 at map ($2,$3)" "$4" "$(pixel "$1" $((gx + $2)) $((gy + $3)))"
}

wait_text() { # ID TEXT-PREFIX SECONDS
    local deadline=$((SECONDS + $3))
    while :; do
        send text "$1" || return 1
        case $reply in "$2"*) return 0 ;; esac
        [ $SECONDS -ge $deadline ] && { fail "control $1: wanted '$2...', got '$reply'"; return 1; }
        sleep 0.2
    done
}

# The driver writes a line break inside a text as \n.
confirm_text='This test will destroy or corrupt data on the media.\n\nWhen complete you will be given the option to reformat it.'
genuine_text='Test Complete. No errors found.\n\nSize seems to be genuine.\n\nThis disk will now need reformatting.  Do you want to launch Micrsoft format?'

# --- the window opens -------------------------------------------------------------------------
case_name=opens
write_bay
start_app || exit 1
send geometry
read -r wl wt wr wb <<<"${reply%%|*}"
rest=${reply#*|}
read -r cw ch <<<"${rest%%|*}"
rest=${rest#*|}
caption=${rest#*|}
expect "window width" 830 $((wr - wl))
window_crop="$((wr - wl))x$((wb - wt))+$wl+$wt"
# 600 pixels and the caption's height (less 35 when it is 35 or more) high.
adj=$caption
[ "$caption" -ge 35 ] && adj=$((caption - 35))
expect "window height" $((600 + adj)) $((wb - wt))
send combo 1569
expect "combo" "3|0|(E:) Kingston DataTraveler 3.0 |(F:) SanDisk Cruzer Blade |(G:) Generic Mass Storage " "$reply"
send checked 1660; expect "Quick Test checked" 1 "$reply"
send checked 1661; expect "Full Test checked" 0 "$reply"
send enabled 1584; expect "Start Test enabled" 1 "$reply"
send enabled 1592; expect "Stop Test enabled" 0 "$reply"
# Timer 1 fills the panel about 100 ms after the list.
wait_text 1583 "E:" 10
send text 1198; expect "brand" "Kingston" "$reply"
send text 1199; expect "model" "DataTraveler 3.0" "$reply"
send text 1184; expect "interface" "USB" "$reply"
send text 1586; expect "max size" "1.00 GB" "$reply"
send text 1666; expect "title" "Flash Drive Error Test" "$reply"
# Every control where the window put it: the 15 rows of the right-hand column 27 pixels apart.
send geometry
origin=$(cut -d'|' -f3 <<<"$reply"); read -r ox oy <<<"$origin"
row=0
for pair in 1209:1583 1210:1198 1211:1199 1212:1590 1544:1184 1545:1585 1215:1586 1222:1587 \
    1223:1588 1224:1589 1225:1591 1226:1593 1227:1594 1546:1595 1549:1601; do
    for id in ${pair%:*} ${pair#*:}; do
        send rect "$id"
        read -r l t _ _ <<<"${reply%%|*}"
        x=526; [ "$id" = "${pair#*:}" ] && x=649
        expect "control $id position" "$x $((34 + 27 * row))" "$((l - ox)) $((t - oy))"
    done
    row=$((row + 1))
done
send rect 1568
read -r gl gt gr gb <<<"${reply%%|*}"
expect "map position and size" "16 20 506 485" "$((gl - ox)) $((gt - oy)) $((gr - gl)) $((gb - gt))"
read -r gx gy <<<"${reply#*|}"
sleep 0.5
shot window-open
# The grid with the default colours: frame and coarse lines (109,109,109), fine lines
# (54,54,54), a black background, no plot yet.
expect_map window-open 0 0 "109,109,109" "frame"
expect_map window-open 50 2 "109,109,109" "coarse column"
expect_map window-open 2 32 "109,109,109" "coarse row"
expect_map window-open 5 7 "54,54,54" "fine column"
expect_map window-open 7 5 "54,54,54" "fine row"
expect_map window-open 2 2 "0,0,0" "background"
# Dragging the border or maximising leaves the width at 830.
send resize 1000 700
send geometry
read -r wl wt wr wb <<<"${reply%%|*}"
expect "width after a resize" 830 $((wr - wl))

# --- the About item ---------------------------------------------------------------------------
case_name=about
# Wine gives no process the system menu of another one's window; where it does, the menu's
# last item is the About item. (The menu's contents are checked by the headless window tests.)
if QUIET=1 send sysmenu; then
    expect "last system menu item" "&About Corvane... 16" "${reply##*|}"
else
    echo "window test: the system menu cannot be read from another process here; its About command is sent instead"
fi
send syscommand 16
send box 10000; expect "About box caption" "About|" "$reply"
send boxitem 1541; expect "About title" "Corvane V1.0" "$reply"
send closebox

# --- a Quick Test of a wrapping fake ----------------------------------------------------------
case_name=quick-wrap
send select 1569 1
wait_text 1583 "F:" 10
send click 1584
send box 10000
expect "confirmation" "Are you sure you want to continue?|$confirm_text" "$reply"
send enabled 1584; expect "Start Test while asking" 0 "$reply"
send enabled 1592; expect "Stop Test while asking" 1 "$reply"
send answer 6
# The write pass: white plots spread over the map.
wait_text 1225 "Writing Sector" 10
sleep 1.2
send text 1227; expect "amount label while writing" "Amount Written" "$reply"
shot writing
expect_map writing 2 2 "255,255,255" "first plot while writing"
expect_map writing 5 2 "54,54,54" "fine line between plots"
send box 60000
expect "failure" "corvane|Verify Failure at 0.00 B The firstsector has been overwritten. Real size is probably 8.00 GB" "$reply"
# The window as the failure leaves it, once its box is answered: under Xvfb, Wine draws any
# window that lies over another one black, the boxes included (their texts are read above).
while QUIET=1 send box 500; do send answer 1 || break; done
sleep 0.5
shot failure
send text 1225; expect "label at the failure" "Verifying Sector" "$reply"
send text 1227; expect "amount label at the failure" "Amount Verified" "$reply"
send text 1591; expect "testing sector at the failure" "0" "$reply"
expect_map failure 0 0 "109,109,109" "frame at the failure"
# The verify pass cleared the write pass's plots and failed at its first block, which has its
# 75 plots (16 GB in 119 blocks over 8,925 squares) in the verify colour, and no more: the
# second row stays empty.
expect_map failure 2 2 "0,180,0" "the failing block's first plot"
expect_map failure 372 2 "0,180,0" "the failing block's 75th plot"
expect_map failure 2 7 "0,0,0" "the second row"
send enabled 1584; expect "Start Test after the failure" 1 "$reply"
send enabled 1592; expect "Stop Test after the failure" 0 "$reply"
wait_text 1621 "100% Complete" 10

# --- a genuine drive ends with the format offer -----------------------------------------------
case_name=genuine
send select 1569 0
wait_text 1583 "E:" 10
send click 1584
send box 10000; send answer 6
send box 60000
expect "genuine verdict" "Launch the formatter?|$genuine_text" "$reply"
send answer 7
send nobox 1500

# --- a drive added to the bay file and a device change ----------------------------------------
case_name=device-change
cat >>"$work/bay.ini" <<'BAY'

[H:]
vendor = Verbatim
product = Store n Go
size = 32GB
BAY
send devchange
send combo 1569
case $reply in
4\|*"(H:) Verbatim Store n Go "*) ;;
*) fail "after a device change: $reply" ;;
esac

# --- closing in the middle of a Full Test of a "2 TB" fake ------------------------------------
case_name=close-during-full
send select 1569 2
wait_text 1583 "G:" 10
send click 1661
send checked 1661; expect "Full Test checked" 1 "$reply"
send click 1584
send box 10000; send answer 6
wait_text 1225 "Writing Sector" 10
sleep 2
send close
send gone 10000
if wait_app_end 10; then
    expect "exit status after the close" 0 "$app_status"
else
    fail "the process did not end within 10 s of the close"
fi
stop_driver

# --- Escape during a Full Test ends the dialog without OnClose, and still waits for the worker --
case_name=escape-during-full
write_bay
start_app || exit 1
send select 1569 2
wait_text 1583 "G:" 10
send click 1661
send click 1584
send box 10000; send answer 6
wait_text 1225 "Writing Sector" 10
sleep 1
send key 27 1584 # VK_ESCAPE
send gone 10000
if wait_app_end 10; then
    expect "exit status after Escape" 0 "$app_status"
else
    fail "the process did not end within 10 s of Escape"
fi
stop_driver

echo "window test ($bits-bit): screenshots in $out"
if [ $failures -ne 0 ]; then
    echo "window test ($bits-bit): $failures failures" >&2
    exit 1
fi
echo "window test ($bits-bit): every case passed"

#!/usr/bin/env bash
# Kelvo at work on a simulated desktop, for a person to watch: a desktop server with its Dock and
# a few installed application bundles, three fixture applications with four windows (one with a
# quirk), Kelvo in test mode, and Kelvo's own shortcuts pressed one after another through
# `kelvo-sim key`. Then what Kelvo shows besides the tiles, driven as a person would through the
# desktop: the status item's menu, the cheat sheet, the switch display, the launcher going to an
# application that was not running, a new terminal window, the settings window (every tab, the
# search, one setting changed in config.json) and the guide walked to its end. Each step prints
# one line and what Kelvo logs for it, checks what a person would see change (the frames of the
# windows, the focus, the desktop shown, the elements of Kelvo's own windows), and saves a picture
# of the desktop with a caption under the output folder. At the end Kelvo, an accessory
# application again once its windows are closed, quits with windows parked on another desktop,
# and every window must be back on the display, none hidden behind another.
#
# usage: scripts/demo.sh [BUILD_DIR [OUTPUT_DIR]]   (defaults: build/run, build/demo)
#
# Every process the script starts is ended by its pid when it ends, whether the demo passed or
# failed. Waiting is polling with a bound; no step relies on a fixed pause.
set -euo pipefail

build=${1:-build/run}
out=${2:-build/demo}
sim_program="$build/bin/kelvo-sim"
fixture="$build/bin/kelvo-fixture"
kelvo="$build/bin/KelvoApp"
# How long one wait may take before the demo gives up (in tenths of a second).
bound=${KELVO_DEMO_BOUND:-300}

for program in "$sim_program" "$fixture" "$kelvo"; do
    if [ ! -x "$program" ]; then
        echo "demo: $program is not built (make demo builds it)" >&2
        exit 2
    fi
done
if ! command -v jq >/dev/null; then
    echo "demo: jq is missing (scripts/install-deps.sh installs it)" >&2
    exit 2
fi

# The demo's own calls of kelvo-sim only ask and tell the desktop, verbs the suites check for
# leaks; in a sanitised build the leak check at each call's exit, matching the font library's
# caches against their suppression, would take most of a step's time. The desktop and Kelvo keep
# theirs.
quick_client="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
sim() { ASAN_OPTIONS=$quick_client "$sim_program" "$@"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvo-demo.XXXXXX")
mkdir -p "$out"
rm -f "$out"/*.png
export KELVO_SIM_SOCKET="$work/desktop.sock"
# The sanitizers of a test build report their suppressions at exit; a person watching the demo
# does not need them.
export LSAN_OPTIONS=${LSAN_OPTIONS:-print_suppressions=0}
log="$work/kelvo/kelvo.log"
started=()

# Ends what is still running of what this script started, by pid. A pid is only signalled while
# it is still this shell's child, so a pid the system has handed on is never touched.
end_processes() {
    local pid
    for pid in "${started[@]}"; do
        if [ "$(awk '{print $4}' "/proc/$pid/stat" 2>/dev/null)" = "$$" ]; then
            kill -KILL "$pid" 2>/dev/null || true
        fi
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap end_processes EXIT
# A write to a program that has gone fails instead of ending the script unreported.
trap '' PIPE
trap 'exit 130' INT
trap 'exit 143' TERM

fail() {
    echo "demo: FAILED: $*" >&2
    if [ -f "$log" ]; then
        echo "demo: the end of Kelvo's log:" >&2
        tail -n 20 "$log" | sed 's/^/    /' >&2
    fi
    if [ -s "$work/kelvo.err" ]; then
        echo "demo: what Kelvo wrote on standard error:" >&2
        tail -n 20 "$work/kelvo.err" | sed 's/^/    /' >&2
    fi
    exit 1
}

source "$(dirname "$0")/eventually.sh"

# --- processes spoken to over their standard input and output -------------------------------

declare -A input output pid_of

# Starts a program whose standard input and output are pipes this script holds open.
start_talking() {
    local name=$1
    shift
    mkfifo "$work/$name.in" "$work/$name.out"
    "$@" <"$work/$name.in" >"$work/$name.out" 2>>"$work/$name.err" &
    pid_of[$name]=$!
    started+=("$!")
    local to from
    exec {to}>"$work/$name.in"
    exec {from}<"$work/$name.out"
    input[$name]=$to
    output[$name]=$from
}

# Sends one request line and prints the one reply line.
ask() {
    local name=$1 request=$2 reply
    printf '%s\n' "$request" >&"${input[$name]}" 2>/dev/null || fail "$name no longer reads requests"
    if ! read -r -t $((bound / 10)) reply <&"${output[$name]}"; then
        fail "$name gave no reply to $request"
    fi
    printf '%s\n' "$reply"
}

# Waits up to the bound for a process of this script to end and sets `status` to its exit
# status. It must run in this shell, not in a subshell, to wait for its own child.
has_ended() { [ ! -e "/proc/$1" ] || [ "$(awk '/^State/{print $2}' "/proc/$1/status" 2>/dev/null)" = Z ]; }
wait_for_end() {
    eventually has_ended "$1" || fail "process $1 did not end"
    status=0
    wait "$1" || status=$?
}

# --- the desktop -----------------------------------------------------------------------------

windows() { sim windows; }
desktop_answers() { sim displays >/dev/null 2>&1; }

# The windows' numbers and frames, front to back; equal twice in a row when nothing moves.
frames() { windows | jq -c '[.number, .frame, .minimized]' | sort; }
settled() {
    local first second
    first=$(frames)
    sleep 0.15
    second=$(frames)
    [ "$first" = "$second" ]
}

# The numbers of the applications' windows, as the fixtures gave them, in opening order.
numbers=()

open_window() {
    local app=$1 quirk=$2 title=$3 x=$4 y=$5 width=$6 height=$7 reply
    reply=$(ask "$app" "{\"height\":$height,\"op\":\"open\",\"quirk\":\"$quirk\",\"title\":\"$title\",\"width\":$width,\"x\":$x,\"y\":$y}")
    jq -e '.ok' <<<"$reply" >/dev/null || fail "$app could not open a window: $reply"
    numbers+=("$(jq -r '.window' <<<"$reply")")
}

# --- what a person sees ----------------------------------------------------------------------

# Everything a step's check looks at, as one JSON object: the display, every application
# window as the desktop shows it (by number), and, while Kelvo runs, its state for them.
kelvo_running=0
scene() {
    local ids state='null'
    ids=$(printf '%s\n' "${numbers[@]}" | jq -s -c '.')
    if [ "$kelvo_running" -eq 1 ]; then
        state=$(ask kelvo "{\"ids\":$ids,\"op\":\"state\"}")
    fi
    jq -n -c --argjson ids "$ids" --argjson state "$state" \
        --slurpfile windows <(windows) --slurpfile displays <(sim displays) '
        {display: $displays[0],
         windows: ($windows | map(select(.number as $n | $ids | index($n)))
                   | map({key: (.number | tostring), value: .}) | from_entries),
         order: ($windows | map(.number) | map(select(. as $n | $ids | index($n)))),
         state: $state,
         records: (if $state == null then {} else
                   $state.windows | map({key: (.id | tostring), value: .}) | from_entries end)}'
}

# What the checks share, over a scene `$s` (and the scene before the step, `$before`):
# frames equal within a point, a window parked in the corner or shown on the display, where
# the layout wants it, the focused window, the floating ones, the windows of the desktop
# shown, and whether a window in front hides the name in another's title bar.
checks_prelude='
def abs: if . < 0 then -. else . end;
def near($a; $b): [$a.x - $b.x, $a.y - $b.y, $a.width - $b.width, $a.height - $b.height]
    | map(abs) | max <= 1;
def frame($s; $n): $s.windows[$n | tostring].frame;
def parked($s; $n): $s.display.frame as $d | frame($s; $n) as $f
    | ($f.x >= $d.x + $d.width - 101) and ($f.y >= $d.y + $d.height - 101);
def shown($s; $n): $s.display.visibleFrame as $v | frame($s; $n) as $f
    | ($f.x + $f.width / 2) as $cx | ($f.y + $f.height / 2) as $cy
    | $cx >= $v.x and $cx < $v.x + $v.width and $cy >= $v.y and $cy < $v.y + $v.height
      and ($s.windows[$n | tostring].minimized | not);
def record($s; $n): $s.records[$n | tostring];
def atLayout($s; $n): record($s; $n).frame != null and near(frame($s; $n); record($s; $n).frame);
def floating($s; $n): record($s; $n).floating;
def focused($s): $s.state.focused;
def ids($s): $s.windows | keys | map(tonumber);
def onDesktop($s; $d): ids($s) | map(select(record($s; .).desktop == $d));
def tiles($s): onDesktop($s; $s.state.activeDesktop) | map(select(floating($s; .) | not));
def overlap($a; $b): ($a.x < $b.x + $b.width - 1) and ($b.x < $a.x + $a.width - 1)
    and ($a.y < $b.y + $b.height - 1) and ($b.y < $a.y + $a.height - 1);
def tiledSideBySide($s): tiles($s) as $t
    | ($t | all(atLayout($s; .) and shown($s; .)))
      and ([$t[] as $a | $t[] | select(. > $a) as $b | overlap(frame($s; $a); frame($s; $b))]
           | any | not);
def others($s): ids($s) | map(select(. != focused($s)));
def nameStrip($s; $n): frame($s; $n) | {x, y, width: ([.width, 250] | min), height: 22};
def titlesVisible($s): $s.order as $o
    | [range(0; $o | length) as $i | $o[$i] as $w | select(shown($s; $w))
       | $o[0:$i][] | select(shown($s; .)) | overlap(nameStrip($s; $w); frame($s; .))]
    | any | not;
'

# Holds when the jq program `$1` is true of the scene before (`$before`) and after (`$s`).
holds() {
    jq -n -e --argjson before "$before" --argjson s "$after" "$checks_prelude $1" >/dev/null
}

# The title of window `$1` as the picture names it: its application and its title.
title_of() {
    jq -r --arg n "$1" '.windows[$n] | (.bundleID | split(".") | last) as $app
        | "\($app[0:1] | ascii_upcase)\($app[1:]) — \(.title)"' <<<"$after"
}

# --- Kelvo's log -----------------------------------------------------------------------------

log_lines() { [ -f "$log" ] && wc -l <"$log" || echo 0; }
# The messages logged after line $1, without their timestamps.
log_after() { [ -f "$log" ] && tail -n +"$(($1 + 1))" "$log" | cut -c26- || true; }
logged_after() { log_after "$1" | grep -q -- "$2"; }
# The messages `$2…` appear in this order among the lines logged after line `$1`. The log is
# written out up to half a second after a line is logged, so a step that prints what Kelvo
# logged for it first waits for the last line it expects.
logged_in_order() {
    local from=$1
    shift
    log_after "$from" | awk -v patterns="$(printf '%s\n' "$@")" '
        BEGIN { n = split(patterns, p, "\n"); i = 1 }
        i <= n && $0 ~ p[i] { i++ }
        END { exit !(i > n) }'
}

# --- the steps -------------------------------------------------------------------------------

step_number=0
mark=0
before='{}'
after='{}'

# The caption under a step's picture: the step, the desktop shown and the focused window.
caption() {
    local text="$step_number. $1"
    if [ "$kelvo_running" -eq 1 ]; then
        text+="   ·   desktop $(jq -r '.state.activeDesktop' <<<"$after") shown"
        local focus
        focus=$(jq -r '.state.focused // empty' <<<"$after")
        if [ -n "$focus" ] && jq -e --arg n "$focus" '.windows[$n]' <<<"$after" >/dev/null; then
            text+="   ·   focus: $(title_of "$focus")"
        fi
    else
        text+="   ·   Kelvo is not running"
    fi
    printf '%s' "$text"
}

# Prints the step's line and what Kelvo logged for it, and saves the desktop's picture (or moves
# there the picture `$2`, taken at the moment the step had to catch).
report() {
    local title=$1 taken=${2:-}
    step_number=$((step_number + 1))
    local picture
    local name
    name=$(sed 's/⌘/cmd-/g; s/⌃/ctrl-/g; s/⌥/alt-/g; s/⇧/shift-/g; s/↩/return/g' <<<"${title,,}" |
        tr -c 'a-z0-9\n' '-' | sed 's/--*/-/g; s/^-//; s/-$//' | cut -c1-80 | sed 's/-$//')
    picture=$(printf '%s/%02d-%s.png' "$out" "$step_number" "$name")
    if [ -n "$taken" ]; then
        mv "$taken" "$picture"
    else
        sim screenshot "$picture" --caption "$(caption "$title")" ||
            fail "no screenshot for step $step_number"
    fi
    printf '%2d. %s\n' "$step_number" "$title"
    # Kelvo logs a command with the focus it found before it acted; the picture shows the focus
    # after it, so the line says which is which and the focus after follows it.
    local logged
    logged=$(log_after "$mark" |
        grep -E '^(cmd |adopt|  desktops: |  active=|launcher: |newTerminal: |settings window |guide )' |
        sed 's/^\(cmd .*\)  focused=/\1  focused before it: /' || true)
    [ -z "$logged" ] || sed 's/^/      /' <<<"$logged"
    if grep -q '^cmd ' <<<"$logged" && [ -n "$(focus_after)" ]; then
        echo "      focused after it: $(focus_after)"
    fi
    mark=$(log_lines)
}

# The window focused after the step, named as Kelvo's log names a window.
focus_after() {
    [ "$kelvo_running" -eq 1 ] || return 0
    jq -r '.state.focused as $n | if $n == null then empty
        else .windows[$n | tostring] | select(. != null) | "win#\($n) \(.bundleID)" end' <<<"$after"
}

# Runs `$@` (a change a person makes, which waits until Kelvo has taken it in) and waits until
# the windows have come to rest where `check` says they must, against the scenes before and
# after; then reports the step. Windows at rest for a moment are not yet where they end up: a
# write that did not land is tried again later.
step() {
    local title=$1 check=$2 what=$3
    shift 3
    before=$(scene)
    "$@" || fail "$title: $* failed"
    at_rest_as_promised() { settled && after=$(scene) && holds "$check"; }
    eventually at_rest_as_promised ||
        fail "$title: $what did not happen. Before: $before After: $after"
    holds 'titlesVisible($s)' || fail "$title: a window hides another's title. After: $after"
    report "$title"
}

# Presses a chord; Kelvo has taken it in once it has logged its state after it.
press() {
    local lines
    lines=$(log_lines)
    sim key "$1" || fail "kelvo-sim key $1"
    eventually logged_after "$lines" '^  active=' || fail "$1: Kelvo logged no state"
}
# Kelvo has adopted a new window after line `$1` and logged its state after that.
adopted_after() {
    eventually logged_in_order "$1" '^adopt win#' '^  active=' || fail "the new window was not adopted"
}
# The application of window `$2` moves it itself, as a person dragging it would.
moved_by_app() {
    local reply
    reply=$(ask "$1" "{\"op\":\"move\",\"window\":$2,\"x\":$3,\"y\":$4,\"width\":$5,\"height\":$6}")
    jq -e '.ok' <<<"$reply" >/dev/null
}
quit_kelvo() {
    local reply
    reply=$(ask kelvo '{"op":"quit"}')
    [ "$reply" = '{"ok":true}' ] || fail "Kelvo's reply to quit: $reply"
    wait_for_end "${pid_of[kelvo]}"
    [ "$status" -eq 0 ] || fail "Kelvo exited with status $status"
    kelvo_running=0
}

# --- Kelvo's own interface -------------------------------------------------------------------

# Every element of Kelvo's visible windows, one JSON object a line, as the desktop lists them.
own_ui() { sim ui --pid "${pid_of[kelvo]}"; }
# Holds when one of Kelvo's elements satisfies the jq condition `$1`.
own_ui_has() { own_ui | jq -e -s "any(.[]; $1)" >/dev/null; }
# The middle of the first of Kelvo's elements that satisfies `$1`, as "X Y" for `kelvo-sim click`.
middle_of() {
    own_ui | jq -r -s "map(select($1))[0] // empty
        | \"\\(.frame.x + .frame.width / 2 | floor) \\(.frame.y + .frame.height / 2 | floor)\""
}
# Clicks the middle of the element that satisfies `$1`, once the desktop lists it.
click_on() {
    local where
    eventually own_ui_has "$1" || fail "Kelvo shows no element where $1"
    where=$(middle_of "$1")
    # shellcheck disable=SC2086
    sim click $where
}
label_shown() { own_ui_has ".label == \"$1\""; }
named() { own_ui_has ".identifier == \"$1\""; }

# Kelvo's activation policy as the desktop reports it: 0 regular (a Dock icon), 1 accessory.
policy_is() {
    sim apps | jq -e -s --argjson pid "${pid_of[kelvo]}" --argjson policy "$1" \
        'any(.[]; .pid == $pid and .activationPolicy == $policy)' >/dev/null
}
# The number of Kelvo's window of that title while it is on screen.
own_window() {
    windows | jq -r --argjson pid "${pid_of[kelvo]}" --arg title "$1" \
        'select(.pid == $pid and .title == $title and .onScreen) | .number'
}
window_up() { [ -n "$(own_window "$1")" ]; }
window_gone() { [ -z "$(own_window "$1")" ]; }

# The status item's menu, opened with a right click on the item, as a person opens it.
menu_open() { [ -n "$(sim menu)" ]; }
open_status_menu() {
    local where
    where=$(sim statusitems | jq -r --argjson pid "${pid_of[kelvo]}" 'select(.pid == $pid)
        | "\(.frame.x + .frame.width / 2 | floor) \(.frame.y + .frame.height / 2 | floor)"')
    [ -n "$where" ] || fail "Kelvo has no status item"
    # shellcheck disable=SC2086
    sim click $where --right && eventually menu_open
}
pick_from_status_menu() { open_status_menu && sim menu pick "$1"; }

# What a step on Kelvo's own windows shows in its caption: the desktop shown and the focus.
glance() {
    local ids state
    ids=$(printf '%s\n' "${numbers[@]}" | jq -s -c '.')
    state=$(ask kelvo "{\"ids\":$ids,\"op\":\"state\"}")
    after=$(jq -n -c --argjson state "$state" --slurpfile windows <(windows) --argjson ids "$ids" '
        {state: $state,
         windows: ($windows | map(select(.number as $n | $ids | index($n)))
                   | map({key: (.number | tostring), value: .}) | from_entries)}')
}
# A step on Kelvo's own windows: `$@` acts and waits until what it promises shows; no
# application window moves, so the picture follows at once.
show_step() {
    local title=$1
    shift
    "$@" || fail "$title: $* failed"
    glance
    report "$title"
}

# The configuration file as it is now, `{}` while there is none.
config_now() { if [ -f "$work/kelvo/config.json" ]; then cat "$work/kelvo/config.json"; else echo '{}'; fi; }
config_says() { config_now | jq -e "$1" >/dev/null 2>&1; }
# The keys whose values differ between two configurations, each as "key: old → new".
config_changes() {
    jq -n -r --argjson old "$1" --argjson new "$2" '($old + $new) | keys[]
        | select($old[.] != $new[.]) | "\(.): \($old[.] | tojson) → \($new[.] | tojson)"'
}

# An application bundle in the machine's "/Applications", as the launcher finds them: its
# information dictionary and, as its executable, a fixture application that opens one window
# when it is launched and stays up until it is asked to quit.
install_bundle() {
    local bundle_id=$1 name=$2
    local contents="$work/root/Applications/$name.app/Contents"
    mkdir -p "$contents/MacOS" "$contents/Resources"
    cat >"$contents/Info.plist" <<PLIST
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>CFBundleIdentifier</key>
	<string>$bundle_id</string>
	<key>CFBundleName</key>
	<string>$name</string>
	<key>CFBundleExecutable</key>
	<string>$name</string>
</dict>
</plist>
PLIST
    printf '#!/bin/sh\nexec %q --bundle\n' "$(realpath "$fixture")" >"$contents/MacOS/$name"
    chmod +x "$contents/MacOS/$name"
}
install_bundle com.example.calendar Calendar
install_bundle com.example.mail Mail
install_bundle com.example.maps Maps
# The terminal that the new-terminal shortcut finds installed; it does not run until then.
install_bundle com.apple.Terminal Terminal

dock_runs() { sim apps | jq -e -s 'any(.bundleID == "com.apple.dock")' >/dev/null; }

echo "Kelvo demo: pictures go to $out/"

"$sim_program" serve --socket "$KELVO_SIM_SOCKET" --display 1920x1080 --root "$work/root" --dock \
    2>"$work/serve.err" &
server=$!
started+=("$server")
eventually desktop_answers || fail "the desktop did not start"
eventually dock_runs || fail "the desktop's Dock did not start"

start_talking notes "$fixture" --bundle-id com.example.notes --name Notes
start_talking browser "$fixture" --bundle-id com.example.browser --name Browser
# A fixture that stands for a shell's window, named apart from the terminal that ⌥↩ launches.
start_talking shell "$fixture" --bundle-id com.example.shell --name Shell
for app in notes browser shell; do
    ask "$app" '{"op":"ping"}' >/dev/null
done
open_window notes plain "Shopping list" 120 120 700 500
open_window notes plain "Ideas" 300 260 640 480
# This application keeps its windows at least 480 by 360 points, whatever it is asked.
open_window browser clampsSize "Start page" 520 180 900 640
window_count_is() { [ "$(windows | wc -l)" -eq "$1" ]; }
eventually window_count_is 3 || fail "the fixture windows did not open"
after=$(scene)
report "Three windows of two applications, before Kelvo runs"

mkdir -p "$work/kelvo"
start_talking_kelvo() {
    start_talking kelvo env KELVO_TEST_CONFIG_DIR="$work/kelvo" "$kelvo"
    local reply
    reply=$(ask kelvo '{"op":"ping"}')
    jq -e '.ok' <<<"$reply" >/dev/null || fail "Kelvo did not answer ping: $reply"
    kelvo_running=1
    eventually logged_in_order 0 '^adopted ' '^  active=' || fail "Kelvo adopted no windows"
}
step "Kelvo starts and tiles them side by side on desktop 1" \
    'tiledSideBySide($s) and (tiles($s) | length) == 3 and $s.state.activeDesktop == 1' \
    "tiling the three windows" start_talking_kelvo

open_shell() {
    local lines
    lines=$(log_lines)
    open_window shell plain "Session" 200 200 800 500
    adopted_after "$lines"
}
step "A shell window opens and takes a tile of its own" \
    'tiledSideBySide($s) and (tiles($s) | length) == 4 and ($before.windows | length) == 3' \
    "a fourth tile" open_shell
shell=${numbers[3]}

step "⌥L moves the focus to the window on the right" \
    'focused($s) != focused($before) and frame($s; focused($s)).x > frame($s; focused($before)).x
     and (ids($s) | all(near(frame($s; .); frame($before; .))))' \
    "the focus moving right with no window moving" press alt+l

step "⌥⇧H swaps the focused window with the one on its left" \
    'focused($s) as $f | frame($before; $f) as $old
     | [others($before)[] | select(near(frame($before; .); frame($s; $f)))] as $swapped
     | $f == focused($before) and frame($s; $f).x < $old.x and ($swapped | length) == 1
       and near(frame($s; $swapped[0]); $old) and tiledSideBySide($s)' \
    "the swap" press alt+shift+h

step "⌃⌥L moves the edge it shares with its neighbour to the right" \
    'frame($s; focused($s)) as $new | frame($before; focused($s)) as $old
     | ($new.x > $old.x + 1 or $new.x + $new.width > $old.x + $old.width + 1)
       and tiledSideBySide($s)' \
    "the edge moving right" press ctrl+alt+l

step "⌥F lets the focused window fill the desktop" \
    'near(frame($s; focused($s)); $s.display.visibleFrame)
     and (others($s) | all(parked($s; .)))' \
    "the window filling the desktop with the others parked" press alt+f

step "⌥F again puts it back in its tile" \
    '(near(frame($s; focused($s)); $s.display.visibleFrame) | not)
     and tiledSideBySide($s) and (tiles($s) | length) == 4' \
    "every window back in its tile" press alt+f

step "⌥J moves the focus down to the shell window" \
    'focused($s) != focused($before) and frame($s; focused($s)).y > frame($s; focused($before)).y
     and (ids($s) | all(near(frame($s; .); frame($before; .))))' \
    "the focus moving down with no window moving" press alt+j

step "⌥V floats it: it stays where it is, and the window above reaches down behind it" \
    'floating($s; focused($s)) and near(frame($s; focused($s)); frame($before; focused($s)))
     and tiledSideBySide($s) and (tiles($s) | length) == 3
     and (others($s) | any(near(frame($s; .); frame($before; .)) | not))' \
    "floating the window" press alt+v
floater=$(jq -r '.state.focused' <<<"$after")
floater_app=$(jq -r --arg n "$floater" '.windows[$n].bundleID | split(".") | last | ascii_downcase' <<<"$after")
# Where the floating window goes: over the body of the left-hand tiles, clear of every title.
floated='{x: 180, y: 300, width: 600, height: 420}'

step "Floating, it goes wherever its application puts it, over the tiles" \
    "near(frame(\$s; $floater); $floated) and floating(\$s; $floater) and tiledSideBySide(\$s)
     and (others(\$s) | all(near(frame(\$s; .); frame(\$before; .))))" \
    "the floating window moving over the tiles" moved_by_app "$floater_app" "$floater" 180 300 600 420

step "⌥⇧M lays the tiles of desktop 1 out as one main window and a stack" \
    'tiledSideBySide($s) and (tiles($s) | map(frame($s; .)) as $f
        | ($f | map(.x) | unique | length) == 2
          and ($f | map(select(.x == ($f | map(.x) | min))) | length) == 1)
     and near(frame($s; focused($s)); frame($before; focused($s)))' \
    "the main window and the stack" press alt+shift+m

step "⌥⇧2 sends the floating window to desktop 2" \
    "record(\$s; $floater).desktop == 2 and parked(\$s; $floater)
     and tiledSideBySide(\$s) and (tiles(\$s) | length) == 3" \
    "the floating window leaving desktop 1" press alt+shift+2

step "⌥2 shows desktop 2: its window floats alone, desktop 1's windows are parked" \
    "\$s.state.activeDesktop == 2 and shown(\$s; $floater)
     and near(frame(\$s; $floater); $floated)
     and (onDesktop(\$s; 1) | all(parked(\$s; .)))" \
    "desktop 2 with its window" press alt+2

step "⌥1 brings desktop 1 back; desktop 2's window waits parked" \
    "\$s.state.activeDesktop == 1 and parked(\$s; $floater) and tiledSideBySide(\$s)
     and (tiles(\$s) | length) == 3" \
    "desktop 1's windows coming back" press alt+1

# --- what Kelvo shows besides the tiles --------------------------------------------------------

menu_lists_its_entries() {
    open_status_menu || return 1
    local titles
    titles=$(sim menu | jq -r 'if .separator then "—" else .title end' | paste -sd '|')
    [ "$titles" = "Settings…|Guide…|Shortcuts   ⌥/|Rebalance|—|Quit Kelvo" ] ||
        fail "the status menu lists $titles"
    menu_line="      the menu: ${titles//|/ · }"
}
show_step "A right click on Kelvo's status item opens its menu" menu_lists_its_entries
echo "$menu_line"

cheat_sheet_up() { label_shown "again to close" && label_shown "Go to desktop 1 – 9"; }
# The sheet's scrolling part, and its last row (the launcher's, in the last section).
cheat_sheet_area() { own_ui | jq -c -s 'map(select(.role == "scrollArea"))[0].frame // empty'; }
last_row() {
    own_ui | jq -c -s 'map(select(.label | startswith("Find an application by name")))[0].frame // empty'
}
# Holds when the jq condition `$1` holds of the scroll area `$a` and the last row `$r`.
last_row_is() {
    local area row
    area=$(cheat_sheet_area)
    row=$(last_row)
    [ -n "$area" ] && [ -n "$row" ] && jq -n -e --argjson a "$area" --argjson r "$row" "$1" >/dev/null
}
below_the_fold='$r.y >= $a.y + $a.height'
in_view='$r.y >= $a.y and $r.y + $r.height <= $a.y + $a.height'
cheat_sheet_from_menu() {
    sim menu pick "Shortcuts   ⌥/" && eventually cheat_sheet_up || return 1
    last_row_is "$below_the_fold" || fail "the cheat sheet's last row is not below the fold"
}
show_step "Shortcuts in the menu puts the cheat sheet up: its first sections, the last below the fold" \
    cheat_sheet_from_menu

scroll_cheat_sheet() {
    local area
    area=$(cheat_sheet_area)
    # shellcheck disable=SC2046
    sim scroll $(jq -r '"\(.x + .width / 2 | floor) \(.y + .height / 2 | floor)"' <<<"$area") 2000 &&
        eventually last_row_is "$in_view"
}
show_step "The scroll wheel over the cheat sheet brings its last sections into view" scroll_cheat_sheet

cheat_sheet_gone() { ! label_shown "again to close"; }
cheat_sheet_away() { press alt+/ && eventually cheat_sheet_gone; }
show_step "⌥/ puts the cheat sheet away" cheat_sheet_away

# The switch display is up for under a second, so its picture waits for the number to show,
# and the key is pressed only once that wait has reached the desktop.
switch_display_caught() {
    local title=$1 shot
    ASAN_OPTIONS=$quick_client "$sim_program" screenshot "$work/switch.png" --showing 3 \
        --within $((bound / 10)) \
        --caption "$((step_number + 1)). $title   ·   desktop 3 shown" >"$work/switch.out" &
    shot=$!
    started+=("$shot")
    eventually grep -qs '^waiting for 3$' "$work/switch.out" || fail "the picture's wait did not start"
    press alt+3
    wait "$shot" || fail "the switch display did not show desktop 3's number"
}
title="⌥3 shows the empty desktop 3 with the switch display up; the other windows are parked"
before=$(scene)
switch_display_caught "$title"
eventually settled || fail "$title: the windows did not come to rest"
after=$(scene)
holds '$s.state.activeDesktop == 3 and (ids($s) | all(parked($s; .)))' ||
    fail "$title: desktop 3 did not show with every window parked. After: $after"
report "$title" "$work/switch.png"

running() { sim apps | jq -e -s --arg id "$1" 'any(.[]; .bundleID == $id)' >/dev/null; }
launcher_narrowed() {
    own_ui_has '.role == "textField" and .value == "map"' && label_shown "Maps" &&
        ! label_shown "Calendar"
}
open_launcher() {
    running com.example.maps && fail "Maps runs before the launcher opens it"
    press alt+space
    eventually label_shown "Calendar" || fail "the launcher did not list the installed applications"
    sim type map && eventually launcher_narrowed
}
show_step "⌥Space opens the launcher; typing \"map\" narrows it to Maps, which is not running" \
    open_launcher

windows_of() { windows | jq -r --arg id "$1" 'select(.bundleID == $id) | .number'; }
has_windows() { [ "$(windows_of "$1" | wc -l)" -eq "$2" ]; }
launch_maps() {
    sim key return || return 1
    eventually has_windows com.example.maps 1 || fail "Maps opened no window"
    maps=$(windows_of com.example.maps)
    numbers+=("$maps")
    eventually logged_after "$mark" '^launcher: launching com.example.maps' ||
        fail "Kelvo did not log the launch"
    adopted_after "$mark"
    sim apps | jq -e -s --arg bundle "$work/root/Applications/Maps.app" \
        'any(.[]; .bundleID == "com.example.maps" and (.executablePath | startswith($bundle)))' \
        >/dev/null || fail "Maps did not run from its bundle"
}
step "Return launches Maps from its bundle, and its window takes desktop 3" \
    "tiledSideBySide(\$s) and (tiles(\$s) | length) == 1 and \$s.state.activeDesktop == 3" \
    "Maps tiled on desktop 3" launch_maps

new_terminal_window() {
    local lines
    lines=$(log_lines)
    sim key alt+return || return 1
    eventually logged_after "$lines" \
        "^newTerminal: com.apple.Terminal — its activation is Kelvo's own and will be consumed" ||
        fail "Kelvo did not turn to the terminal"
    eventually has_windows com.apple.Terminal 1 || fail "the terminal opened no window"
    terminal_window=$(windows_of com.apple.Terminal)
    numbers+=("$terminal_window")
    adopted_after "$lines"
}
step "⌥↩ opens a new terminal window: Kelvo launches the terminal from its bundle" \
    "tiledSideBySide(\$s) and (tiles(\$s) | length) == 2 and \$s.state.activeDesktop == 3" \
    "a second tile for the terminal's new window" new_terminal_window

open_settings() {
    pick_from_status_menu "Settings…" || return 1
    eventually window_up "Kelvo Settings" || fail "the settings window did not open"
    eventually named desktopCount || fail "the settings window does not show its General tab"
    eventually policy_is 0 || fail "Kelvo did not take a Dock icon for its window"
    eventually logged_after "$mark" '^settings window opened on desktop ' ||
        fail "Kelvo did not log the settings window opening"
}
show_step "Settings… in the status menu opens the settings window; Kelvo is in the Dock while it is open" \
    open_settings

# Each tab's button in the sidebar, and a row that only that tab shows.
visit_tab() {
    click_on ".identifier == \"tab.$1\"" && eventually named "$2"
}
for tab in "Tiling tiling defaultLayoutMode" "Focus focus focusBorder" \
    "Shortcuts shortcuts primaryModifier" "Launcher launcher showLauncher" \
    "System system tweak.windowAnimations" "About about version" "General general desktopCount"; do
    read -r name id row <<<"$tab"
    show_step "The settings window's $name tab, clicked in its sidebar" visit_tab "$id" "$row"
done

search_found() {
    own_ui_has '.role == "textField" and .value == "app name"' &&
        label_shown "Focused app in the menu bar" && label_shown "General › Menu bar"
}
search_settings() { sim key cmd+k && sim type "app name" && eventually search_found; }
show_step "⌘K and typing \"app name\" find a setting" search_settings

# The switch inside the row of that identifier.
switch_of() {
    own_ui | jq -r -s --arg row "$1" '(map(select(.identifier == $row))[0].frame) as $r
        | map(select(.role == "switch" and (.frame.y + .frame.height / 2) > $r.y
                     and (.frame.y + .frame.height / 2) < $r.y + $r.height))[0] // empty
        | "\(.frame.x + .frame.width / 2 | floor) \(.frame.y + .frame.height / 2 | floor) \(.value)"'
}
search_closed() { ! own_ui_has '.label == "General › Menu bar"' && named focusedAppInMenuBar; }
config_before=""
change_setting() {
    sim key return && eventually search_closed || fail "Return did not open the found setting"
    config_before=$(config_now)
    # The page scrolls the found row into view, so its switch is clicked once it has stopped.
    local x y value switch
    switch_at_rest() {
        local first
        first=$(switch_of focusedAppInMenuBar)
        sleep 0.15
        switch=$(switch_of focusedAppInMenuBar)
        [ -n "$switch" ] && [ "$first" = "$switch" ]
    }
    eventually switch_at_rest || fail "the setting's switch did not come to rest"
    read -r x y value <<<"$switch"
    [ "$value" = 0 ] || fail "the setting's switch is not off: $value"
    sim click "$x" "$y" &&
        eventually config_says '.showFocusedAppName == true'
}
show_step "Return opens it on its tab, and a click on its switch turns it on: config.json changes" \
    change_setting
config_changes "$config_before" "$(config_now)" | sed 's/^/      config.json: /'

# A click on the close button of Kelvo's window of that title, found among its elements.
click_close_button() {
    local number
    number=$(own_window "$1")
    [ -n "$number" ] || fail "no window $1 on screen"
    click_on ".identifier == \"close\" and .role == \"button\" and .window == $number"
}
close_settings() {
    click_close_button "Kelvo Settings" && eventually window_gone "Kelvo Settings" &&
        eventually policy_is 1 && eventually logged_after "$mark" '^settings window closed'
}
show_step "Its close button puts the settings window away; Kelvo leaves the Dock" close_settings

guide_shows() { label_shown "Step $1 of 5" && label_shown "$2"; }
open_guide() {
    pick_from_status_menu "Guide…" || return 1
    eventually window_up "Kelvo Guide" || fail "the guide did not open"
    eventually guide_shows 1 "Accessibility" && eventually policy_is 0 &&
        eventually logged_after "$mark" '^guide opened on desktop '
}
show_step "Guide… in the status menu opens the guide under the status item: step 1 of 5" open_guide

next_page() { click_on '.identifier == "guide.forward"' && eventually guide_shows "$1" "$2"; }
for page in "2|Your desktops" "3|The keys worth knowing" "4|Five macOS settings" "5|That's it"; do
    show_step "Continue: step ${page%%|*} of 5, \"${page#*|}\"" next_page "${page%%|*}" "${page#*|}"
done

guide_done() {
    click_close_button "Kelvo Guide" || return 1
    eventually window_gone "Kelvo Guide" || fail "the close button did not close the guide"
    eventually config_says '.guideSeen == true' || fail "config.json does not say the guide was seen"
    eventually policy_is 1 || fail "Kelvo kept its Dock icon with its windows closed"
    eventually logged_after "$mark" '^guide closed' || fail "Kelvo did not log the guide closing"
}
show_step "Its close button closes the guide and notes it as seen; Kelvo is an accessory application again" \
    guide_done
echo "      config.json: guideSeen: true; Kelvo's activation policy: accessory (no Dock icon)"

# Desktop 3's windows would cover the others once every window is back on the display: the two
# applications launched from their bundles are hidden, as from their own menus.
on_screen() { windows | jq -e --argjson n "$1" 'select(.number == $n) | .onScreen' >/dev/null; }
off_screen() { ! on_screen "$1"; }
# Kelvo's focus border is its one window at the floating level.
border_gone() {
    windows | jq -e -s --argjson pid "${pid_of[kelvo]}" \
        'all(.[]; .pid != $pid or .layer != 3 or (.onScreen | not))' >/dev/null
}
put_desktop_3_away() {
    local bundle pid
    for bundle in com.example.maps com.apple.Terminal; do
        pid=$(sim apps | jq -r --arg id "$bundle" 'select(.bundleID == $id) | .pid')
        sim hide "$pid" || return 1
    done
    eventually off_screen "$maps" || fail "Maps stayed on the screen"
    eventually off_screen "$terminal_window" || fail "the terminal's window stayed on the screen"
    eventually border_gone || fail "the focus border stayed up around the hidden terminal"
}
show_step "Maps and the terminal are hidden: desktop 3 is empty again" \
    put_desktop_3_away
numbers=("${numbers[@]:0:4}")

step "⌥2 again, so that Kelvo quits with desktop 1's windows parked" \
    "\$s.state.activeDesktop == 2 and shown(\$s; $floater)
     and (onDesktop(\$s; 1) | all(parked(\$s; .)))" \
    "desktop 2 with its window" press alt+2

# The floating window's application brings it to the front, over the windows that come back.
ask shell '{"op":"activate"}' | jq -e '.ok' >/dev/null || fail "the shell did not come to the front"

lines=$(log_lines)
step "Kelvo quits and puts the parked windows back: every window is on the display" \
    "ids(\$s) | all(shown(\$s; .)) and near(frame(\$s; $floater); $floated)" \
    "every window coming back" quit_kelvo
log_after "$lines" | grep -q '^quitting - every parked window put back' ||
    fail "Kelvo did not log putting the parked windows back"
echo "    every window is back on the display; Kelvo exited with status 0"

for app in notes browser shell; do
    ask "$app" '{"op":"quit"}' >/dev/null
done
sim shutdown || true
# The server ends its Dock and whatever it launched before it goes.
wait_for_end "$server"
echo "demo: passed ($step_number steps, pictures in $out/)"

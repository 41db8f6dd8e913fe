#!/usr/bin/env bash
# Kelvo at work on a simulated desktop, for a person to watch: a desktop server, three fixture
# applications with four windows (one with a quirk), Kelvo in test mode, and Kelvo's own
# shortcuts pressed one after another through `kelvo-sim key`. Each step prints one line and the
# state lines Kelvo logs, and saves a picture of the desktop under the output folder. At the end
# Kelvo quits with windows parked on another desktop, and every window must be back on a display.
#
# usage: scripts/demo.sh [BUILD_DIR [OUTPUT_DIR]]   (defaults: build/test, build/demo)
#
# Every process the script starts is ended by its pid when it ends, whether the demo passed or
# failed. Waiting is polling with a bound; no step relies on a fixed pause.
set -euo pipefail

build=${1:-build/test}
out=${2:-build/demo}
sim="$build/Tools/kelvo-sim/kelvo-sim"
fixture="$build/Tools/kelvo-fixture/kelvo-fixture"
kelvo="$build/Sources/KelvoApp/KelvoApp"
# How long one wait may take before the demo gives up (in tenths of a second).
bound=${KELVO_DEMO_BOUND:-300}

for program in "$sim" "$fixture" "$kelvo"; do
    if [ ! -x "$program" ]; then
        echo "demo: $program is not built (make demo builds it)" >&2
        exit 2
    fi
done
if ! command -v jq >/dev/null; then
    echo "demo: jq is missing (scripts/install-deps.sh installs it)" >&2
    exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvo-demo.XXXXXX")
mkdir -p "$out"
rm -f "$out"/*.png
export KELVO_SIM_SOCKET="$work/desktop.sock"
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

# Polls `$@` until it succeeds, at most `bound` tenths of a second.
eventually() {
    local tries=0
    until "$@"; do
        tries=$((tries + 1))
        [ "$tries" -lt "$bound" ] || return 1
        sleep 0.1
    done
}

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

windows() { "$sim" windows; }
desktop_answers() { "$sim" displays >/dev/null 2>&1; }

# The windows' numbers and frames, front to back; equal twice in a row when nothing moves.
frames() { windows | jq -c '[.number, .frame, .minimized]' | sort; }
settled() {
    local first second
    first=$(frames)
    sleep 0.15
    second=$(frames)
    [ "$first" = "$second" ]
}

open_window() {
    local app=$1 quirk=$2 title=$3 x=$4 y=$5 width=$6 height=$7 reply
    reply=$(ask "$app" "{\"height\":$height,\"op\":\"open\",\"quirk\":\"$quirk\",\"title\":\"$title\",\"width\":$width,\"x\":$x,\"y\":$y}")
    jq -e '.ok' <<<"$reply" >/dev/null || fail "$app could not open a window: $reply"
    jq -r '.window' <<<"$reply"
}

# --- Kelvo's log -----------------------------------------------------------------------------

log_lines() { [ -f "$log" ] && wc -l <"$log" || echo 0; }
# The messages logged after line $1, without their timestamps.
log_after() { [ -f "$log" ] && tail -n +"$(($1 + 1))" "$log" | cut -c26- || true; }
logged_after() { log_after "$1" | grep -q -- "$2"; }
# The last state Kelvo logged after line $1, its two lines joined by " | ".
state_after() {
    local lines
    lines=$(log_after "$1")
    printf '%s | %s\n' "$(grep -E '^  desktops: ' <<<"$lines" | tail -n 1 | cut -c3-)" \
        "$(grep -E '^  active=' <<<"$lines" | tail -n 1 | cut -c3-)"
}

# --- the steps -------------------------------------------------------------------------------

step_number=0
mark=0

# Prints the step's line and what Kelvo logged for it, and saves the desktop's picture.
report() {
    local title=$1
    step_number=$((step_number + 1))
    local picture
    picture=$(printf '%s/%02d-%s.png' "$out" "$step_number" "$(tr -c 'a-z0-9\n' '-' <<<"${title,,}" | sed 's/--*/-/g; s/^-//; s/-$//')")
    "$sim" screenshot "$picture" || fail "no screenshot for step $step_number"
    printf '%2d. %s\n' "$step_number" "$title"
    log_after "$mark" | grep -E '^(cmd |adopt|  desktops: |  active=)' | sed 's/^/      /' || true
    mark=$(log_lines)
}

# Presses a chord, waits until Kelvo has logged the command and its state and the windows have
# come to rest, checks the state line against a pattern, then reports.
press() {
    local chord=$1 title=$2 expect=$3
    local before
    before=$(log_lines)
    "$sim" key "$chord" || fail "kelvo-sim key $chord"
    eventually logged_after "$before" '^  active=' || fail "$chord: Kelvo logged no state"
    eventually settled || fail "$chord: the windows did not come to rest"
    state_after "$before" | grep -q -- "$expect" ||
        fail "$chord: expected '$expect' in the state: $(state_after "$before")"
    report "$title"
}

# Every window's centre lies on a display and no window was left minimized.
every_window_on_a_display() {
    local displays
    displays=$("$sim" displays | jq -s -c '[.[].frame]')
    windows | jq -s -e --argjson displays "$displays" '
        all(.[]; (.frame.x + .frame.width / 2) as $cx | (.frame.y + .frame.height / 2) as $cy |
            (.minimized | not) and
            any($displays[]; $cx >= .x and $cx < .x + .width and $cy >= .y and $cy < .y + .height))' \
        >/dev/null
}

echo "Kelvo demo: pictures go to $out/"

"$sim" serve --socket "$KELVO_SIM_SOCKET" --display 1920x1080 2>"$work/serve.err" &
started+=("$!")
eventually desktop_answers || fail "the desktop did not start"

start_talking notes "$fixture" --bundle-id com.example.notes --name Notes
start_talking browser "$fixture" --bundle-id com.example.browser --name Browser
start_talking terminal "$fixture" --bundle-id com.example.terminal --name Terminal
for app in notes browser terminal; do
    ask "$app" '{"op":"ping"}' >/dev/null
done
open_window notes plain "Shopping list" 120 120 700 500 >/dev/null
open_window notes plain "Ideas" 300 260 640 480 >/dev/null
# This application keeps its windows at least 480 by 360 points, whatever it is asked.
open_window browser clampsSize "Start page" 520 180 900 640 >/dev/null
eventually test "$(windows | wc -l)" -eq 3 || fail "the fixture windows did not open"
report "Three windows of two applications, before Kelvo runs"

mkdir -p "$work/kelvo"
start_talking kelvo env KELVO_TEST_CONFIG_DIR="$work/kelvo" "$kelvo"
reply=$(ask kelvo '{"op":"ping"}')
jq -e '.ok' <<<"$reply" >/dev/null || fail "Kelvo did not answer ping: $reply"
eventually logged_after 0 '^adopted ' || fail "Kelvo did not adopt the windows at launch"
eventually settled || fail "the windows did not come to rest after launch"
report "Kelvo starts and tiles them on desktop 1"

before=$(log_lines)
open_window terminal plain "Shell" 200 200 800 500 >/dev/null
eventually logged_after "$before" '^adopt win#' || fail "the new window was not adopted"
eventually settled || fail "the windows did not come to rest after the new window"
report "A terminal window opens and takes its tile"

press alt+h "⌥H moves the focus left" 'active=1'
press alt+shift+l "⌥⇧L moves the focused window right" 'active=1'
press ctrl+alt+l "⌃⌥L moves its edge right" 'active=1'
press alt+f "⌥F fills the desktop with it" 'zoomed=\[1:'
press alt+f "⌥F again puts it back in its tile" 'zoomed=nil'
press alt+v "⌥V floats it" 'floating=\[[0-9]'
press alt+v "⌥V again tiles it" 'floating=\[\]'
press alt+shift+m "⌥⇧M lays desktop 1 out as a main window and a stack" 'active=1'
press alt+shift+2 "⌥⇧2 sends the focused window to desktop 2" ' 2=\[[0-9].* | active=1'
press alt+2 "⌥2 shows desktop 2; desktop 1's windows are parked" 'active=2 parked=\[[0-9]'
press alt+1 "⌥1 brings desktop 1 back" 'active=1 parked=\[[0-9]'
press alt+2 "⌥2 again, so that Kelvo quits with windows parked" 'active=2 parked=\[[0-9]'

before=$(log_lines)
reply=$(ask kelvo '{"op":"quit"}')
[ "$reply" = '{"ok":true}' ] || fail "Kelvo's reply to quit: $reply"
wait_for_end "${pid_of[kelvo]}"
[ "$status" -eq 0 ] || fail "Kelvo exited with status $status"
eventually settled || fail "the windows did not come to rest after Kelvo quit"
report "Kelvo quits and puts every parked window back"
log_after "$before" | grep -q '^quitting - every parked window put back' ||
    fail "Kelvo did not log putting the parked windows back"
every_window_on_a_display || fail "a window was left off every display: $(windows)"
echo "    every window is back on a display; Kelvo exited with status 0"

for app in notes browser terminal; do
    ask "$app" '{"op":"quit"}' >/dev/null
done
"$sim" shutdown || true
echo "demo: passed ($step_number steps, pictures in $out/)"

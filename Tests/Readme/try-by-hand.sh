#!/usr/bin/env bash
# The README's "try it by hand" as a newcomer runs it. Every block the README marks for a
# terminal is pasted, as written, into the interactive shell of that terminal (two windows of
# a tmux of the test's own), the `export` line the first terminal prints is pasted into the
# second, and after each block what the README promises there is checked: the application's
# and Kelvo's replies, the two windows tiled side by side, the desktops shown, the edge moved,
# the floating window, the application hidden and shown, the picture with its caption, the log
# and Kelvo's exit status, the panel client's status item, menu, field and close button, Kelvo's
# launcher, status menu and settings window (its elements, its tabs, its search, the Dock icon it
# gives Kelvo while it is open), an application bundle installed and launched from the launcher,
# and no command failing on the way.
#
# usage: try-by-hand.sh README PROGRAMS_DIR
#
# The terminals start in a tree of their own whose build/run/bin is PROGRAMS_DIR, with HOME and
# TMPDIR inside the test's folder and nothing of the caller's environment. Every process the
# test starts is ended by its pid when it ends, pass or fail: the terminals' server and,
# children first, every process started in the terminals.
set -euo pipefail

readme=$(realpath "$1")
programs=$(realpath "$2")
# How long one wait may take before the test gives up (in tenths of a second).
bound=${KELVO_TRY_BOUND:-300}

for tool in tmux jq; do
    if ! command -v "$tool" >/dev/null; then
        echo "try-by-hand: $tool is missing (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvo-try.XXXXXX")
mkdir -p "$work/tree/build/run" "$work/home" "$work/tmp" "$work/blocks"
ln -s "$programs" "$work/tree/build/run/bin"
export LC_ALL=C.UTF-8
terminals() { tmux -u -S "$work/tmux.sock" "$@"; }
server=""

# The processes below `$1`, each as "pid parent", parents before their children.
descendants() {
    local child
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
        echo "$child $1"
        descendants "$child"
    done
}

# Ends the terminals and everything started in them by pid, children first; a pid is only
# signalled while its parent is still the one it had when it was found.
end_processes() {
    if [ -n "$server" ]; then
        local pid parent
        descendants "$server" | tac | while read -r pid parent; do
            if [ "$(ps -o ppid= -p "$pid" 2>/dev/null | tr -d ' ')" = "$parent" ]; then
                kill -KILL "$pid" 2>/dev/null || true
            fi
        done
        if ps -o args= -p "$server" 2>/dev/null | grep -q tmux; then
            kill -KILL "$server" 2>/dev/null || true
        fi
    fi
    rm -rf "$work"
}
trap end_processes EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

screen_of() { terminals capture-pane -p -J -S - -t "try:$1"; }
fail() {
    echo "try-by-hand: FAILED: $*" >&2
    local name
    for name in first second; do
        echo "--- the $name terminal:" >&2
        screen_of "$name" 2>/dev/null | grep -v '^$' | tail -n 40 >&2 || true
    done
    if [ -n "${try:-}" ] && [ -f "$try/kelvo.log" ]; then
        echo "--- the end of Kelvo's log:" >&2
        tail -n 20 "$try/kelvo.log" >&2
    fi
    exit 1
}

source "$(dirname "$0")/../../scripts/eventually.sh"

# --- the README's blocks -----------------------------------------------------------------------

# Each fenced block after a line "<!-- try-by-hand: first terminal -->" (or second) becomes
# blocks/N with its terminal in blocks/N.terminal, in the README's order.
awk -v dir="$work/blocks" '
    /^<!-- try-by-hand: (first|second) terminal -->$/ { terminal = $3; next }
    terminal != "" && /^```/ && !inside { inside = 1; n++; print terminal > (dir "/" n ".terminal"); next }
    inside && /^```/ { inside = 0; terminal = ""; next }
    inside { print > (dir "/" n) }
' "$readme"
blocks=$(find "$work/blocks" -name '*.terminal' | wc -l)
[ "$blocks" -eq 7 ] || fail "the README marks $blocks blocks for the terminals; this test knows 7"

# --- two terminals ---------------------------------------------------------------------------

shell="env -i HOME=$work/home TMPDIR=$work/tmp PATH=/usr/local/bin:/usr/bin:/bin TERM=screen"
shell+=" LC_ALL=C.UTF-8 bash --norc --noprofile -i"
terminals -f /dev/null new-session -d -s try -n first -x 220 -y 50 -c "$work/tree" "$shell"
server=$(terminals display-message -p '#{pid}')
terminals set-option -g history-limit 20000
terminals new-window -d -t try -n second -c "$work/tree" "$shell"

# Pastes a file into a terminal as a person pastes it: the lines arrive as typed.
paste_into() {
    terminals load-buffer -b paste "$2"
    terminals paste-buffer -d -b paste -t "try:$1"
}
shows() { screen_of "$1" | grep -q -- "$2"; }
marks=0
# Waits until the terminal has run everything pasted into it so far: the mark it is given to
# print comes out only once the lines before it have run.
finish() {
    marks=$((marks + 1))
    terminals send-keys -t "try:$1" -l "echo \"pasted up to here: \$(( $marks + 1000 ))\""
    terminals send-keys -t "try:$1" Enter
    eventually shows "$1" "pasted up to here: $((marks + 1000))" ||
        fail "the $1 terminal did not get through its lines"
}

# --- what the README promises ------------------------------------------------------------------

try=""
sim() { KELVO_SIM_SOCKET="$try/desktop.sock" "$programs/kelvo-sim" "$@"; }
log_has() { [ -f "$try/kelvo.log" ] && grep -q -- "$1" "$try/kelvo.log"; }
# The lines Kelvo logged after line `$1`, without their timestamps.
log_after() { tail -n +"$(($1 + 1))" "$try/kelvo.log" 2>/dev/null | cut -c26-; }
log_lines() { [ -f "$try/kelvo.log" ] && wc -l <"$try/kelvo.log" || echo 0; }
# The messages `$2…` appear in this order among the lines logged after line `$1`.
logged_in_order() {
    local from=$1
    shift
    log_after "$from" | awk -v patterns="$(printf '%s\n' "$@")" '
        BEGIN { n = split(patterns, p, "\n"); i = 1 }
        i <= n && index($0, p[i]) { i++ }
        END { exit !(i > n) }'
}
notes_windows() { sim windows | jq -s -c 'map(select(.bundleID == "com.example.notes"))'; }
# Both windows shown, side by side: neither overlaps the other.
tiled_side_by_side() {
    notes_windows | jq -e 'length == 2 and all(.onScreen and (.minimized | not))
        and (.[0].frame as $a | .[1].frame as $b
             | ($a.x + $a.width <= $b.x + 1) or ($b.x + $b.width <= $a.x + 1))' >/dev/null
}
no_failed_command() {
    local name=$1
    if screen_of "$name" | grep -v 'kelvo-sim: serving a desktop at' |
        grep -E -q '(kelvo-sim|kelvo-fixture|kelvo): |jq: error|command not found|No such file'; then
        fail "a command failed in the $name terminal"
    fi
}

check_first_start() {
    # The folder of `mktemp -d` is the one the desktop's socket is in; the programs may make
    # folders of their own beside it.
    try=$(find "$work/tmp" -mindepth 2 -maxdepth 2 -name desktop.sock -printf '%h\n' | head -n 1)
    [ -n "$try" ] || fail "no folder of mktemp -d with the desktop's socket"
    eventually tiled_side_by_side || fail "the two windows were not tiled side by side: $(notes_windows)"
    eventually shows first '{"ok":true,"pid":' || fail "Kelvo did not answer the ping"
    # The terminal shows a reply some time after the window it tells of is on the desktop.
    # The README quotes the first answer: the desktop numbers windows from 100.
    both_windows_answered() {
        [ "$(screen_of first | grep -o '{"ok":true,"window":[0-9]*}' | paste -sd ' ')" = \
            '{"ok":true,"window":100} {"ok":true,"window":101}' ]
    }
    eventually both_windows_answered || fail "the application did not answer both windows with their numbers 100 and 101"
    no_failed_command first
}

check_first_state() {
    state_reply_holds_both() {
        screen_of first | grep -o '{"activeDesktop":1,.*}' | jq -e '.windows | length == 2
            and all(.desktop == 1 and .floating == false and .frame.width > 0)' >/dev/null 2>&1
    }
    eventually state_reply_holds_both || fail "no state reply holding both windows on desktop 1"
    eventually logged_in_order 0 'cmd switchTo(2)' '  active=2' 'cmd switchTo(1)' '  active=1' ||
        fail "Kelvo did not switch to desktop 2 and back"
    eventually tiled_side_by_side || fail "desktop 1's windows did not come back"
    eventually shows first '^export PATH="' || fail "no export line for the second terminal"
    no_failed_command first
}

check_second() {
    local from=$1
    shows second '"title":"One"' && shows second '"title":"Two"' ||
        fail "kelvo-sim windows did not list the two windows"
    eventually logged_in_order "$from" 'cmd switchTo(2)' '  active=2' 'cmd switchTo(1)' \
        '  active=1' 'cmd resize(KelvoCore.Direction.right)' '⌥⇧click win#' \
        'com.example.notes hidden by the user' 'com.example.notes unhidden' ||
        fail "Kelvo did not take the keys, the click, the hiding and the showing in order"
    log_after "$from" | grep -q '⌥⇧click win#.*: floated' || fail "the click floated no window"
    [ "$(head -c 8 "$try/desk.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
        fail "no picture in $try/desk.png"
    # The picture is the display, 1440 by 900, and the caption's strip below it.
    [ "$(od -An -tu1 -j16 -N8 "$try/desk.png" | awk '{print $3 * 256 + $4, $7 * 256 + $8}')" = "1440 944" ] ||
        fail "the picture is not the display with its caption"
    shows second 'com.example.notes unhidden' || fail "the end of the log was not shown"
    no_failed_command second
}

check_second_panel() {
    eventually shows second '"label":"Panel client"' || fail "kelvo-sim statusitems did not list the item"
    eventually shows second '"separator":true' || fail "kelvo-sim menu did not list the open menu"
    eventually shows second '"role":"textField"' || fail "kelvo-sim ui did not list the field"
    grep -q '"name":"count"' "$try/panel.out" || fail "the pick did not reach the client"
    [ "$(grep -c '"name":"count"' "$try/panel.out")" -eq 1 ] || fail "the pick ran more than once"
    grep -q '"event":"windowWillClose"' "$try/panel.out" || fail "the close button did not close the window"
    [ "$(head -c 8 "$try/panel.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
        fail "no picture in $try/panel.png"
    no_failed_command second
}

# The lines of the second terminal's screen that are JSON objects satisfying the jq condition.
screen_objects() {
    screen_of second | grep '^{' | jq -c -R "fromjson? | select($1)" 2>/dev/null || true
}
check_second_own() {
    local from=$1
    eventually logged_in_order "$from" 'cmd launcher' 'launcher: com.example.notes is already on desktop 1' \
        'settings window opened on desktop 1' 'settings window closed' ||
        fail "Kelvo did not log the launcher's pick and the settings window opening and closing"
    [ -n "$(screen_objects '.role == "textField" and .value == "not"')" ] ||
        fail "kelvo-sim ui did not list the launcher's query"
    [ -n "$(screen_objects '.role == "text" and .label == "Notes"')" ] ||
        fail "kelvo-sim ui did not list the launcher's row"
    [ -n "$(screen_objects '.title == "Rebalance"')" ] || fail "kelvo-sim menu did not list the menu"
    [ "$(screen_objects '.identifier | strings | startswith("tab.")' | wc -l)" -eq 7 ] ||
        fail "kelvo-sim ui did not list the seven tab buttons"
    [ -n "$(screen_objects '.identifier == "close" and .role == "button"')" ] ||
        fail "kelvo-sim ui did not list the settings window's close button"
    [ "$(screen_objects '.name == "Kelvo"' | jq -r '.activationPolicy' | paste -sd ' ')" = "0 1" ] ||
        fail "Kelvo was not regular with its window open and accessory once it was closed"
    shows second 'settings window closed' || fail "the log's lines were not shown"
    [ "$(head -c 8 "$try/settings.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
        fail "no picture in $try/settings.png"
    no_failed_command second
}

check_second_installed() {
    local from=$1
    eventually logged_in_order "$from" 'cmd launcher' 'launcher: launching com.example.calendar' \
        'adopt win#' ||
        fail "Kelvo did not launch the installed calendar from the launcher and adopt its window"
    screen_objects '.name == "Calendar"' | jq -e -s --arg bundle "$try/root/Applications/Calendar.app/" \
        'length == 1 and (.[0].executablePath | startswith($bundle))' >/dev/null ||
        fail "the calendar did not run from its bundle"
    shows second 'launcher: launching com.example.calendar' || fail "the log's lines were not shown"
    calendar_tiled() {
        sim windows | jq -e -s 'map(select(.bundleID == "com.example.notes" or
            .bundleID == "com.example.calendar")) | length == 3 and all(.onScreen)' >/dev/null
    }
    eventually calendar_tiled || fail "the calendar's window was not shown beside the others"
    no_failed_command second
}

check_first_end() {
    # The mark typed after the block echoes while Kelvo is still ending, so the status may
    # follow it on the line.
    eventually shows first 'Kelvo exited with status 0$' || fail "Kelvo did not exit with status 0"
    log_has 'quitting - every parked window put back' || fail "Kelvo did not put the windows back"
    local shell_pid
    shell_pid=$(terminals display-message -p -t try:first '#{pane_pid}')
    no_children() { [ -z "$(ps -o pid= --ppid "$shell_pid")" ]; }
    eventually no_children || fail "the first terminal's programs did not all end"
    [ ! -e "$try/desktop.sock" ] || fail "the desktop did not end"
    no_failed_command first
}

# --- the newcomer at work ----------------------------------------------------------------------

run_block() {
    local n=$1 name
    name=$(cat "$work/blocks/$n.terminal")
    paste_into "$name" "$work/blocks/$n"
    finish "$name"
}

run_block 1
check_first_start
run_block 2
check_first_state
# The person copies the line the first terminal printed into the second.
screen_of first | grep '^export PATH="' | tail -n 1 >"$work/export"
paste_into second "$work/export"
finish second
from=$(log_lines)
run_block 3
check_second "$from"
run_block 4
check_second_panel
from=$(log_lines)
run_block 5
check_second_own "$from"
from=$(log_lines)
run_block 6
check_second_installed "$from"
run_block 7
check_first_end
echo "try-by-hand: every block of the README ran as written and did what it says"

#!/usr/bin/env bash
# Faults over real processes, at random moments, many times: Kelvo killed (SIGKILL), asked to
# end (SIGTERM, SIGINT) — at start-up too —, its desktop killed or stopped, an application
# killed while Kelvo asks it something, an application that stops answering (hung) while keys
# are pressed and Kelvo is then quit, signalled or killed. After each run, with Kelvo relaunched and quit where
# the desktop is still there, no window may be left parked or minimized by Kelvo, no process may
# hang, and every exit status of Kelvo must be one the program documents (0, 1, 2, 3, 4, 64;
# 137 for the SIGKILL the script sends itself).
#
# usage: scripts/fault-injection.sh [BUILD_DIR [RUNS [SEED]]]   (defaults: 200 runs, on the
# sanitised build/test when its programs are built, else on build/run, which `make demo` builds)
#
# Not part of `make test`: it takes minutes. It prints one line per run and the figures at the
# end, and exits 1 when any run broke a rule. Every process it starts is ended by its pid.
set -uo pipefail
# Job control: a background program of a script would otherwise start with SIGINT ignored, and
# a SIGINT sent before Kelvo's own handling exists would be dropped by the kernel.
set -m

programs=(kelvo-sim kelvo-fixture KelvoApp)
holds_programs() {
    local program
    for program in "${programs[@]}"; do [ -x "$1/bin/$program" ] || return 1; done
}
if [ $# -ge 1 ]; then
    build=$1
else
    # The sanitizers catch more of what a fault leaves behind; a newcomer after `make demo` has
    # only the programs a person runs.
    build=build/test
    holds_programs "$build" || build=build/run
    if ! holds_programs "$build"; then
        echo "fault-injection: neither build/test nor build/run holds ${programs[*]}" \
            "(make demo builds them in build/run)" >&2
        exit 2
    fi
fi
runs=${2:-200}
RANDOM=${3:-$$}
sim="$build/bin/kelvo-sim"
fixture="$build/bin/kelvo-fixture"
kelvo="$build/bin/KelvoApp"
# How long one wait may take before a run counts as a hang (in tenths of a second).
bound=${KELVO_FAULT_BOUND:-300}

for program in "$sim" "$fixture" "$kelvo"; do
    [ -x "$program" ] || { echo "fault-injection: $program is not built" >&2; exit 2; }
done
echo "fault-injection: $runs runs on the programs of $build"
command -v jq >/dev/null || { echo "fault-injection: jq is missing" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvo-faults.XXXXXX")
export LSAN_OPTIONS=${LSAN_OPTIONS:-print_suppressions=0}
export KELVO_SIM_DEADLINE=1
started=()

end_processes() {
    local pid
    for pid in "${started[@]}"; do
        if [ "$(awk '{print $4}' "/proc/$pid/stat" 2>/dev/null)" = "$$" ]; then
            kill -CONT "$pid" 2>/dev/null || true
            kill -KILL "$pid" 2>/dev/null || true
        fi
        wait "$pid" 2>/dev/null || true
    done
    started=()
}
trap 'end_processes; rm -rf "$work"' EXIT
trap '' PIPE
trap 'exit 130' INT
trap 'exit 143' TERM

source "$(dirname "$0")/eventually.sh"

has_ended() { [ ! -e "/proc/$1" ] || [ "$(awk '/^State/{print $2}' "/proc/$1/status" 2>/dev/null)" = Z ]; }
# Sets `status`; 255 when the process did not end within the bound (a hang).
wait_for_end() {
    if ! eventually has_ended "$1"; then
        status=255
        return
    fi
    status=0
    wait "$1" 2>/dev/null || status=$?
}

# A random pause of up to `$1` hundredths of a second: the moment of the fault.
pause() { sleep "$(printf '0.%02d' $((RANDOM % $1)))"; }

declare -A input pid_of

# Starts a program whose standard input is a pipe this script holds open. Its output file
# goes first: the program opens it anew only once the pipe is open at both ends, after this
# returns, and a check meanwhile would read what the last program of that name wrote.
start_fed() {
    local name=$1
    shift
    rm -f "$run_dir/$name.in" "$run_dir/$name.out"
    mkfifo "$run_dir/$name.in"
    "$@" <"$run_dir/$name.in" >"$run_dir/$name.out" 2>>"$run_dir/$name.err" &
    pid_of[$name]=$!
    started+=("$!")
    local to
    exec {to}>"$run_dir/$name.in"
    input[$name]=$to
}
tell() { printf '%s\n' "$2" >&"${input[$1]}" 2>/dev/null || true; }

desktop_answers() { "$sim" displays >/dev/null 2>&1; }
start_desktop() {
    "$sim" serve --socket "$KELVO_SIM_SOCKET" >/dev/null 2>>"$run_dir/sim.err" &
    pid_of[sim]=$!
    started+=("$!")
    eventually desktop_answers
}

start_kelvo() {
    start_fed kelvo env KELVO_TEST_CONFIG_DIR="$run_dir/kelvo" "$kelvo"
}
windows_opened() {
    [ "$(cat "$run_dir/notes.out" "$run_dir/browser.out" 2>/dev/null | grep -c '"window"')" -ge 3 ]
}
# Kelvo's main has begun: SIGINT and SIGTERM are held (or already caught). A signal before
# that meets the default action of any program and says nothing of Kelvo.
quit_signals_held() {
    local held caught
    held=$(awk '/^SigBlk/{print $2}' "/proc/${pid_of[kelvo]}/status" 2>/dev/null) || return 1
    caught=$(awk '/^SigCgt/{print $2}' "/proc/${pid_of[kelvo]}/status" 2>/dev/null) || return 1
    [ -n "$held" ] || return 1
    (((0x$held & 0x4002) == 0x4002 || (0x$caught & 0x4002) == 0x4002))
}
kelvo_answers() { grep -q '"pid"' "$run_dir/kelvo.out" 2>/dev/null; }
# A key only waits in the desktop's queue once `kelvo-sim key` returns, and Kelvo takes its
# command on a later turn of its main loop than a request on its standard input: desktop 2 is
# shown once a reply to a state request says so.
shows_desktop_two() {
    tell kelvo '{"op":"state"}'
    grep -q '"activeDesktop":2' "$run_dir/kelvo.out" 2>/dev/null
}

# Every window of the applications is on the display and none is minimized.
windows_back() {
    "$sim" windows | jq -s -e '
        map(select(.layer == 0 and (.bundleID // "" | startswith("com.example."))))
        | all(.minimized == false and (.frame.x + .frame.width / 2) < 1920
              and (.frame.y + .frame.height / 2) < 1080)' >/dev/null
}

allowed_status() {
    case "$1" in 0 | 1 | 2 | 3 | 4 | 64 | 137) return 0 ;; *) return 1 ;; esac
}

faults=(kill-kelvo term-kelvo int-kelvo term-at-start kill-at-start kill-desktop stop-desktop
    kill-fixture hang-app)
declare -A tally
broken=0
hangs=0
left=0
bad_status=0

for ((run = 1; run <= runs; run++)); do
    run_dir="$work/run$run"
    mkdir -p "$run_dir"
    export KELVO_SIM_SOCKET="$run_dir/desktop.sock"
    fault=${faults[$((RANDOM % ${#faults[@]}))]}
    tally[$fault]=$((${tally[$fault]:-0} + 1))
    problem=""
    start_desktop || problem="the desktop did not start"
    start_fed notes "$fixture" --bundle-id com.example.notes
    start_fed browser "$fixture" --bundle-id com.example.browser
    tell notes '{"height":500,"op":"open","title":"One","width":700,"x":100,"y":100}'
    tell notes '{"height":400,"op":"open","title":"Two","width":600,"x":300,"y":200}'
    tell browser '{"height":600,"op":"open","title":"Three","width":800,"x":500,"y":150}'
    eventually windows_opened || problem="the fixtures did not open their windows"
    # A session that shows desktop 2 on the next start, so start-up parks desktop 1.
    start_kelvo
    tell kelvo '{"op":"ping"}'
    eventually kelvo_answers || problem="Kelvo did not answer"
    "$sim" key alt+shift+2 >/dev/null 2>&1
    "$sim" key alt+2 >/dev/null 2>&1
    eventually shows_desktop_two || problem="Kelvo did not show desktop 2"

    case $fault in
    term-at-start | kill-at-start)
        tell kelvo '{"op":"quit"}'
        wait_for_end "${pid_of[kelvo]}"
        start_kelvo
        eventually quit_signals_held
        pause 40
        if [ "$fault" = term-at-start ]; then
            kill -"$([ $((RANDOM % 2)) = 0 ] && echo TERM || echo INT)" "${pid_of[kelvo]}"
        else
            kill -KILL "${pid_of[kelvo]}"
        fi
        ;;
    kill-kelvo | term-kelvo | int-kelvo)
        keys=()
        for ((i = 0; i < 6; i++)); do
            "$sim" key "alt+$((RANDOM % 3 + 1))" >/dev/null 2>&1 &
            keys+=("$!")
        done
        pause 60
        case $fault in
        kill-kelvo) kill -KILL "${pid_of[kelvo]}" ;;
        term-kelvo) kill -TERM "${pid_of[kelvo]}" ;;
        int-kelvo) kill -INT "${pid_of[kelvo]}" ;;
        esac
        for key in "${keys[@]}"; do wait_for_end "$key"; done
        ;;
    kill-desktop)
        pause 60
        kill -KILL "${pid_of[sim]}"
        ;;
    stop-desktop)
        # Kelvo is made to ask while the desktop is stopped, for longer than its deadline.
        pause 30
        kill -STOP "${pid_of[sim]}"
        tell kelvo '{"command":{"desktop":1,"name":"switchTo"},"op":"command"}'
        sleep 2
        kill -CONT "${pid_of[sim]}"
        ;;
    hang-app)
        # One application hangs at a random moment of a burst of keys; Kelvo is then asked to
        # quit, signalled or killed. The application answers again before the relaunch.
        hung_app=${pid_of[$([ $((RANDOM % 2)) = 0 ] && echo notes || echo browser)]}
        keys=()
        for ((i = 0; i < 6; i++)); do
            "$sim" key "alt+$((RANDOM % 3 + 1))" >/dev/null 2>&1 &
            keys+=("$!")
        done
        pause 40
        "$sim" hang "$hung_app" >/dev/null 2>&1
        pause 60
        case $((RANDOM % 4)) in
        0) kill -KILL "${pid_of[kelvo]}" ;;
        1) kill -TERM "${pid_of[kelvo]}" ;;
        2) kill -INT "${pid_of[kelvo]}" ;;
        3) tell kelvo '{"op":"quit"}' ;;
        esac
        for key in "${keys[@]}"; do wait_for_end "$key"; done
        wait_for_end "${pid_of[kelvo]}"
        hung_status=$status
        "$sim" unhang "$hung_app" >/dev/null 2>&1
        ;;
    kill-fixture)
        "$sim" key alt+1 >/dev/null 2>&1 &
        key=$!
        tell browser '{"op":"list"}'
        pause 30
        kill -KILL "${pid_of[browser]}"
        wait_for_end "$key"
        ;;
    esac

    case $fault in
    stop-desktop | kill-fixture)
        # Kelvo ended by itself (a lost desktop) or still serves and is asked to quit.
        has_ended "${pid_of[kelvo]}" || tell kelvo '{"op":"quit"}'
        wait_for_end "${pid_of[kelvo]}"
        ;;
    hang-app)
        status=$hung_status
        ;;
    *)
        wait_for_end "${pid_of[kelvo]}"
        ;;
    esac
    kelvo_status=$status
    if [ "$kelvo_status" = 255 ]; then
        hangs=$((hangs + 1))
        problem="Kelvo hung after $fault"
    elif ! allowed_status "$kelvo_status"; then
        bad_status=$((bad_status + 1))
        problem="Kelvo ended with status $kelvo_status after $fault"
    fi
    if [ "$fault" != kill-desktop ] && [ -z "$problem" ]; then
        # The same boot: a relaunch puts back what the killed run could not, then quits.
        if ! has_ended "${pid_of[sim]}"; then
            start_kelvo
            tell kelvo '{"op":"ping"}'
            if eventually kelvo_answers; then
                tell kelvo '{"op":"quit"}'
                wait_for_end "${pid_of[kelvo]}"
                [ "$status" = 0 ] || { problem="the relaunch ended with status $status"; bad_status=$((bad_status + 1)); }
            else
                problem="the relaunch did not answer"
                hangs=$((hangs + 1))
            fi
            if [ -z "$problem" ] && ! eventually windows_back; then
                problem="windows left parked or minimized after $fault"
                left=$((left + 1))
            fi
        fi
    fi
    if [ -n "$problem" ]; then
        broken=$((broken + 1))
        echo "run $run ($fault): FAILED: $problem (status $kelvo_status)"
        tail -n 5 "$run_dir/kelvo/kelvo.log" 2>/dev/null | sed 's/^/    /'
        sed 's/^/    stderr: /' "$run_dir/kelvo.err" 2>/dev/null | tail -n 3
    else
        echo "run $run ($fault): ok (status $kelvo_status)"
    fi
    for name in kelvo notes browser; do exec {input[$name]}>&- 2>/dev/null || true; done
    end_processes
    [ -n "$problem" ] || rm -rf "$run_dir"
done

echo "fault-injection: $runs runs, $broken broken: $left with windows left parked or minimized," \
    "$hangs hangs, $bad_status with a status outside the documented ones"
for fault in "${faults[@]}"; do echo "  $fault: ${tally[$fault]:-0} runs"; done
[ "$broken" -eq 0 ]

# Sourced by the scripts that wait on processes: polls `$@` until it succeeds, at most `bound`
# tenths of a second (the caller sets `bound`). No wait relies on a fixed pause.
eventually() {
    local tries=0
    until "$@"; do
        tries=$((tries + 1))
        [ "$tries" -lt "$bound" ] || return 1
        sleep 0.1
    done
}

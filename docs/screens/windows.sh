# Sourced by take.sh and take-wine.sh. Expects $work/program.log to hold the program's output.

# new_window SECONDS KNOWN [xdotool search options]: waits at most SECONDS for a visible window of the
# program whose id is not in the list KNOWN; prints it.
new_window() {
    limit=$(($1 * 10))
    known=$2
    shift 2
    tries=0
    while :; do
        for w in $(xdotool search --all --onlyvisible "$@" --name '^QZ Name Compatibility v1\.15$' 2>/dev/null); do
            case " $known " in *" $w "*) ;; *) echo "$w"; return 0 ;; esac
        done
        tries=$((tries + 1))
        if [ "$tries" -gt "$limit" ]; then
            echo "${0##*/}: no new window appeared" >&2
            cat "$work/program.log" >&2
            return 1
        fi
        sleep 0.1
    done
}

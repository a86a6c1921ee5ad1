#!/bin/sh
# unprivileged.sh PROGRAM [ARGS...]: runs a test program as nobody when started as root, who reads and
# writes any file whatever its mode, so that checks on unreadable and unwritable files hold in CI too. The
# program is copied where nobody can reach it, with home, settings, runtime and temporary folders there.
set -eu
[ "$(id -u)" -ne 0 ] && exec "$@"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
program=$1
shift
cp "$program" "$work/"
mkdir -m 700 "$work/config" "$work/runtime" "$work/tmp"
# The sanitizers' suppressions, read at start, may lie in a folder nobody cannot enter.
suppressions=$(printf %s "${LSAN_OPTIONS:-}" | tr : '\n' | sed -n 's/^suppressions=//p')
if [ -n "$suppressions" ]; then
    cp "$suppressions" "$work/lsan.supp"
    LSAN_OPTIONS=$(printf %s "$LSAN_OPTIONS" | sed "s#\(^\|:\)suppressions=[^:]*#\1suppressions=$work/lsan.supp#")
fi
chown -R nobody:nogroup "$work"
HOME=$work XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime \
    TMPDIR=$work/tmp setpriv --reuid=nobody --regid=nogroup --clear-groups "$work/${program##*/}" "$@"

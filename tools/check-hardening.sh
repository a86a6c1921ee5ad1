#!/usr/bin/env bash
# Checks that the programs of the .deb carry Debian's hardening: PIE, full RELRO (BIND_NOW), the stack
# protector and _FORTIFY_SOURCE (at least one fortified __*_chk call). Fails if either program lacks one.
# Usage: bash tools/check-hardening.sh [PACKAGE.deb | PROGRAM]...   (default: build-deb/*.deb)
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-missing.sh devscripts # hardening-check

[ $# -gt 0 ] || set -- build-deb/*.deb
tmp=$(mktemp -d "${TMPDIR:-/tmp}/qz-hardening.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
programs=()
for file in "$@"; do
    [ -f "$file" ] || { echo "check-hardening: $file missing: build it with packaging/build-deb.sh" >&2; exit 1; }
    case $file in
    *.deb)
        root=$tmp/$(basename "$file")
        dpkg-deb -x "$file" "$root"
        for name in QZFreeNameCompatibility qzcompat; do
            [ -f "$root/usr/bin/$name" ] || { echo "check-hardening: no usr/bin/$name in $file" >&2; exit 1; }
            programs+=("$root/usr/bin/$name")
        done
        ;;
    *) programs+=("$file") ;;
    esac
done
# Control flow protection (-fcf-protection) is not among Debian 12's flags for amd64.
hardening-check --nocfprotection "${programs[@]}"

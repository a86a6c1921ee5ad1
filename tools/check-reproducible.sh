#!/usr/bin/env bash
# Checks that the packages of this clone come out byte for byte the same when the same commit is built
# again somewhere else: clones the commit to another folder, builds the .deb and the Windows zip and
# installer there, and compares them with those already in build-deb/ and build-windows/ here.
# On a difference it fails and shows where with diffoscope, and keeps the other clone and the reports.
# Usage: bash tools/check-reproducible.sh [extra cmake options the Windows build here was made with]
#   after: bash packaging/build-deb.sh build-deb && bash tools/build-windows.sh [same options]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/install-missing.sh git diffoscope

mine=("$root"/build-deb/*.deb "$root"/build-windows/QZNameCompatibility-*-win64.zip
    "$root"/build-windows/QZNameCompatibility-*-win64-setup.exe)
for file in "${mine[@]}"; do
    [ -f "$file" ] || { echo "check-reproducible: $file missing: build the packages here first" >&2; exit 1; }
done
# The other clone gets the commit alone: a change not committed here would be a difference of its own.
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "check-reproducible: this clone has changes that are not committed" >&2
    exit 1
fi

tmp=$(mktemp -d "${TMPDIR:-/tmp}/qz-reproduce.XXXXXX")
other=$tmp/QZNameCompatibility
git clone -q --no-checkout "$root" "$other"
# The shared folder beside the clone (the ready Qt prefix) is beside the other clone too.
[ ! -d "$root/../shared" ] || ln -s "$(cd "$root/../shared" && pwd)" "$tmp/shared"
git -C "$other" checkout -q --detach "$(git rev-parse HEAD)"

# Every object is compiled afresh there: a compiler cache shared with this clone would hand back this
# clone's objects and hide a path that leaks into them. Another umask and time zone as well, so that
# neither can slip into the packages. The tests are not needed for the packages.
(
    cd "$other"
    export CCACHE_DISABLE=1 TZ=QZT-14
    umask 0027
    bash packaging/build-deb.sh build-deb
    bash tools/build-windows.sh "$@" -DQZ_BUILD_TESTS=OFF
)

status=0
for file in "${mine[@]}"; do
    twin=$other/${file#"$root"/}
    if [ ! -f "$twin" ]; then
        echo "MISSING: the other build made no $twin"
        status=1
    elif cmp -s "$file" "$twin"; then
        echo "same: ${file#"$root"/}"
    else
        echo "DIFFERENT: ${file#"$root"/} and $twin"
        # The whole report can run to megabytes of disassembly; its head says where.
        report=$tmp/$(basename "$file").diffoscope.txt
        diffoscope --no-progress --text "$report" "$file" "$twin" || true
        head -n 300 "$report"
        echo "(the whole report: $report)"
        status=1
    fi
done
if [ $status -eq 0 ]; then
    rm -rf "$tmp"
else
    echo "check-reproducible: the other build is kept in $other" >&2
fi
exit $status

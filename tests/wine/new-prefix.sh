#!/usr/bin/env bash
# Makes a fresh Wine prefix in the folder $WINEPREFIX names, with the Wine settings tests/wine/run.sh
# exports: the one way the Windows tests make a prefix (run.sh, test_installer.sh, the Wine sessions of
# tests/desktop/wine_session.py).
set -euo pipefail
: "${WINEPREFIX:?names the folder of the prefix}"
rm -rf "$WINEPREFIX"
t0=$(date +%s)
wineboot --init
wineserver --wait
echo "Wine prefix made in $(($(date +%s) - t0)) s"

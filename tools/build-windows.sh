#!/usr/bin/env bash
# Builds the Windows programs from this source with MinGW-w64 and packages them, all into
# build-windows/: QZFreeNameCompatibility.exe, qzcompat.exe, a zip that runs wherever it is unpacked,
# and an NSIS installer. Installs the Debian packages it needs when they are missing.
# Usage: bash tools/build-windows.sh [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

packages=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    cmake ninja-build qt6-base-dev qt6-base-dev-tools xz-utils
    # the icon resource, the packages, and the tests under Wine
    icoutils zip nsis wine wine64 xvfb xauth xdotool x11-utils xclip openbox python3 python3-pyatspi
    locales # a Japanese locale for the code page test
)
bash tools/install-missing.sh "${packages[@]}"

qt=$(bash tools/build-qt-mingw.sh | tail -n 1)
build=$root/build-windows
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release -DQZ_BUILD_BENCHMARKS=OFF "$@"
cmake --build "$build"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=QZNameCompatibility-$version-win64
stage=$build/$name
rm -rf "$stage" "$build/$name.zip" "$build/$name-setup.exe"
mkdir -p "$stage/platforms" "$stage/styles"
cp "$build/QZFreeNameCompatibility.exe" "$build/qzcompat.exe" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# The notices and licences of Qt, the code inside it and the MinGW runtime travel with the DLLs.
cp -r packaging/windows/licenses "$stage/"

# Every DLL that the programs and plugins import, and that Windows does not ship itself, goes beside
# the programs: Qt's, then the MinGW runtime's. A DLL found in none of these folders is the system's.
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
search=("$qt/bin" "$gcc_dir" /usr/x86_64-w64-mingw32/lib)
queue=("$stage"/*.exe "$stage"/*/*.dll)
while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        [ -e "$stage/$dll" ] && continue
        for dir in "${search[@]}"; do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$stage/"
                queue+=("$stage/$dll")
                break
            fi
        done
    done
done

x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll

(cd "$build" && zip -q -r -9 "$name.zip" "$name")

# The uninstaller removes exactly the files installed, deepest first.
files=$build/installed-files.nsh
(
    cd "$stage"
    find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|Delete "$INSTDIR\\&"|'
    find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|RMDir "$INSTDIR\\&"|'
) >"$files"
makensis -V2 -NOCD -DVERSION="$version" -DSTAGE="$stage" -DFILES="$files" -DICON="$build/src/app.ico" \
    -DOUTFILE="$build/$name-setup.exe" "$root/packaging/windows/installer.nsi"
ls -l "$build/$name.zip" "$build/$name-setup.exe"

#!/usr/bin/env bash
# Builds the Windows programs from this source with MinGW-w64 and packages them, all into
# build-windows/: QZFreeNameCompatibility.exe, qzcompat.exe, a zip that runs wherever it is unpacked,
# and an NSIS installer. Installs the Debian packages it needs when they are missing.
# The same commit gives the same zip and installer, byte for byte, wherever and whenever it is built
# (tools/check-reproducible.sh checks it): every time stamp in them is the time of the last commit.
# Usage: bash tools/build-windows.sh [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# Outside a git clone, and unless the caller sets it, the time stamps are the time of the build.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH
umask 022

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
# The notices and licences of Qt, the code inside it and the MinGW runtime travel with the DLLs, with
# Windows line ends for the editors a Windows user opens them in.
cp -r packaging/windows/licenses "$stage/"
sed -i 's/\r*$/\r/' "$stage"/licenses/*

# Every DLL that the programs and plugins import, and that Windows does not ship itself, goes beside
# the programs: Qt's, then the MinGW runtime's. A DLL found in none of these folders is the system's.
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
search=("$qt/bin" "$gcc_dir" /usr/x86_64-w64-mingw32/lib)
queue=("$stage"/*.exe "$stage"/*/*.dll)
# Qt's DLLs come stripped already: stripping them again would only stamp them with a new time.
strip=("$stage"/*.exe)
while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    # Read first, so that a failing objdump stops the build rather than leaving a DLL out.
    dlls=$(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
    for dll in $dlls; do
        [ -e "$stage/$dll" ] && continue
        for dir in "${search[@]}"; do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$stage/"
                [ "$dir" = "$qt/bin" ] || strip+=("$stage/$dll")
                queue+=("$stage/$dll")
                break
            fi
        done
    done
done

# strip stamps the PE header with $SOURCE_DATE_EPOCH. Every file gets that time too, and the zip lists
# the files in a fixed order with their times in UTC and no owner.
x86_64-w64-mingw32-strip --strip-unneeded "${strip[@]}"
find "$stage" -exec touch -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$build" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -9 "$name.zip" -@)

# The uninstaller removes exactly the files installed, deepest first.
files=$build/installed-files.nsh
(
    cd "$stage"
    find . -type f | LC_ALL=C sort | sed 's|^\./||; s|/|\\|g; s|.*|Delete "$INSTDIR\\&"|'
    find . -mindepth 1 -type d | LC_ALL=C sort -r | sed 's|^\./||; s|/|\\|g; s|.*|RMDir "$INSTDIR\\&"|'
) >"$files"
makensis -V2 -NOCD -DVERSION="$version" -DSTAGE="$stage" -DFILES="$files" -DICON="$build/src/app.ico" \
    -DOUTFILE="$build/$name-setup.exe" "$root/packaging/windows/installer.nsi"
sha256sum "$build/$name.zip" "$build/$name-setup.exe"

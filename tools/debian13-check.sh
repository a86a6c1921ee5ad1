#!/usr/bin/env bash
# The commit on a fresh Debian 13 (trixie), as a new user meets it: a minimal root made with debootstrap
# from the Debian mirror this machine's apt sources name, the README's set-up and test commands run in it,
# then PACKAGE (the .deb built on Debian 12) installed there and both programs started. The root and its
# mounts go afterwards, also after a failure. Run as root (debootstrap, mount, chroot).
# Usage: bash tools/debian13-check.sh PACKAGE.deb [extra tools/setup.sh options...]
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(realpath "$1")
shift
setup_options=$*

# The archive of this machine's own release in its apt sources, in either format: one-line
# ("deb [options] URI SUITE ...") or deb822 stanzas ("URIs:", "Suites:").
debian_mirror()
{
    local codename
    # shellcheck disable=SC1091 # the machine's own
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    shopt -s nullglob
    {
        cat /dev/null /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
            sed -E 's/\[[^]]*\]//' | awk -v s="$codename" '$1 == "deb" && $3 == s { print $2 }'
        cat /dev/null /etc/apt/sources.list.d/*.sources |
            awk -v s="$codename" 'BEGIN { RS = "" } {
                uri = ""; found = 0; enabled = 1
                n = split($0, lines, "\n")
                for (i = 1; i <= n; i++) {
                    m = split(lines[i], f, /[ \t]+/)
                    if (f[1] == "URIs:") uri = f[2]
                    if (f[1] == "Suites:") for (j = 2; j <= m; j++) if (f[j] == s) found = 1
                    if (f[1] == "Enabled:" && f[2] == "no") enabled = 0
                }
                if (uri != "" && found && enabled) print uri
            }'
    } | head -n 1
}

mirror=$(debian_mirror)
[ -n "$mirror" ] || { echo "no Debian mirror for this release in the apt sources" >&2; exit 1; }
bash tools/install-missing.sh debootstrap

base=$(mktemp -d /var/tmp/qz-debian13.XXXXXX)
root=$base/root

mounts_under_root() { findmnt -rn -o TARGET | awk -v r="$root" '$0 == r || index($0, r "/") == 1'; }

cleanup()
{
    # What the tests left running in the root would keep its mounts busy.
    local p
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/root" 2>/dev/null)" != "$root" ] || kill -KILL "${p#/proc/}" 2>/dev/null || true
    done
    mounts_under_root | sort -r | while read -r m; do umount "$m" || umount -l "$m"; done
    if [ -n "$(mounts_under_root)" ]; then
        echo "still mounted under $root, left in place:" >&2
        mounts_under_root >&2
        exit 1
    fi
    # Never beyond the root's own file system, whatever happened to the mounts.
    rm -rf --one-file-system "$base"
}
trap cleanup EXIT

echo "Debian 13 root from $mirror"
debootstrap --variant=minbase --include=ca-certificates,git,sudo trixie "$root" "$mirror" >"$base/debootstrap.log" ||
    { tail -n 30 "$base/debootstrap.log"; exit 1; }
mount --bind "$root" "$root"
for d in proc sys dev dev/pts dev/shm; do
    mount --bind "/$d" "$root/$d"
done

# A clean environment, as a fresh login has.
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 bash -euo pipefail -c "$1"; }

git clone --quiet --no-hardlinks . "$root/root/qz"
git -C "$root/root/qz" checkout --quiet --detach "$(git rev-parse HEAD)"
in_root "cd /root/qz && bash tools/setup.sh $setup_options"
in_root "cd /root/qz && ctest --test-dir build --output-on-failure --no-tests=error -j $(nproc)"

cp "$deb" "$root/tmp/"
in_root "DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends /tmp/$(basename "$deb")"
# shellcheck disable=SC2016 # expanded in the root
in_root 'level=$(qzcompat JOHN MARY); echo "qzcompat JOHN MARY: $level"; [ "$level" = 8 ]'
# The window program on a virtual display: one of its windows is mapped within 30 s.
# shellcheck disable=SC2016 # expanded in the root
in_root 'xvfb-run -a sh -c "QZFreeNameCompatibility & pid=\$!
    timeout 30 xdotool search --sync --onlyvisible --pid \$pid --name . >/dev/null; status=\$?
    kill \$pid; exit \$status"'
echo "Debian 13: the README's commands pass, and the Debian 12 package installs and starts"

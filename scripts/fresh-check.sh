#!/usr/bin/env bash
# Tries the README's two commands the way a newcomer would, on a clean
# Debian 12 machine made for the purpose:
#
#   fresh-check.sh [--keep] [FOLDER]
#
#  1. debootstrap --variant=minbase bookworm into FOLDER (by default a new
#     folder under /var/tmp), from this machine's own Debian mirror;
#  2. clones this repository into it and checks out the commit the work tree
#     it is run from has checked out (what is committed, not what is edited);
#  3. in a chroot with /proc, /dev and /sys bound and a tmpfs /tmp, and with
#     no display, runs `bash scripts/start.sh` and `bash scripts/test.sh`
#     from the top folder of the clone, as the README writes them;
#  4. prints a report: each command's exit status and time, the end of its
#     output when it failed, and whether start.sh saved its screenshot.
#
# It needs root and takes about ten minutes; it is not part of CI. The
# chroot's mounts are undone whatever happens, and the folder is deleted
# afterwards unless --keep is given. Logs and the screenshot are kept beside
# it in FOLDER.logs. Exits 0 only when both commands succeeded.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

keep=0
target=""
while [ $# -gt 0 ]; do
    case "$1" in
        --keep) keep=1; shift ;;
        -*) echo "usage: fresh-check.sh [--keep] [FOLDER]" >&2; exit 2 ;;
        *) target=$1; shift ;;
    esac
done

say() { printf 'fresh-check: %s\n' "$*" >&2; }

if [ "$(id -u)" != 0 ]; then
    say "must run as root (debootstrap, mount and chroot need it)"
    exit 1
fi

commit=$(git -C "$qv_root" rev-parse HEAD)
repository=$(git -C "$qv_root" rev-parse --path-format=absolute --git-common-dir)
if ! git -C "$qv_root" diff --quiet HEAD; then
    say "note: the work tree has changes that are not committed; checking $commit without them"
fi

if ! command -v debootstrap >/dev/null 2>&1; then
    say "installing debootstrap"
    apt-get update -qq >/dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q debootstrap >/dev/null
fi
if ! mirror=$(qv_debian_mirror); then
    say "no Debian archive entry in /etc/apt to take the mirror from"
    exit 1
fi

if [ -z "$target" ]; then
    target=$(mktemp -d /var/tmp/qv-fresh.XXXXXX)
elif [ -e "$target" ] && [ -n "$(ls -A "$target")" ]; then
    say "$target is not empty; give a new or empty folder"
    exit 1
fi
mkdir -p "$target"
target=$(cd "$target" && pwd)
logs="$target.logs"
mkdir -p "$logs"

mounted=()
# Ends whatever still runs inside the chroot (a Wine server or an Xvfb a
# failed run left), by process id, so that its mounts can be undone.
end_chroot_processes() {
    local link pid
    for link in /proc/[0-9]*/root; do
        pid=${link#/proc/}
        pid=${pid%/root}
        if [ "$(readlink "$link" 2>/dev/null || true)" = "$target" ]; then
            kill -9 "$pid" 2>/dev/null || true
        fi
    done
}

cleanup() {
    local status=$? i still=""
    trap - ERR
    end_chroot_processes
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null ||
            say "could not unmount ${mounted[i]}"
    done
    # Never delete through a mount that is still there: /dev is the host's.
    still=$(awk -v root="$target/" 'index($2, root) == 1 { print $2 }' /proc/mounts)
    if [ -n "$still" ]; then
        say "still mounted, so $target is left as it is: $still"
    elif [ "$keep" = 0 ]; then
        rm -rf "$target"
    fi
    exit "$status"
}
trap cleanup EXIT

say "making a minimal Debian 12 root in $target from $mirror (a few minutes)"
if ! debootstrap --variant=minbase bookworm "$target" "$mirror" >"$logs/debootstrap.log" 2>&1; then
    say "debootstrap failed; the end of its output:"
    tail -n 20 "$logs/debootstrap.log" >&2
    exit 1
fi
cp /etc/resolv.conf "$target/etc/resolv.conf"
# As in any chroot: packages must not start their services.
printf '#!/bin/sh\nexit 101\n' >"$target/usr/sbin/policy-rc.d"
chmod +x "$target/usr/sbin/policy-rc.d"

# mount_in FOLDER MOUNT-ARGUMENTS...: mounts and remembers it for cleanup.
mount_in() {
    local where="$target/$1"
    shift
    mount "$@" "$where"
    mounted+=("$where")
}
mount_in proc -t proc proc
mount_in dev --bind /dev
mount_in sys --bind /sys
mount_in tmp -t tmpfs tmpfs

clone="$target/root/quiverleaf"
git clone -q --no-checkout "$repository" "$clone"
git -C "$clone" -c advice.detachedHead=false checkout -q --detach "$commit"

# Runs one command of the README in the clone, as root in the chroot with a
# plain environment and no display; records its status and time.
declare -A result elapsed
run_readme_command() {
    local name=$1 started status=0
    started=$(date +%s)
    say "running: bash scripts/$name"
    chroot "$target" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        /bin/bash -c "cd /root/quiverleaf && bash scripts/$name" >"$logs/$name.log" 2>&1 </dev/null || status=$?
    result[$name]=$status
    elapsed[$name]=$(($(date +%s) - started))
}
run_readme_command start.sh
run_readme_command test.sh

screenshot="$clone/quiverleaf-screenshot.png"
shot="no"
if [ -s "$screenshot" ]; then
    cp "$screenshot" "$logs/"
    shot="yes ($logs/quiverleaf-screenshot.png)"
fi

echo
echo "Fresh Debian 12 check of $commit"
echo "  root: $target (minbase bookworm from $mirror); logs: $logs"
failed=0
for name in start.sh test.sh; do
    printf '  bash scripts/%-9s exit status %s after %s s\n' "$name" "${result[$name]}" "${elapsed[$name]}"
    if [ "${result[$name]}" != 0 ]; then
        failed=1
        echo "    the end of its output:"
        tail -n 25 "$logs/$name.log" | sed 's/^/      /'
    fi
done
echo "  screenshot saved by start.sh: $shot"
grep -E '^[0-9]+% tests passed|tests failed out of' "$logs/test.sh.log" | sed 's/^/  ctest: /' || true
[ -s "$screenshot" ] || failed=1
if [ "$failed" = 0 ]; then
    echo "Result: both commands work on a fresh machine."
else
    echo "Result: FAILED"
fi
exit "$failed"

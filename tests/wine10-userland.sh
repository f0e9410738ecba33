#!/usr/bin/env bash
# A second Win32 for the tests: Debian 13's Wine 10 in a userland of its own, beside the host's
# Wine 8. The userland is made once with mmdebstrap from the Debian registry apt uses here, and
# made again when its package list below changes; commands enter it with bwrap, which changes no
# mount of the host. The project folder (and ROOT's folder) appear inside at their own paths.
#   wine10-userland.sh ROOT COMMAND...   make or reuse the userland in ROOT, run COMMAND in it
# Inside, /tmp is the host's: the Xvfb and wineserver one command starts are found by the next
# through their sockets there, and Xvfb's lock files keep displays apart from the host's.
# Runs as an ordinary user or as root. mmdebstrap --mode=unshare makes the userland in namespaces
# of its own: as an ordinary user in a user namespace with the user's subordinate ids (see
# scripts/install-deps.sh), as root in a mount namespace. What it mounts (proc, sys, dev) lives
# only in that namespace, which ends with its last process: killed at any moment, it leaves
# nothing mounted on the host. Its result comes out as a tar stream unpacked by whoever runs
# this script, so every file of the userland is theirs: an ordinary user can enter it with bwrap
# and remove it with rm.
set -eu
root="$(realpath -m "$1")"
shift
here="$(cd "$(dirname "$0")" && pwd)"
project="$(cd "$here/.." && pwd)"
# The userland is removed and made again: never in a folder that holds the project (or is /).
outermost="${root%/}"
case "$project/" in
  "$outermost"/*)
    echo "$root holds the project: the userland needs a folder of its own" >&2
    exit 2
    ;;
esac

suite=trixie
# What the tests use besides Wine, as on the host; e2fsprogs for chattr, with which the tests make
# files that stay read-only even for root (where they run as root).
packages=(wine64 wine xvfb xauth xdotool imagemagick python3 fonts-ipafont-gothic locales e2fsprogs)

# The Debian mirror of the host's apt sources (one-line or deb822 style).
debian_mirror() {
  local uri
  uri="$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    sed -n 's/^deb[ \t]\+\(\[[^]]*\][ \t]\+\)\?\([^ \t]*\/debian\/\?\)[ \t].*/\2/p' | head -n 1)"
  [ -n "$uri" ] || uri="$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
    sed -n 's/^URIs:[ \t]*\([^ \t]*\/debian\/\?\)\([ \t].*\)\?$/\1/p' | head -n 1)"
  echo "${uri:-http://deb.debian.org/debian}"
}

# Removes a folder this script made; an ordinary user first gives itself write permission on the
# folders unpacked without it.
remove_tree() {
  [ -e "$1" ] || return 0
  rm -rf "$1" 2>/dev/null || { chmod -R u+rwX "$1" && rm -rf "$1"; }
}

# Makes the userland's files in $1. The locale the Wine tests need (ja_JP.UTF-8) is generated
# before the tar stream is written; the device nodes are left out (bwrap gives the userland a /dev
# of its own).
unpack_userland() {
  mmdebstrap --mode=unshare --variant=minbase --format=tar --include="${packages[*]}" \
    --customize-hook='echo "ja_JP.UTF-8 UTF-8" >"$1/etc/locale.gen"' \
    --customize-hook='chroot "$1" locale-gen' \
    "$suite" - "$(debian_mirror)" | tar -x -C "$1" --exclude='./dev/*'
  local statuses=("${PIPESTATUS[@]}")
  [ "${statuses[0]}" = 0 ] && [ "${statuses[1]}" = 0 ]
}

# Makes the userland in $root.new and moves it into place; the stamp is written last, so a
# userland cut short is made again by the next run.
make_userland() {
  local new="$root.new"
  if [ -n "$(ls -A "$root" 2>/dev/null)" ] && [ ! -e "$root/.perchling-userland" ]; then
    echo "$root is not a userland this script made: it is left alone" >&2
    return 1
  fi
  remove_tree "$new"
  remove_tree "$root"
  mkdir -p "$new"
  echo "Making the Debian 13 userland in $root (from $(debian_mirror))"
  if ! unpack_userland "$new" 2>"$root.log" || [ ! -x "$new/usr/bin/wine" ]; then
    tail -n 20 "$root.log" >&2
    echo "making the userland failed (whole log: $root.log)" >&2
    return 1
  fi
  touch "$new/.perchling-userland"
  mv "$new" "$root"
  echo "$stamp" >"$root.stamp"
}

# What the userland is made from; a change to any of it makes it again.
stamp="$(printf '%s\n' mmdebstrap "$suite" "$(debian_mirror)" "${packages[@]}" | sha256sum |
  cut -d' ' -f1)"
mkdir -p "$(dirname "$root")"
# Two commands starting at once make it once: the second waits for the first.
exec 9>"$root.lock"
flock 9
if [ "$(cat "$root.stamp" 2>/dev/null)" != "$stamp" ] || [ ! -x "$root/usr/bin/wine" ]; then
  make_userland
fi
flock -u 9
exec 9>&-

binds=(--bind "$project" "$project")
case "$root/" in
  "$project"/*) ;;
  *) binds+=(--bind "$(dirname "$root")" "$(dirname "$root")") ;;
esac
where="/"
case "$PWD/" in
  "$project"/*) where="$PWD" ;;
esac
# Root keeps the one capability the tests use beyond an ordinary user's: chattr +i.
capabilities=()
[ "$(id -u)" = 0 ] && capabilities=(--cap-add CAP_LINUX_IMMUTABLE)
exec bwrap --bind "$root" / --dev /dev --proc /proc --bind /tmp /tmp "${binds[@]}" \
  --chdir "$where" "${capabilities[@]}" --setenv PERCHLING_INSIDE_USERLAND "$root" \
  --setenv PATH /usr/local/bin:/usr/bin:/bin "$@"

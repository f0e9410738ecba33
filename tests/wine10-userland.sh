#!/usr/bin/env bash
# A second Win32 for the tests: Debian 13's Wine 10 in a userland of its own, beside the host's
# Wine 8. The userland is made once with debootstrap from the Debian registry apt uses here, and
# made again when its package list below changes; commands enter it with bwrap, which changes no
# mount of the host. The project folder (and ROOT's folder) appear inside at their own paths.
#   wine10-userland.sh ROOT COMMAND...   make or reuse the userland in ROOT, run COMMAND in it
# Inside, /tmp is the host's: the Xvfb and wineserver one command starts are found by the next
# through their sockets there, and Xvfb's lock files keep displays apart from the host's.
# Runs as root, as the test command does: debootstrap and the userland's dpkg need it.
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
# files that stay read-only even for root.
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

# Runs a command as root in the userland at $1, with all the capabilities root has (dpkg sets
# file owners, apt drops to its own user); only while the userland is made.
as_root_inside() {
  local dir="$1"
  shift
  bwrap --bind "$dir" / --dev /dev --proc /proc --tmpfs /tmp --ro-bind /etc/resolv.conf \
    /etc/resolv.conf --cap-add ALL --setenv PATH /usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# Makes the userland in $root.new and moves it into place; the stamp is written last, so a
# userland cut short is made again by the next run.
make_userland() {
  local new="$root.new"
  if [ -n "$(ls -A "$root" 2>/dev/null)" ] && [ ! -e "$root/.perchling-userland" ]; then
    echo "$root is not a userland this script made: it is left alone" >&2
    return 1
  fi
  rm -rf "$new" "$root"
  mkdir -p "$new"
  echo "Making the Debian 13 userland in $root (from $(debian_mirror))"
  if ! debootstrap --variant=minbase "$suite" "$new" "$(debian_mirror)" >"$root.log" 2>&1; then
    tail -n 20 "$root.log" >&2
    echo "debootstrap failed (whole log: $root.log)" >&2
    return 1
  fi
  touch "$new/.perchling-userland"
  echo "ja_JP.UTF-8 UTF-8" >"$new/etc/locale.gen"
  if ! as_root_inside "$new" sh -c "apt-get update -q &&
      DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends ${packages[*]} &&
      locale-gen && apt-get clean" >>"$root.log" 2>&1; then
    tail -n 20 "$root.log" >&2
    echo "installing Wine 10 in the userland failed (whole log: $root.log)" >&2
    return 1
  fi
  mv "$new" "$root"
  echo "$stamp" >"$root.stamp"
}

# What the userland is made from; a change to any of it makes it again.
stamp="$(printf '%s\n' "$suite" "$(debian_mirror)" "${packages[@]}" | sha256sum | cut -d' ' -f1)"
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
exec bwrap --bind "$root" / --dev /dev --proc /proc --bind /tmp /tmp "${binds[@]}" \
  --chdir "$where" --cap-add CAP_LINUX_IMMUTABLE --setenv PERCHLING_INSIDE_USERLAND "$root" \
  --setenv PATH /usr/local/bin:/usr/bin:/bin "$@"

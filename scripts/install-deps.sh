#!/usr/bin/env bash
# Installs what Perchling needs on Debian, if it is missing. Needs root (or sudo) only for what is
# missing.
#   scripts/install-deps.sh           building, running and testing (scripts/test.sh, run.sh)
#   scripts/install-deps.sh package   building the release zip only (scripts/package.sh)
# Packaging needs the MinGW-w64 cross compiler, CMake and Python (scripts/make_zip.py), and
# GoogleTest's sources: configuring the Windows build stops without them rather than drop the
# Win32 tests unseen. Testing adds the host g++, Wine, Xvfb, a Japanese font and the ja_JP.UTF-8
# locale, xdotool and ImageMagick (the end-to-end tests), e2fsprogs for chattr (the read-only
# cases, run as root), clang with libFuzzer and cppcheck for the fuzz and analysis tests, and
# mmdebstrap, uidmap and bubblewrap, with which tests/wine10-userland.sh makes and enters the
# Debian 13 userland of the Wine 10 tests, with the subordinate ids of the user who runs them.
set -eu
case "${1:-}" in
  "") purpose=test ;;
  package) purpose=package ;;
  *) echo "usage: $0 [package]" >&2; exit 2 ;;
esac
packages=(cmake make g++-mingw-w64-x86-64-posix googletest python3)
if [ "$purpose" = test ]; then
  packages+=(g++ wine wine64 xvfb xauth locales fonts-ipafont-gothic imagemagick xdotool cppcheck
             clang libclang-rt-dev mmdebstrap uidmap bubblewrap e2fsprogs)
fi
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
sudo=""
[ "$(id -u)" = 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
[ "$purpose" = test ] || exit 0
# Wine shows the Japanese (932) code page only when the Unix locale ja_JP.UTF-8 exists.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $sudo sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen
  $sudo locale-gen
fi

# An ordinary user makes the Wine 10 userland in a user namespace, where the packages' own users
# and groups are the user's subordinate ids (its first line in /etc/subuid and /etc/subgid, as
# mmdebstrap reads them; 65536 of each). Run through sudo, this gives them to the user who called
# sudo; run by that user, through sudo. Root needs none.
user="${SUDO_USER:-$(id -un)}"
has_ids() {
  [ -n "$(awk -F: -v user="$user" '$1 == user { print; exit }' "$1" 2>/dev/null)" ]
}
if [ "$user" != root ] && { ! has_ids /etc/subuid || ! has_ids /etc/subgid; }; then
  # The first 65536 ids above every range given so far (and above 100000, where Debian starts).
  first="$(cat /etc/subuid /etc/subgid 2>/dev/null |
    awk -F: 'BEGIN { next_free = 100000 } $2 + $3 > next_free { next_free = $2 + $3 }
             END { print next_free }')"
  range="$first-$((first + 65535))"
  echo "Giving $user the subordinate ids $range"
  $sudo usermod --add-subuids "$range" --add-subgids "$range" "$user"
fi

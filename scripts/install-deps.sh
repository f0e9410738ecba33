#!/usr/bin/env bash
# Installs what building, running and testing Perchling needs on Debian, if it is missing:
# the MinGW-w64 cross compiler, Wine, Xvfb, GoogleTest, a Japanese font and the ja_JP.UTF-8 locale,
# e2fsprogs for chattr (the read-only cases, run as root),
# clang with libFuzzer and cppcheck for the fuzz and analysis tests, and mmdebstrap, uidmap and
# bubblewrap, with which tests/wine10-userland.sh makes and enters the Debian 13 userland of the
# Wine 10 tests. Needs root (or sudo) only for what is missing: the packages, the locale, and the
# subordinate ids of the user who runs the tests.
set -eu
packages=(cmake make g++ googletest g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth locales
          fonts-ipafont-gothic imagemagick xdotool python3 cppcheck
          clang libclang-rt-dev mmdebstrap uidmap bubblewrap e2fsprogs)
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

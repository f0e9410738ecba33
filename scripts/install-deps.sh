#!/usr/bin/env bash
# Installs what building, running and testing Perchling needs on Debian, if it is missing:
# the MinGW-w64 cross compiler, Wine, Xvfb, GoogleTest, a Japanese font and the ja_JP.UTF-8 locale,
# clang with libFuzzer and cppcheck for the fuzz and analysis tests, and debootstrap and bubblewrap,
# with which tests/wine10-userland.sh makes and enters the Debian 13 userland of the Wine 10 tests.
set -eu
packages=(cmake make g++ googletest g++-mingw-w64-x86-64-posix wine64 xvfb xauth locales
          fonts-ipafont-gothic imagemagick xdotool python3 cppcheck
          clang libclang-rt-dev debootstrap bubblewrap)
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

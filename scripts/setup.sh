#!/usr/bin/env bash
# Installs what building and testing need on Debian 12: the MinGW-w64 cross
# compilers, clang, lld and clang-tidy, Wine (with its 32-bit part where the
# kernel runs 32-bit programs), a virtual X server, Korean fonts, GoogleTest
# sources and ImageMagick. Does nothing but check when everything is already there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/wine.sh"

# Installs the packages named that are not installed yet, in one go.
install_missing() {
  # One dpkg query for all: it lists the installed ones, the rest are missing.
  # dpkg-query fails when a package is unknown to it, as on a fresh machine.
  local native installed package missing=()
  native="$(dpkg --print-architecture)"
  installed=" $({ dpkg-query -W -f='${db:Status-Status} ${Package}:${Architecture}\n' "$@" 2>/dev/null || true; } |
    awk '$1 == "installed" { print $2 }' | sed "s/:\($native\|all\)\$//" | tr '\n' ' ') "
  for package in "$@"; do
    [[ "$installed" == *" $package "* ]] || missing+=("$package")
  done
  if ((${#missing[@]} == 0)); then
    echo "setup: all packages present: $*"
    return
  fi
  if ((EUID != 0)); then
    echo "setup: missing packages: ${missing[*]}" >&2
    echo "setup: run this script as root (or: sudo apt-get install ${missing[*]})" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -q </dev/null
  apt-get install -y -q "${missing[@]}" </dev/null
}

install_missing cmake make binutils \
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools clang lld clang-tidy \
  wine wine64 xvfb x11-utils fonts-nanum googletest imagemagick locales python3

# The shipped program is 32-bit: its tests need the 32-bit Wine, which is
# pointless where the kernel cannot run 32-bit code at all. The probe needs
# binutils, installed above.
refusal="$(kernel_32bit_refusal)"
if [[ -z "$refusal" ]]; then
  install_missing wine32:i386
else
  echo "setup: not installing the 32-bit Wine: $refusal"
fi

# Wine takes a program's code page from LC_ALL: the programs run with
# ko_KR.UTF-8 (code page 949), and the text tests again with en_US.UTF-8
# (1252) and hi_IN.UTF-8 (65001, as Windows' UTF-8 option gives). Without
# the locale generated, Wine cannot even open a program with a Korean name.
missing_locales=()
for wanted in ko_KR en_US hi_IN; do
  locale -a 2>/dev/null | grep -qix "$wanted\.utf8" || missing_locales+=("$wanted.UTF-8")
done
if ((${#missing_locales[@]} > 0)); then
  if ((EUID == 0)); then
    echo "setup: generating locales ${missing_locales[*]}"
    for wanted in "${missing_locales[@]}"; do
      if grep -q "^# *$wanted UTF-8" /etc/locale.gen 2>/dev/null; then
        sed -i "s/^# *\($wanted UTF-8\)/\1/" /etc/locale.gen
      elif ! grep -q "^$wanted UTF-8" /etc/locale.gen 2>/dev/null; then
        echo "$wanted UTF-8" >>/etc/locale.gen
      fi
    done
    locale-gen >/dev/null
  else
    echo "setup: note: locales ${missing_locales[*]} are not generated (needs root); the tests under those code pages will fail" >&2
  fi
fi

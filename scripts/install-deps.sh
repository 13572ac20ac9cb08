#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian 12 machine, only when something is missing.
# xorriso writes the CD images of make-cd.sh --iso (and reads them back in the tests); zip packs
# the release of make dist.
set -euo pipefail

packages=(cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 fonts-wine fonts-ipafont-gothic locales xvfb imagemagick clang-format python3
  xorriso zip)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page from LC_CTYPE: a locale that is not generated silently falls back
# to 1252. ja_JP gives code page 932; en_US is the 1252 run of the end-to-end tests.
missing_locales=()
for loc in ja_JP en_US; do
  locale -a 2>/dev/null | grep -qi "^${loc}.utf8$" || missing_locales+=("$loc")
done
if [ ${#missing_locales[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    for loc in "${missing_locales[@]}"; do
      sed -i "s/^# *${loc}.UTF-8 UTF-8/${loc}.UTF-8 UTF-8/" /etc/locale.gen
      grep -q "^${loc}.UTF-8 UTF-8" /etc/locale.gen || echo "${loc}.UTF-8 UTF-8" >>/etc/locale.gen
    done
    locale-gen >/dev/null
  else
    echo "locales missing: ${missing_locales[*]} (run as root to generate them)" >&2
    exit 1
  fi
fi

# The i686 build runs under Wine only through an emulated 32-bit Wine of its own (this kernel
# cannot execute i386 programs); that script keeps it out of the system's packages.
bash "$(dirname "$0")/install-wine32.sh"

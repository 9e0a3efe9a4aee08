#!/usr/bin/env bash
# Installs the Debian packages needed to build, test, package and screenshot the program.
# Idempotent: asks apt only for what is missing.
set -euo pipefail

packages=(
  build-essential
  cmake
  clang-tidy
  qt6-base-dev
  pkg-config
  libcairo2-dev
  libfreetype-dev
  zlib1g-dev
  # The archives the command line carries cairo from, beside those above.
  libpixman-1-dev
  libfontconfig-dev
  libexpat1-dev
  libpng-dev
  libbrotli-dev
  libx11-dev
  libxext-dev
  libxrender-dev
  libxcb1-dev
  libxcb-render0-dev
  libxcb-shm0-dev
  libxau-dev
  libxdmcp-dev
  libeigen3-dev
  libgsl-dev
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  xvfb
  xdotool
  imagemagick
  fonts-liberation2
  locales
  qt6-translations-l10n
  librsvg2-bin
  help2man
  dpkg-dev
  desktop-file-utils
  appstream
  nec2c
  libgif-dev
  libjs-three
  chromium
  gettext
  poppler-utils
  # The feed network's circuits are checked against an independent SPICE engine.
  ngspice
  # The Python module and its tests, against Debian's own interpreter.
  python3-dev
  pybind11-dev
  python3-numpy
  python3-pytest
  python3-jsonschema
  mypy
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The number-text tests run under a Russian locale as well as C.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf8$'; then
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  if [[ -f /etc/locale.gen ]] && ! grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'ru_RU.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${sudo_cmd[@]}" locale-gen >/dev/null 2>&1 || "${sudo_cmd[@]}" localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 || true
fi

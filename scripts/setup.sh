#!/usr/bin/env bash
# Installs the Debian packages the program needs (only the missing ones) and builds it.
# Usage: scripts/setup.sh [--tests] [build-dir]
#   --tests  also installs what only the test suite uses
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
tests=0
if [ "${1:-}" = --tests ]; then
  tests=1
  shift
fi
build=${1:-$here/build}

packages=(
  # building: compiler, CMake with Ninja, and pkg-config to find FreeXL
  build-essential cmake ninja-build pkg-config
  # Qt 6: widgets, SQL, printing, network and Qt Test (headers and libraries)
  qt6-base-dev
  # the SQLite driver through which Qt reads and writes the data files
  libqt6sql6-sqlite
  # Qt's own Persian texts for standard buttons and dialogs
  qt6-translations-l10n
  # zip containers for .xlsx and .docx (QuaZip), and the older .xls workbooks (FreeXL)
  libquazip1-qt6-dev libfreexl-dev
  # libsodium: encrypted backups and the signature check of downloaded updates
  libsodium-dev
  # the Persian faces the screens and the report use (Noto Naskh/Sans Arabic; Nazli, Titr)
  fonts-noto-core fonts-farsiweb fontconfig
)
if [ "$tests" -eq 1 ]; then
  packages+=(
    # reading the report's PDF back (pdftotext, pdftoppm)
    poppler-utils
    # opening the .docx and .xlsx the program writes with a real office suite, headless
    libreoffice-writer-nogui libreoffice-calc-nogui
  )
fi
"$here/scripts/install-missing.sh" "${packages[@]}"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"
